#include "TestSupport.h"

#include "app/start/DecimalText.h"
#include "app/start/UserKey.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <climits>
#include <gtest/gtest.h>
#include <thread>

using namespace corvane::app;
using corvane::app::test::entriesOf;
using corvane::app::test::readFile;
using corvane::app::test::ScopedEnv;
using corvane::app::test::writeFile;

namespace {

class UserKeyTest : public ::testing::Test {
protected:
    QString keyFolder() const { return dir.path() + QStringLiteral("/Mouse"); }
    QString keyFile() const { return keyFolder() + QStringLiteral("/user.ini"); }
    void store(const QByteArray& content) {
        QDir().mkpath(keyFolder());
        writeFile(keyFile(), content);
    }

    QTemporaryDir dir;
    UserKey key{UserKey::filePathFor(dir.path(), QStringLiteral("Mouse"))};
};

TEST(LeadingInt, ReadsDigitsUpToTheFirstNonDigit) {
    const struct {
        const char16_t* text;
        int value;
    } cases[] = {
        {u"1049", 1049},
        {u"12abc", 12},
        {u"abc", 0},
        {u"", 0},
        {u"  7", 7},
        {u"-3", -3},
        {u"+5x", 5},
        {u"99999999999", INT_MAX},
        {u"-99999999999", INT_MIN},
        {u"1 2", 1},
        {u"0x10", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(leadingInt(QStringView(c.text)), c.value)
            << QString::fromUtf16(c.text).toStdString();
}

TEST_F(UserKeyTest, FirstReadCreatesTheKeyAndGivesZero) {
    EXPECT_EQ(key.readUserValue(QStringLiteral("exit_mode")), 0);
    EXPECT_TRUE(QFileInfo::exists(keyFile()));
    EXPECT_EQ(key.readUserValue(QStringLiteral("LCID")), 0);
}

TEST_F(UserKeyTest, DeviceTypeReadDoesNotCreateTheKey) {
    EXPECT_EQ(key.readUserValue(QStringLiteral("DeviceType")), 0);
    EXPECT_FALSE(QFileInfo::exists(keyFile()));
    EXPECT_FALSE(QFileInfo::exists(keyFolder()));
}

TEST_F(UserKeyTest, ReadsStoredNumbersWithLeadingDigitConversion) {
    store("LCID=1049\nexit_mode=1junk\nDeviceType=abc\nautorun_minimize=\nother line\n");
    EXPECT_EQ(key.readUserValue(QStringLiteral("LCID")), 1049);
    EXPECT_EQ(key.readUserValue(QStringLiteral("exit_mode")), 1);
    EXPECT_EQ(key.readUserValue(QStringLiteral("DeviceType")), 0);
    EXPECT_EQ(key.readUserValue(QStringLiteral("autorun_minimize")), 0);
    EXPECT_EQ(key.readUserValue(QStringLiteral("missing")), 0);
}

TEST_F(UserKeyTest, NamesIgnoreCaseAndBlanksAndCrLfLines) {
    store("lcid = 1041\r\nExit_Mode=1\r\n");
    EXPECT_EQ(key.readUserValue(QStringLiteral("LCID")), 1041);
    EXPECT_EQ(key.readUserValue(QStringLiteral("exit_mode")), 1);
}

TEST_F(UserKeyTest, LcidReadsChineseWhenTheKeyCannotBeCreated) {
    // A file where the configuration folder should be: nothing can be created below it.
    writeFile(dir.path() + QStringLiteral("/blocked"), "x");
    UserKey blocked(
        UserKey::filePathFor(dir.path() + QStringLiteral("/blocked"), QStringLiteral("Mouse")));
    EXPECT_EQ(blocked.readUserValue(QStringLiteral("LCID")), 2052);
    EXPECT_EQ(blocked.readUserValue(QStringLiteral("exit_mode")), 0);
    EXPECT_FALSE(blocked.writeUserValue(QStringLiteral("exit_mode"), QStringLiteral("1")));
}

TEST_F(UserKeyTest, LcidReadsChineseWhenTheKeyCannotBeOpened) {
    QDir().mkpath(keyFile()); // a folder in place of the file cannot be read
    EXPECT_EQ(key.readUserValue(QStringLiteral("LCID")), 2052);
    EXPECT_EQ(key.readUserValue(QStringLiteral("exit_mode")), 0);
    EXPECT_FALSE(key.writeUserValue(QStringLiteral("exit_mode"), QStringLiteral("1")));
    EXPECT_TRUE(QFileInfo(keyFile()).isDir());
}

TEST_F(UserKeyTest, WriteCreatesTheKeyAndReadsBack) {
    EXPECT_TRUE(key.writeUserValue(QStringLiteral("DeviceType"), QStringLiteral("101")));
    EXPECT_EQ(key.readUserValue(QStringLiteral("DeviceType")), 101);
    EXPECT_EQ(readFile(keyFile()), QByteArray("DeviceType=101\n"));
}

TEST_F(UserKeyTest, WriteReplacesOneValueAndKeepsTheOthers) {
    store("# kept\nLCID=1033\nexit_mode=0\nlcid=2052\n");
    EXPECT_TRUE(key.writeUserValue(QStringLiteral("LCID"), QStringLiteral("1049")));
    EXPECT_TRUE(key.writeUserValue(QStringLiteral("autorun_minimize"), QStringLiteral("1")));
    EXPECT_EQ(readFile(keyFile()),
              QByteArray("# kept\nLCID=1049\nexit_mode=0\nautorun_minimize=1\n"));
}

TEST_F(UserKeyTest, WriteRefusesLineBreaksAndBadNames) {
    store("LCID=1033\n");
    EXPECT_FALSE(key.writeUserValue(QStringLiteral("LCID"), QStringLiteral("1\nexit_mode=1")));
    EXPECT_FALSE(key.writeUserValue(QStringLiteral("a=b"), QStringLiteral("1")));
    EXPECT_FALSE(key.writeUserValue(QString(), QStringLiteral("1")));
    EXPECT_EQ(readFile(keyFile()), QByteArray("LCID=1033\n"));
}

TEST_F(UserKeyTest, WritesLeaveNoTemporaryFiles) {
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(key.writeUserValue(QStringLiteral("exit_mode"), QString::number(i)));
    EXPECT_EQ(entriesOf(keyFolder()), QStringList{QStringLiteral("user.ini")});
    EXPECT_EQ(key.readUserValue(QStringLiteral("exit_mode")), 4);
}

TEST_F(UserKeyTest, WritesFromTwoThreadsLoseNothing) {
    // The device worker stores "DeviceType" while the UI thread stores other values.
    constexpr int rounds = 40;
    auto writer = [this](const QString& name) {
        UserKey own(key.filePath());
        for (int i = 1; i <= rounds; ++i)
            own.writeUserValue(name, QString::number(i));
    };
    std::thread worker(writer, QStringLiteral("DeviceType"));
    writer(QStringLiteral("exit_mode"));
    worker.join();
    EXPECT_EQ(key.readUserValue(QStringLiteral("DeviceType")), rounds);
    EXPECT_EQ(key.readUserValue(QStringLiteral("exit_mode")), rounds);
    EXPECT_EQ(entriesOf(keyFolder()), QStringList{QStringLiteral("user.ini")});
}

TEST_F(UserKeyTest, ForDeviceFollowsXdgConfigHome) {
    ScopedEnv env("XDG_CONFIG_HOME", dir.path().toUtf8());
    UserKey real = UserKey::forDevice(QStringLiteral("Mouse X"));
    EXPECT_EQ(real.filePath(), dir.path() + QStringLiteral("/Mouse X/user.ini"));
    EXPECT_TRUE(real.writeUserValue(QStringLiteral("exit_mode"), QStringLiteral("1")));
    EXPECT_EQ(readFile(dir.path() + QStringLiteral("/Mouse X/user.ini")),
              QByteArray("exit_mode=1\n"));
}

} // namespace
