#include "i18n/IniFileCache.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using corvane::i18n::IniFileCache;
using corvane::i18n::testing::writeFile;

namespace {

class IniFileCacheTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    static QString text(IniFileCache& cache, const QString& file, const char* key = "1") {
        return cache.value(file, u"LAN", QString::fromLatin1(key));
    }

    QTemporaryDir dir_;
};

TEST_F(IniFileCacheTest, FollowsTheFileAppearingChangingAndVanishing) {
    IniFileCache cache;
    const QString file = path("1033.lan");
    EXPECT_EQ(text(cache, file), u"");
    ASSERT_TRUE(writeFile(file, "[LAN]\n1=first\n"));
    EXPECT_EQ(text(cache, file), u"first");
    ASSERT_TRUE(QFile::remove(file));
    EXPECT_EQ(text(cache, file), u"");
}

TEST_F(IniFileCacheTest, SeesRewritesOfTheSameSizeAtOnce) {
    // Rewrites in quick succession keep the same size and often the same time stamps.
    IniFileCache cache;
    const QString file = path("1033.lan");
    for (char round = 'a'; round <= 'f'; ++round) {
        ASSERT_TRUE(writeFile(file, QByteArray("[LAN]\n1=value ") + round + '\n'));
        EXPECT_EQ(text(cache, file), QStringLiteral("value ") + QChar(u'a' + (round - 'a')));
    }
}

TEST_F(IniFileCacheTest, ReadsAnOldFileOnceAndAgainOnlyWhenItChanges) {
    // Without the racy window a copy is trusted as soon as it is read.
    IniFileCache cache(std::chrono::nanoseconds(0));
    const QString file = path("1033.lan");
    ASSERT_TRUE(writeFile(file, "[LAN]\n1=one\n2=two\n"));
    EXPECT_EQ(text(cache, file), u"one");
    EXPECT_EQ(text(cache, file, "2"), u"two");
    EXPECT_EQ(cache.fileReads(), 1);

    ASSERT_TRUE(writeFile(file, "[LAN]\n1=longer one\n"));
    EXPECT_EQ(text(cache, file), u"longer one");
    EXPECT_EQ(cache.fileReads(), 2);

    // Replaced by a rename: a new inode, the same size.
    const QString replacement = path("new.lan");
    ASSERT_TRUE(writeFile(replacement, "[LAN]\n1=renamed ok\n"));
    ASSERT_EQ(
        ::rename(QFile::encodeName(replacement).constData(), QFile::encodeName(file).constData()),
        0);
    EXPECT_EQ(text(cache, file), u"renamed ok");

    // Rewritten in place with its old modification time put back (as copying tools do):
    // only the change time tells.
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &before), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // past the clock's tick
    ASSERT_TRUE(writeFile(file, "[LAN]\n1=times kept\n"));
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0);
    EXPECT_EQ(text(cache, file), u"times kept");
}

TEST_F(IniFileCacheTest, ReadsAgainWhileTheFileIsYoungerThanTheRacyWindow) {
    // A file touched within the window could change again without its stamps moving, so the
    // copy held is not trusted and every lookup checks the contents.
    IniFileCache cache(std::chrono::hours(1));
    const QString file = path("1033.lan");
    ASSERT_TRUE(writeFile(file, "[LAN]\n1=young\n"));
    for (int lookup = 1; lookup <= 3; ++lookup) {
        EXPECT_EQ(text(cache, file), u"young");
        EXPECT_EQ(cache.fileReads(), lookup);
    }
}

TEST_F(IniFileCacheTest, SwitchesBetweenFiles) {
    IniFileCache cache;
    const QString english = path("1033.lan");
    const QString chinese = path("2052.lan");
    ASSERT_TRUE(writeFile(english, "[LAN]\n1=Settings\n"));
    ASSERT_TRUE(writeFile(chinese, QStringLiteral("[LAN]\n1=设置\n").toUtf8()));
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(text(cache, english), u"Settings");
        EXPECT_EQ(text(cache, chinese), QStringLiteral("设置"));
        EXPECT_EQ(text(cache, path("1049.lan")), u"");
    }
}

TEST_F(IniFileCacheTest, GivesEmptyTextsForWhatIsNotAReadableFile) {
    IniFileCache cache;
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder.lan")));
    EXPECT_EQ(text(cache, path("folder.lan")), u"");
    // A FIFO must not block the reader.
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo.lan")).constData(), 0600), 0);
    EXPECT_EQ(text(cache, path("fifo.lan")), u"");
    EXPECT_EQ(text(cache, QString()), u"");
}

TEST_F(IniFileCacheTest, GivesEmptyTextsForAFileItMayNotRead) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    IniFileCache cache;
    const QString file = path("1033.lan");
    ASSERT_TRUE(writeFile(file, "[LAN]\n1=secret\n"));
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::Permissions()));
    EXPECT_EQ(text(cache, file), u"");
}

TEST_F(IniFileCacheTest, RefusesFilesAboveTheSizeLimit) {
    IniFileCache cache;
    const QString file = path("1033.lan");
    ASSERT_TRUE(writeFile(file, "[LAN]\n1=big\n"));
    QFile padded(file);
    ASSERT_TRUE(padded.resize(IniFileCache::kMaxFileBytes)); // the rest reads as NULs
    EXPECT_EQ(text(cache, file), u"big");
    ASSERT_TRUE(padded.resize(IniFileCache::kMaxFileBytes + 1));
    EXPECT_EQ(text(cache, file), u"");
}

} // namespace
