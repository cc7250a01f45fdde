#include "TestSupport.h"

#include "app/desktop/Autostart.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace corvane::app;
using corvane::app::test::entriesOf;
using corvane::app::test::MemoryUserValues;
using corvane::app::test::readFile;
using corvane::app::test::writeFile;

namespace {

// Reads an Exec value back the way a session launcher does: string escapes first, then
// the quoting of arguments, then "%%".
QStringList execArguments(const QString& value) {
    QString unescaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            const QChar next = value[++i];
            unescaped += next == u's'   ? QChar(u' ')
                         : next == u'n' ? QChar(u'\n')
                         : next == u't' ? QChar(u'\t')
                         : next == u'r' ? QChar(u'\r')
                                        : next;
            if (next != u's' && next != u'n' && next != u't' && next != u'r' && next != u'\\')
                return {QStringLiteral("<bad string escape>")};
        } else {
            unescaped += value[i];
        }
    }
    QStringList arguments;
    QString current;
    bool inQuotes = false;
    bool started = false;
    for (qsizetype i = 0; i < unescaped.size(); ++i) {
        const QChar c = unescaped[i];
        if (inQuotes) {
            if (c == u'"') {
                inQuotes = false;
            } else if (c == u'\\' && i + 1 < unescaped.size() &&
                       QStringLiteral("\"`$\\").contains(unescaped[i + 1])) {
                current += unescaped[++i];
            } else if (c == u'\\') {
                return {QStringLiteral("<bad quoting>")};
            } else {
                current += c;
            }
        } else if (c == u' ') {
            if (started)
                arguments << current;
            current.clear();
            started = false;
        } else if (c == u'"') {
            inQuotes = started = true;
        } else if (QStringLiteral("\t\n\"'\\><~|&;$*?#()`").contains(c)) {
            return {QStringLiteral("<reserved character outside quotes>")};
        } else {
            current += c;
            started = true;
        }
    }
    if (inQuotes)
        return {QStringLiteral("<open quote>")};
    if (started)
        arguments << current;
    for (QString& argument : arguments)
        argument.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return arguments;
}

QString execLineOf(const QString& entryText) {
    for (const QString& line : entryText.split(u'\n')) {
        if (line.startsWith(QStringLiteral("Exec=")))
            return line.mid(5);
    }
    return {};
}

class AutostartTest : public ::testing::Test {
protected:
    QString entryPath() const {
        return autostartEntryPathFor(dir.path(), QStringLiteral("Mouse X"));
    }
    Autostart autostartFor(const QString& executable) {
        return Autostart(entryPath(), QStringLiteral("Mouse X"), executable, values);
    }

    QTemporaryDir dir;
    MemoryUserValues values;
};

