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

// The sensor GetInfo reports for the virtual mice.
inline constexpr int kVirtualSensor = 0x11;

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
    // The mouse holds what the pages would have sent for the store's current profile:
    // for the last of `writes` of each command, the performance settings it carries
    // read back as the program reads them equal the stored ones, the lighting and the
    // key table are what the program encodes for the stored rows, and the SetMacro
    // packets are those of the macro `macroKey` plays (-1: none expected).
    void expectMouseHoldsTheStore(const std::vector<LoggedReport>& writes, int macroKey = -1) const;

    QTemporaryDir root;
};

} // namespace corvane::cli::test
