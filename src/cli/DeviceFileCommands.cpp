#include "cli/DeviceFileCommands.h"

#include "catalog/UdevRule.h"
#include "catalog/UserDevices.h"
#include "cli/Probe.h"
#include "hid/SystemHidApi.h"
#include "virtualmouse/ProgramDemo.h"
#include "virtualmouse/VirtualMouse.h"

#include <QFileInfo>

namespace corvane::cli {
namespace {

control::Answer checkDevice(const Installation& installation, const QString& path) {
    const catalog::UserDeviceFile file = catalog::readUserDeviceFile(path);
    control::Answer answer;
    for (const catalog::DeviceFileProblem& problem : file.problems)
        answer.out += catalog::describeProblem(path, problem) + u'\n';
    if (!file.device) {
        answer.exitCode = control::ExitCode::Failure;
        answer.out += QStringLiteral("%1: the program skips this file\n").arg(path);
        return answer;
    }
    // The models it must not clash with: all but the one this very file added.
    catalog::DeviceCatalog others = installation.catalog;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const auto isThisFile = [&](const catalog::DeviceDescription& device) {
        const QString own = catalog::userDeviceFileOf(device.deviceAttr);
        return !own.isEmpty() && QFileInfo(own).canonicalFilePath() == canonical;
    };
    std::erase_if(others.devices, isThisFile);
    std::erase_if(others.modes,
                  [&](const catalog::DeviceMode& mode) { return isThisFile(mode.device); });
    if (const QString clash = catalog::clashWith(others, file); !clash.isEmpty()) {
        answer.exitCode = control::ExitCode::Failure;
        answer.out += QStringLiteral("%1: the program skips this file: %2\n").arg(path, clash);
        return answer;
    }
    answer.out += QStringLiteral("%1: %2, device type %3, %4 connection(s): usable\n")
                      .arg(path, file.device->name)
                      .arg(file.device->deviceType)
                      .arg(file.modes.size());
    return answer;
}

QString udevRule(const Installation& installation, const QString& userFolder) {
    const QString header =
        QStringLiteral(
            "# Corvane: lets the user logged in at the seat open the mice's HID interfaces.\n"
            "#\n"
            "# Made by corvanectl udev-rule for every model it knows: the installed ones\n"
            "# and those described in %1.\n"
            "# Install it, then plug the mouse in again or run the second line:\n"
            "#   corvanectl udev-rule | sudo tee /etc/udev/rules.d/71-corvane-local.rules\n"
            "#   sudo udevadm control --reload && sudo udevadm trigger\n"
            "#\n"
            "# TAG+=\"uaccess\" asks systemd-logind to give the user of the active local\n"
            "# session read and write access to the node; the file sorts before\n"
            "# 73-seat-late.rules, which applies the tag. Ids are lowercase hexadecimal.\n")
            .arg(userFolder);
    return catalog::udevRuleText(installation.catalog, header);
}

} // namespace

std::optional<control::Answer> runDeviceFileCommand(const Installation& installation,
                                                    const control::Request& request,
                                                    bool virtualMouse, const QString& userFolder) {
    if (request.command == u"check-device")
        return checkDevice(installation, request.arguments.value(0));
    if (request.command == u"udev-rule")
        return control::Answer{control::ExitCode::Success, udevRule(installation, userFolder), {}};
    if (request.command != u"probe")
        return std::nullopt;
    if (virtualMouse) {
        const vm::VirtualDeviceSet devices = vm::makeVirtualDevices();
        return runProbe(*devices.bus, installation.catalog, request, userFolder);
    }
    hid::SystemHidApi api;
    return runProbe(api, installation.catalog, request, userFolder);
}

} // namespace corvane::cli
