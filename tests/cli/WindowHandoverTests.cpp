// With the window running (offscreen, on the virtual mice), corvanectl hands its requests
// to the window: the window's worker sends the report and corvanectl itself never
// opens a device. With no window, corvanectl's own worker does it.
#include "CliProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace corvane::cli::test {
namespace {

// One line to the window's socket and the line it answers (empty when it closes).
QByteArray exchangeLine(const QString& socketPath, const QByteArray& line) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = socketPath.toLocal8Bit();
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    QByteArray answer;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::write(fd, line.constData(), static_cast<size_t>(line.size())) == line.size()) {
        char c = 0;
        while (::read(fd, &c, 1) == 1 && c != '\n')
            answer += c;
    }
    ::close(fd);
    return answer;
}

class WindowHandover : public CliProcess {
protected:
    void TearDown() override {
        if (window.state() != QProcess::NotRunning) {
            window.kill();
            window.waitForFinished();
        }
    }

    QString socketPath() const { return folder(QStringLiteral("run/Corvane.socket")); }
    QString windowLog() const { return folder(QStringLiteral("window.log")); }

    void startWindow() {
        window.setProcessEnvironment(environment(windowLog()));
        window.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        window.start(QStringLiteral(CORVANE_PATH), {QStringLiteral("--virtual-mouse")});
        ASSERT_TRUE(window.waitForStarted());
        // Ready once it listens and its worker has settled the mice (the store exists).
        QDeadlineTimer deadline(60000);
        while (!(QFile::exists(socketPath()) && QFile::exists(databasePath())) &&
               !deadline.hasExpired())
            QThread::msleep(50);
        ASSERT_TRUE(QFile::exists(socketPath())) << "the window does not listen";
    }

    QProcess window;
};

TEST_F(WindowHandover, SetDpiReachesTheMouseThroughTheWindowsWorker) {
    startWindow();
    Outcome run = corvanectl({"set", "dpi", "3200"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty() && run.err.isEmpty());

    const int stage = setting(1, "dpi_index").toInt();
    EXPECT_EQ(setting(1, "dpi_group" + QByteArray::number(stage) + "_value"),
              QStringLiteral("3200"));
    std::vector<LoggedReport> sent = writesToMouse(windowLog());
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().command(), 0x03);
    const std::string activeStage = std::to_string(stage + 1);
    expectMouseHolds({{"active stage", activeStage.c_str()}});
    EXPECT_EQ(mouseHolds()[QStringLiteral("stage %1 dpi").arg(stage + 1)], "3200");
    EXPECT_FALSE(QFile::exists(cliLog())) << "corvanectl itself never talked to a device";
    // --verbose says where the request went and what was set, on stderr.
    run = corvanectl({"set", "dpi", "1600", "--verbose"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(run.err.toStdString(),
              QStringLiteral("corvanectl: handed the request to the running window\n"
                             "corvanectl: DPI: %1 stages, stage %2 active at 1600 DPI\n")
                  .arg(setting(1, "dpi_count"))
                  .arg(stage + 1)
                  .toStdString());

    // The window stays with what it runs: a request for the other kind of mice is refused.
    run = corvanectl({"set", "dpi", "800"}, false);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("uses the virtual mice")));

    // A malformed request is answered as such and leaves the window serving.
    const QByteArray refused = exchangeLine(socketPath(), "request {\"command\":\n");
    EXPECT_TRUE(refused.contains("\"exit\":2")) << refused.toStdString();
    EXPECT_EQ(corvanectl({"show"}).exitCode, 0);

    // Asked to quit, the window ends and gives the mice back to corvanectl.
    exchangeLine(socketPath(), "quit\n");
    ASSERT_TRUE(window.waitForFinished(60000));
    EXPECT_EQ(window.exitCode(), 0);
    run = corvanectl({"set", "dpi", "800", "--verbose"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith(
        QStringLiteral("corvanectl: no window runs; corvanectl used the virtual mice itself\n")))
        << run.err.toStdString();
    sent = writesToMouse(cliLog());
    ASSERT_FALSE(sent.empty()) << "corvanectl's own worker sent it";
    EXPECT_EQ(sent.back().command(), 0x03);
    EXPECT_EQ(mouseHolds()[QStringLiteral("stage %1 dpi").arg(stage + 1)], "800");
}

TEST_F(CliProcess, TwoAtOnceTakeTurnsAndBothSucceed) {
    QProcess first;
    QProcess second;
    for (QProcess* process : {&first, &second}) {
        process->setProcessEnvironment(environment(cliLog()));
        process->start(QStringLiteral(CORVANECTL_PATH),
                       {QStringLiteral("--virtual-mouse"), QStringLiteral("set"),
                        QStringLiteral("respond"), process == &first ? "10" : "14"});
    }
    ASSERT_TRUE(first.waitForFinished(120000) && second.waitForFinished(120000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    const QString stored = setting(1, "button_respondtime");
    EXPECT_TRUE(stored == u"10" || stored == u"14");
}

} // namespace
} // namespace corvane::cli::test