TEST(DesktopExec, ArgumentsQuotedOnlyWhenNeeded) {
    const struct {
        const char16_t* argument;
        const char16_t* written;
    } cases[] = {
        {u"/usr/bin/corvane", u"/usr/bin/corvane"},
        {u"/opt/my app/corvane", u"\"/opt/my app/corvane\""},
        {u"/opt/a$b/corvane", u"\"/opt/a\\$b/corvane\""},
        {u"/opt/a\"b`c\\d/x", u"\"/opt/a\\\"b\\`c\\\\d/x\""},
        {u"/opt/it's/x", u"\"/opt/it's/x\""},
        {u"/opt/100%/x", u"/opt/100%%/x"},
        {u"/opt/100% sure/x", u"\"/opt/100%% sure/x\""},
        {u"", u"\"\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(desktopExecArgument(QString::fromUtf16(c.argument)),
                  QString::fromUtf16(c.written))
            << QString::fromUtf16(c.argument).toStdString();
}

TEST(DesktopExec, EntryForAPlainPath) {
    EXPECT_EQ(autostartEntryText(QStringLiteral("Mouse X"), QStringLiteral("/usr/bin/corvane")),
              QStringLiteral("[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Mouse X\n"
                             "Exec=/usr/bin/corvane -autorun\n"
                             "Terminal=false\n"
                             "X-GNOME-Autostart-enabled=true\n"));
}

TEST(DesktopExec, DollarIsEscapedTwiceInTheFile) {
    // quoting gives \$, and the string escape then doubles the backslash
    EXPECT_EQ(
        execLineOf(autostartEntryText(QStringLiteral("M"), QStringLiteral("/opt/a$b/corvane"))),
        QStringLiteral("\"/opt/a\\\\$b/corvane\" -autorun"));
}

TEST(DesktopExec, ExecLineReadsBackToThePathAndTheSwitch) {
    const QString paths[] = {
        QStringLiteral("/usr/bin/corvane"),
        QStringLiteral("/home/u/My Programs/corvane"),
        QStringLiteral("/opt/$HOME/corvane"),
        QStringLiteral("/opt/a\"b`c\\d/corvane"),
        QStringLiteral("/opt/50%/it's (new)/corvane"),
        QStringLiteral("/opt/tab\there/line\nbreak/corvane"),
        QStringLiteral("/opt/\u00e9t\u00e9/corvane"),
    };
    for (const QString& path : paths) {
        const QString exec = execLineOf(autostartEntryText(QStringLiteral("M"), path));
        EXPECT_FALSE(exec.contains(u'\n'));
        EXPECT_EQ(execArguments(exec), (QStringList{path, QStringLiteral("-autorun")}))
            << path.toStdString();
    }
}

TEST(DesktopExec, NameIsWrittenAsAStringValue) {
    const QString text = autostartEntryText(QStringLiteral("Mouse\\X\nY"), QStringLiteral("/c"));
    EXPECT_TRUE(text.contains(QStringLiteral("\nName=Mouse\\\\X\\nY\n")));
}

TEST_F(AutostartTest, EntryPathBelowAutostart) {
    EXPECT_EQ(entryPath(), dir.path() + QStringLiteral("/autostart/Mouse X.desktop"));
}

TEST_F(AutostartTest, TurningOnTwiceWritesTheSameEntry) {
    Autostart autostart = autostartFor(QStringLiteral("/home/u/My Programs/corvane"));
    EXPECT_FALSE(autostart.isEnabled());
    ASSERT_TRUE(autostart.setAutorun(true));
    const QByteArray first = readFile(entryPath());
    ASSERT_TRUE(autostart.setAutorun(true));
    EXPECT_EQ(readFile(entryPath()), first);
    EXPECT_EQ(QString::fromUtf8(first),
              autostartEntryText(QStringLiteral("Mouse X"),
                                 QStringLiteral("/home/u/My Programs/corvane")));
    EXPECT_TRUE(autostart.isEnabled());
    EXPECT_EQ(entriesOf(dir.path() + QStringLiteral("/autostart")),
              QStringList{QStringLiteral("Mouse X.desktop")});
    EXPECT_TRUE(values.writes.empty());
}

TEST_F(AutostartTest, TurningOffRemovesTheEntryAndStoresMinimizeOff) {
    Autostart autostart = autostartFor(QStringLiteral("/usr/bin/corvane"));
    ASSERT_TRUE(autostart.setAutorun(true));
    values.values[QStringLiteral("autorun_minimize")] = QStringLiteral("1");
    EXPECT_TRUE(autostart.setAutorun(false));
    EXPECT_FALSE(QFileInfo::exists(entryPath()));
    EXPECT_FALSE(autostart.isEnabled());
    EXPECT_EQ(values.values[QStringLiteral("autorun_minimize")], QStringLiteral("0"));
}

TEST_F(AutostartTest, TurningOffWhenAbsentIsSilentAndStillStoresMinimizeOff) {
    Autostart autostart = autostartFor(QStringLiteral("/usr/bin/corvane"));
    EXPECT_TRUE(autostart.setAutorun(false));
    EXPECT_FALSE(QFileInfo::exists(dir.path() + QStringLiteral("/autostart")));
    ASSERT_EQ(values.writes.size(), 1u);
    EXPECT_EQ(values.writes[0],
              std::make_pair(QStringLiteral("autorun_minimize"), QStringLiteral("0")));
}

TEST_F(AutostartTest, EntrySwitchedOffByTheDesktopCountsAsOff) {
    Autostart autostart = autostartFor(QStringLiteral("/usr/bin/corvane"));
    QDir().mkpath(dir.path() + QStringLiteral("/autostart"));
    const QByteArray head = "[Desktop Entry]\nType=Application\nName=Mouse X\n";
    writeFile(entryPath(), head + "Exec=/usr/bin/corvane -autorun\nHidden=true\n");
    EXPECT_FALSE(autostart.isEnabled());
    writeFile(entryPath(),
              head + "Exec=/usr/bin/corvane -autorun\nX-GNOME-Autostart-enabled=false\n");
    EXPECT_FALSE(autostart.isEnabled());
    writeFile(entryPath(), head + "[Desktop Action x]\nExec=/usr/bin/corvane\n");
    EXPECT_FALSE(autostart.isEnabled());
    ASSERT_TRUE(autostart.setAutorun(true)); // turning it on again replaces the entry
    EXPECT_TRUE(autostart.isEnabled());
}

TEST_F(AutostartTest, FolderThatCannotBeCreatedWritesNothing) {
    writeFile(dir.path() + QStringLiteral("/autostart"), "not a folder");
    Autostart autostart = autostartFor(QStringLiteral("/usr/bin/corvane"));
    EXPECT_FALSE(autostart.setAutorun(true));
    EXPECT_FALSE(autostart.isEnabled());
}

} // namespace
