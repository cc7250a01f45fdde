// corvanectl: the mouse's settings from the command line and from scripts.
#include "catalog/DeviceCatalog.h"
#include "catalog/UserDevices.h"
#include "cli/ArgumentParser.h"
#include "cli/DeviceFileCommands.h"
#include "cli/Handover.h"
#include "cli/HelpText.h"
#include "cli/StandardInput.h"
#include "control/local/InstancePaths.h"
#include "control/local/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// False when the stream did not take every byte (a full disk, a closed pipe).
bool write(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    const size_t size = static_cast<size_t>(bytes.size());
    const bool written = std::fwrite(bytes.constData(), 1, size, stream) == size;
    return std::fflush(stream) == 0 && written && !std::ferror(stream);
}

// What was asked for could not be printed: a script must not take a cut-off answer for a
// whole one, so this is a failure, as for other command-line tools.
int printed(const QString& text, int exitCode) {
    errno = 0;
    if (write(stdout, text))
        return exitCode;
    const int error = errno;
    write(stderr, QStringLiteral("corvanectl: cannot write the output: %1\n")
                      .arg(error != 0 ? QString::fromLocal8Bit(std::strerror(error))
                                      : QStringLiteral("write error")));
    return corvane::control::ExitCode::Failure;
}

int writeFile(const QString& path, const QString& text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        write(stderr, QStringLiteral("corvanectl: cannot write %1\n").arg(path));
        return corvane::control::ExitCode::Failure;
    }
    return corvane::control::ExitCode::Success;
}

int runProgram() {
    using namespace corvane;
    const QStringList arguments = QCoreApplication::arguments();
    // Build-time generators of the installed manual page and bash completion.
    if (arguments.size() == 3 && arguments[1] == u"--write-man-page")
        return writeFile(arguments[2], cli::manualPage(QStringLiteral(CORVANE_VERSION),
                                                       QStringLiteral(CORVANE_RELEASE_DATE)));
    if (arguments.size() == 3 && arguments[1] == u"--write-bash-completion")
        return writeFile(arguments[2], cli::bashCompletion());

    const cli::ParsedCommandLine parsed = cli::parseCommandLine(arguments, QDir::currentPath());
    switch (parsed.kind) {
    case cli::ParsedCommandLine::Kind::Help:
        return printed(parsed.text, control::ExitCode::Success);
    case cli::ParsedCommandLine::Kind::Version:
        return printed(QStringLiteral("%1 %2\n").arg(QLatin1String(cli::kProgramName),
                                                     QStringLiteral(CORVANE_VERSION)),
                       control::ExitCode::Success);
    case cli::ParsedCommandLine::Kind::Usage:
        write(stderr, parsed.text);
        return control::ExitCode::Usage;
    case cli::ParsedCommandLine::Kind::Run:
        break;
    }

    cli::Installation installation;
    installation.exeFolder = control::exeFolder();
    const QString configFile = installation.exeFolder + QStringLiteral("/config.xml");
    const catalog::StartupInfo startup = catalog::readStartupInfo(configFile);
    if (!startup.loaded) {
        write(stderr,
              QStringLiteral("corvanectl: cannot read the installation's %1\n").arg(configFile));
        return control::ExitCode::Failure;
    }
    installation.deviceName = startup.caption;
    installation.defaultLanguage = startup.defaultLanguage;
    installation.catalog = catalog::readCatalog(configFile);
    const QString userFolder = catalog::userDeviceFolderFor(control::dataHome());
    for (const catalog::UserDeviceReport& report :
         catalog::addUserDevices(installation.catalog, userFolder)) {
        // check-device tells about its own file itself.
        if (parsed.request.command == u"check-device" &&
            parsed.request.arguments.value(0) == report.path)
            continue;
        for (const QString& line : report.lines())
            write(stderr, QStringLiteral("corvanectl: %1\n").arg(line));
    }
    if (const std::optional<control::Answer> answer = cli::runDeviceFileCommand(
            installation, parsed.request, parsed.virtualMouse, userFolder)) {
        write(stdout, answer->out);
        write(stderr, answer->err);
        return answer->exitCode;
    }

    control::Request request = parsed.request;
    cli::StagedInput input;
    if (QString error; !input.stage(request, stdin, error)) {
        write(stderr, QStringLiteral("corvanectl: %1\n").arg(error));
        return control::ExitCode::Failure;
    }
    control::Answer answer =
        cli::runRequest(installation, control::instancePaths(installation.deviceName), request,
                        parsed.virtualMouse);
    input.restoreName(answer);
    const int exitCode = printed(answer.out, answer.exitCode);
    write(stderr, answer.err);
    return exitCode;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvanectl"));
    return runProgram();
}
