#include "CliProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>

#include "store/ProfileDatabase.h"

#include <sqlite3.h>

namespace corvane::cli::test {

namespace {

constexpr int kRunTimeoutMs = 120000;
constexpr int kGetInfo = 0x10;
const QString kFirstMouse = QStringLiteral("1209:C0A1/");

void ensureCoreApplication() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "cli_process_tests";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv); // lives until the process ends
}

} // namespace

void CliProcess::SetUp() {
    ensureCoreApplication();
    ASSERT_TRUE(root.isValid());
    for (const char* name : {"data", "config", "run", "home", "held"})
        ASSERT_TRUE(QDir(root.path()).mkpath(QLatin1String(name)));
    QFile::setPermissions(folder(QStringLiteral("run")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QProcessEnvironment CliProcess::environment(const QString& log) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), folder(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), folder(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder(QStringLiteral("run")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("CORVANE_VIRTUAL_MOUSE_LOG"), log);
    env.insert(QStringLiteral("CORVANE_VIRTUAL_MOUSE_HELD"), folder(QStringLiteral("held")));
    return env;
}

Outcome CliProcess::corvanectl(const QStringList& arguments, const Streams& streams,
                               bool virtualMouse) {
    QProcess process;
    process.setProcessEnvironment(environment(cliLog()));
    process.setWorkingDirectory(root.path());
    if (!streams.outputFile.isEmpty())
        process.setStandardOutputFile(streams.outputFile);
    QStringList all = arguments;
    if (virtualMouse)
        all.prepend(QStringLiteral("--virtual-mouse"));
    process.start(QStringLiteral(CORVANECTL_PATH), all);
    if (process.waitForStarted()) {
        process.write(streams.input);
        process.closeWriteChannel();
    }
    Outcome run;
    if (!process.waitForFinished(kRunTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "corvanectl did not end: " << all.join(u' ').toStdString();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QJsonObject CliProcess::showJson(int profile) {
    QStringList arguments{QStringLiteral("show"), QStringLiteral("--json")};
    if (profile > 0)
        arguments << QStringLiteral("--profile") << QString::number(profile);
    const Outcome run = corvanectl(arguments);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

QString CliProcess::databasePath() const {
    return folder(QStringLiteral("data/Corvane Files/db/corvane_m1_data1.db"));
}

QStringList CliProcess::rows(const QString& sql) const {
    QStringList result;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(databasePath().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return result;
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            QStringList columns;
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                const auto* text = sqlite3_column_text(statement, c);
                columns << (text ? QString::fromUtf8(reinterpret_cast<const char*>(text))
                                 : QStringLiteral("NULL"));
            }
            result << columns.join(u'|');
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

QString CliProcess::setting(int profile, const char* key) const {
    const QStringList found = rows(QStringLiteral("SELECT value FROM t_configdata WHERE profile=%1 "
                                                  "AND key='%2'")
                                       .arg(profile)
                                       .arg(QLatin1String(key)));
    return found.isEmpty() ? QString() : found.first();
}

void CliProcess::withStore(const std::function<void(store::ProfileDatabase&)>& read) const {
    store::ProfileDatabase& db = store::ProfileDatabase::instance();
    ASSERT_TRUE(QFile::exists(databasePath()));
    ASSERT_TRUE(db.openForDevice(folder(QStringLiteral("data/Corvane Files")),
                                 QStringLiteral("corvane_m1")));
    read(db);
    EXPECT_TRUE(db.close());
}

QString CliProcess::heldPath(const char* mouse) const {
    return folder(QStringLiteral("held/%1.txt").arg(QLatin1String(mouse)));
}

std::map<QString, QString> CliProcess::mouseHolds(const char* mouse) const {
    std::map<QString, QString> lines;
    QFile file(heldPath(mouse));
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const int equals = line.indexOf('=');
        if (equals > 0)
            lines[QString::fromUtf8(line.left(equals))] = QString::fromUtf8(line.mid(equals + 1));
    }
    return lines;
}

void CliProcess::forgetWhatTheMouseHolds(const char* mouse) const {
    QFile::remove(heldPath(mouse));
    ASSERT_FALSE(QFile::exists(heldPath(mouse)));
}

void CliProcess::expectMouseHolds(const std::vector<std::pair<const char*, const char*>>& expected,
                                  const char* mouse) const {
    const std::map<QString, QString> holds = mouseHolds(mouse);
    ASSERT_FALSE(holds.empty()) << "the mouse took no command";
    for (const auto& [name, value] : expected) {
        const auto found = holds.find(QLatin1String(name));
        ASSERT_NE(found, holds.end()) << name;
        EXPECT_EQ(found->second, QLatin1String(value)) << "the mouse holds " << name;
    }
}

QStringList CliProcess::dump() const {
    QStringList all;
    for (const char* table : {"t_configdata", "t_profile_data", "t_key_macro_data", "t_macro_data",
                              "t_macrorecord", "t_light_data"})
        all << rows(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(QLatin1String(table)));
    return all;
}

std::vector<LoggedReport> CliProcess::reports(const QString& logPath) const {
    // Each line: the time, the device ("1209:C0A1/2": ids and interface), the bytes.
    std::vector<LoggedReport> list;
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly))
        return list;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() < 3)
            continue;
        LoggedReport report;
        report.path = QString::fromUtf8(parts[1]);
        for (qsizetype i = 2; i < parts.size(); ++i)
            report.bytes.push_back(static_cast<std::uint8_t>(parts[i].toUInt(nullptr, 16)));
        list.push_back(report);
    }
    return list;
}

std::vector<LoggedReport> CliProcess::writesToMouse(const QString& logPath,
                                                    std::size_t from) const {
    std::vector<LoggedReport> writes;
    const std::vector<LoggedReport> all = reports(logPath);
    for (std::size_t i = from; i < all.size(); ++i) {
        // Reads (GetInfo 0x10, the settings' reads 0x12..0x17) change nothing in the mouse:
        // corvanectl reads the active stage before each request.
        const int command = all[i].command();
        const bool read = command == kGetInfo || (command >= 0x12 && command <= 0x17);
        if (all[i].path.contains(kFirstMouse) && !read)
            writes.push_back(all[i]);
    }
    return writes;
}

} // namespace corvane::cli::test
