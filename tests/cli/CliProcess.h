#pragma once
// corvanectl (and the corvane window) as processes in a scratch user environment:
// their own data, config and runtime folders, the virtual mice, and a log of every
// report the virtual mice received.

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace corvane::store {
class ProfileDatabase;
}

namespace corvane::cli::test {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

// One report as the virtual mice logged it: the interface ("1209:C0A1/2") and the bytes
// written (report ID first, so B(k) is bytes[k + 1]).
struct LoggedReport {
    QString path;
    std::vector<std::uint8_t> bytes;
    int command() const { return bytes.size() > 1 ? bytes[1] : -1; }
};

class CliProcess : public ::testing::Test {
protected:
    void SetUp() override;

    // corvanectl with `arguments` (and --virtual-mouse unless `virtualMouse` is false).
    // Its standard input is `input` (then closed); `outputFile`, when given, takes its
    // standard output in place of `out` (/dev/full for a full disk).
    struct Streams {
        QByteArray input;
        QString outputFile;
    };
    Outcome corvanectl(const QStringList& arguments, bool virtualMouse = true) {
        return corvanectl(arguments, Streams{}, virtualMouse);
    }
    Outcome corvanectl(const QStringList& arguments, const Streams& streams,
                       bool virtualMouse = true);
    // show --json of the current profile (or `profile`).
    QJsonObject showJson(int profile = 0);

    // The environment of a scratch user; `log` names the virtual mice's report log.
    QProcessEnvironment environment(const QString& log) const;
    QString folder(const QString& name) const { return root.filePath(name); }
    QString cliLog() const { return folder(QStringLiteral("cli.log")); }

    // --- the store (the first device type's file), read with a connection of its own ---
    QString databasePath() const;
    QString setting(int profile, const char* key) const;
    // The store opened in this process with the program's own reads, for the length of
    // `read` (between corvanectl runs only).
    void withStore(const std::function<void(store::ProfileDatabase&)>& read) const;
    // Every row of every table, as text: equal dumps mean an unchanged store.
    QStringList dump() const;
    // Rows of one query, each row's columns joined with '|'.
    QStringList rows(const QString& sql) const;

    // --- the report log ---
    std::vector<LoggedReport> reports(const QString& logPath) const;
    // The write commands (not GetInfo or another read) sent to the wired first mouse after
    // `from` lines.
    std::vector<LoggedReport> writesToMouse(const QString& logPath, std::size_t from = 0) const;
    std::size_t logLines(const QString& logPath) const { return reports(logPath).size(); }
    // --- what a mouse runs with, in the virtual firmware's own reading ---
    // `mouse` by its ids; the first wired mouse unless named.
    static constexpr const char* kFirstWired = "1209-C0A1";
    // The lines its last run left ("stage 2 dpi" -> "3200", "rate" -> "500 Hz"; see
    // virtualmouse/ReportLog.h); empty when no run gave it a command it took.
    std::map<QString, QString> mouseHolds(const char* mouse = kFirstWired) const;
    // Forgets those lines, so that a run that sends nothing leaves none.
    void forgetWhatTheMouseHolds(const char* mouse = kFirstWired) const;
    // Each named line is what the mouse holds.
    void expectMouseHolds(const std::vector<std::pair<const char*, const char*>>& expected,
                          const char* mouse = kFirstWired) const;
    QString heldPath(const char* mouse) const;

    QTemporaryDir root;
};

} // namespace corvane::cli::test
