#include "cli/Probe.h"

#include "control/names/ReleaseText.h"
#include "hid/HidrawDescriptor.h"
#include "hid/InterfaceRules.h"
#include "hid/ReportExchange.h"
#include "protocol/codec/SensorTable.h"
#include "store/ValueRules.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <set>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane::cli {
namespace {

QString hexId(int id) {
    return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0'));
}

bool claimed(const catalog::DeviceCatalog& catalog, const hid::HidDeviceInfo& info) {
    return std::any_of(catalog.modes.begin(), catalog.modes.end(),
                       [&](const catalog::DeviceMode& mode) {
                           return mode.vid == info.vendorId && mode.pid == info.productId;
                       });
}

std::optional<hid::ReportDescriptor> parsed(const std::uint8_t* bytes, int size) {
    if (size <= 0)
        return std::nullopt;
    return hid::parseReportDescriptor(bytes, static_cast<std::size_t>(size));
}

// The kernel's copy of the descriptor, which every user may read; opening the node
// (which needs the permission the udev rule gives) only where there is none.
hid::ReportLayout layoutOf(hid::HidApi& api, const std::string& path) {
    std::array<std::uint8_t, hid::kMaxReportDescriptorSize> bytes{};
    std::optional<hid::ReportDescriptor> descriptor =
        parsed(bytes.data(), hid::readHidrawReportDescriptor(path, bytes.data(), bytes.size()));
    if (!descriptor) {
        if (hid::HidDevice* device = api.open_path(path)) {
            descriptor =
                parsed(bytes.data(), api.get_report_descriptor(device, bytes.data(), bytes.size()));
            api.close(device);
        }
    }
    return descriptor ? hid::commandLayout(*descriptor) : hid::ReportLayout{};
}

// "crw------- root:root, you may not open it" for a device node; a node the HID
// layer makes up (the virtual mice's) has no file to tell about.
QString accessOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return QStringLiteral("no device node");
    char mode[11] = "----------";
    mode[0] = S_ISCHR(status.st_mode) ? 'c' : '-';
    constexpr mode_t kBits[] = {S_IRUSR, S_IWUSR, S_IXUSR, S_IRGRP, S_IWGRP,
                                S_IXGRP, S_IROTH, S_IWOTH, S_IXOTH};
    for (int i = 0; i < 9; ++i) {
        if (status.st_mode & kBits[i])
            mode[i + 1] = "rwxrwxrwx"[i];
    }
    const passwd* owner = ::getpwuid(status.st_uid);
    const group* group = ::getgrgid(status.st_gid);
    const QString who = QStringLiteral("%1:%2").arg(
        owner ? QString::fromLocal8Bit(owner->pw_name) : QString::number(status.st_uid),
        group ? QString::fromLocal8Bit(group->gr_name) : QString::number(status.st_gid));
    const bool open = ::access(path.c_str(), R_OK | W_OK) == 0;
    return QStringLiteral("%1 %2, %3")
        .arg(QLatin1String(mode), who,
             open ? QStringLiteral("you may open it")
                  : QStringLiteral("you may not open it (see corvanectl udev-rule)"));
}

QString lengthsOf(const hid::ReportLayout& layout) {
    if (!layout.known)
        return QStringLiteral("report lengths unknown");
    return QStringLiteral("output %1 bytes, input %2 bytes%3")
        .arg(layout.outputLength)
        .arg(layout.inputLength)
        .arg(layout.numbered ? QStringLiteral(" (report ID %1)").arg(layout.outputId) : QString());
}

QString describe(const ProbedInterface& found) {
    return QStringLiteral("%1  %2:%3  interface %4  %5  %6\n")
        .arg(QString::fromStdString(found.info.path), hexId(found.info.vendorId),
             hexId(found.info.productId), QString::number(found.info.interfaceNumber),
             lengthsOf(found.layout), found.access);
}

QString rateText(int rateClass) {
    // The rates the program offers such a mouse, as the performance page lists them.
    const int capability = protocol::rateCapabilityFromClass(static_cast<std::uint8_t>(rateClass));
    QStringList rates;
    for (const store::ReportRateChoice& rate : store::offeredReportRates(capability))
        rates << QString::number(rate.hertz);
    return QStringLiteral("class 0x%1: %2 Hz")
        .arg(rateClass, 2, 16, QLatin1Char('0'))
        .arg(rates.join(QStringLiteral(", ")));
}

QString bytesText(const std::uint8_t* bytes, std::size_t count) {
    QStringList out;
    for (std::size_t i = 0; i < count; ++i)
        out << QStringLiteral("%1").arg(bytes[i], 2, 16, QLatin1Char('0'));
    return out.join(u' ');
}

control::Answer failed(int code, const QString& message) {
    return {code, {}, QStringLiteral("corvanectl: %1\n").arg(message)};
}

control::Answer ask(hid::HidApi& api, const catalog::DeviceCatalog& catalog,
                    const control::Request& request, const QString& userFolder) {
    const std::string node = request.option(QStringLiteral("ask")).toStdString();
    std::optional<hid::HidDeviceInfo> target;
    for (const hid::HidDeviceInfo& info : api.enumerate(0, 0)) {
        if (info.path == node && hid::isCommandUsage(info.usagePage, info.usage))
            target = info;
    }
    if (!target)
        return failed(control::ExitCode::Usage,
                      QStringLiteral("%1 is not a HID interface with the command collection "
                                     "(corvanectl probe lists them)")
                          .arg(QString::fromStdString(node)));

    std::array<std::uint8_t, hid::kReportBufferSize> request33{};
    request33[hid::kRequestCommandIndex] = hid::kGetInfoCommand;
    hid::storeRequestChecksum(request33.data());
    control::Answer answer;
    answer.err = QStringLiteral("corvanectl: sending one identification request (GetInfo, read "
                                "only) to %1: %2\n")
                     .arg(QString::fromStdString(node),
                          bytesText(request33.data(), hid::kShortReportLength));

    hid::HidDevice* device = api.open_path(node);
    if (!device) {
        answer.exitCode = control::ExitCode::Failure;
        answer.err += QStringLiteral("corvanectl: cannot open %1: %2\n")
                          .arg(QString::fromStdString(node), accessOf(node));
        return answer;
    }
    hid::Channel channel{api, device, layoutOf(api, node)};
    std::array<std::uint8_t, hid::kReportBufferSize> info{};
    const bool answered = hid::readDeviceInfo(channel, info.data());
    api.close(device);
    if (!answered) {
        answer.exitCode = control::ExitCode::Failure;
        answer.err += QStringLiteral("corvanectl: %1 did not answer the identification request\n")
                          .arg(QString::fromStdString(node));
        return answer;
    }

    ProbeAnswer probe;
    probe.info = *target;
    for (int i = 4; i < 8; ++i) {
        if (info[i] >= 0x20 && info[i] < 0x7F)
            probe.identifier += QChar(info[i]);
    }
    probe.sensor = info[protocol::kInfoSensorByte];
    probe.rateClass = info[protocol::kInfoRateClassByte];
    probe.firmware = control::releaseText(target->releaseNumber);

    if (request.has(QStringLiteral("template"))) {
        answer.out = deviceFileTemplate(probe, catalog);
        answer.err += QStringLiteral("corvanectl: save it as %1/<name>.xml, then check it with "
                                     "corvanectl check-device\n")
                          .arg(userFolder);
        return answer;
    }
    answer.out = QStringLiteral("identifier    %1\n"
                                "sensor        0x%2\n"
                                "report rates  %3\n"
                                "firmware      %4\n")
                     .arg(probe.identifier)
                     .arg(probe.sensor, 2, 16, QLatin1Char('0'))
                     .arg(rateText(probe.rateClass), probe.firmware);
    return answer;
}

} // namespace

std::vector<ProbedInterface> unclaimedInterfaces(hid::HidApi& api,
                                                 const catalog::DeviceCatalog& catalog) {
    std::vector<ProbedInterface> found;
    for (const hid::HidDeviceInfo& info : api.enumerate(0, 0)) {
        if (!hid::isCommandUsage(info.usagePage, info.usage) || claimed(catalog, info))
            continue;
        found.push_back({info, layoutOf(api, info.path), accessOf(info.path)});
    }
    return found;
}

control::Answer runProbe(hid::HidApi& api, const catalog::DeviceCatalog& catalog,
                         const control::Request& request, const QString& userFolder) {
    if (api.init() != 0)
        return failed(control::ExitCode::Failure, QStringLiteral("the HID layer did not start"));
    control::Answer answer;
    if (request.has(QStringLiteral("ask"))) {
        answer = ask(api, catalog, request, userFolder);
    } else if (request.has(QStringLiteral("template"))) {
        answer =
            failed(control::ExitCode::Usage, QStringLiteral("probe: --template needs --ask NODE"));
    } else {
        for (const ProbedInterface& found : unclaimedInterfaces(api, catalog))
            answer.out += describe(found);
        if (answer.out.isEmpty())
            answer.err = QStringLiteral("corvanectl: no HID interface with the command "
                                        "collection that no device file claims\n");
    }
    api.exit();
    return answer;
}

QString deviceFileTemplate(const ProbeAnswer& answer, const catalog::DeviceCatalog& catalog) {
    std::set<int> usedTypes{101};
    for (const catalog::DeviceDescription& device : catalog.devices)
        usedTypes.insert(device.deviceType);
    int type = 300;
    while (usedTypes.count(type))
        ++type;

    const protocol::SensorRow& sensor = protocol::sensorRow(answer.sensor);
    QString stages;
    constexpr int kStageDpi[] = {400, 800, 1600, 3200, 6400, 12000};
    constexpr const char* kStageColour[] = {"#FF0000", "#FF8000", "#00FF00",
                                            "#0080FF", "#FF00FF", "#FFFFFF"};
    for (int i = 0; i < 6; ++i) {
        const int dpi = std::clamp(kStageDpi[i], sensor.dpiMin, sensor.dpiMax);
        stages += QStringLiteral("\t\t\t<dpi_%1 value=\"%2\" color=\"%3\"/>\n")
                      .arg(i + 1)
                      .arg(dpi)
                      .arg(QLatin1String(kStageColour[i]));
    }
    const QString ids =
        QStringLiteral("%1:%2").arg(hexId(answer.info.vendorId), hexId(answer.info.productId));
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<!-- A starting device file for the mouse %1 (sensor 0x%3, "
               "firmware %4).\n"
               "     Name the file after the model in lower case (my_mouse.xml). mode value "
               "1 is a\n"
               "     2.4 GHz receiver. The keys are the usual six on the neutral outline: add "
               "or move\n"
               "     them, and give the model its own picture with image_file. See "
               "docs/device-files.md. -->\n"
               "<mouse>\n"
               "\t<catalog name=\"Mouse %1\" device_type=\"%5\">\n"
               "\t\t<mode value=\"0\" desc=\"USB\" vid=\"0x%6\" pid=\"0x%7\" dev_id=\"%2\" "
               "hid_interface=\"%8\"/>\n"
               "\t</catalog>\n"
               "\t<menu light=\"0\"/>\n"
               "\t<custom show_dpitips=\"1\" show_savetips=\"1\" show_lod=\"1\" "
               "show_sensor=\"0\" show_respondtime=\"1\"/>\n"
               "\t<mouse_key>\n"
               "\t\t<key name=\"143\" key_value=\"0\" direction=\"0\" rect=\"150#20#90\" "
               "func_desc=\"106\" dashed=\"0\" func_type=\"1\" func_value=\"1\"/>\n"
               "\t\t<key name=\"144\" key_value=\"1\" direction=\"1\" rect=\"230#340#90\" "
               "func_desc=\"107\" dashed=\"0\" func_type=\"1\" func_value=\"3\"/>\n"
               "\t\t<key name=\"145\" key_value=\"2\" direction=\"1\" rect=\"190#340#140\" "
               "func_desc=\"108\" dashed=\"0\" func_type=\"1\" func_value=\"2\"/>\n"
               "\t\t<key name=\"146\" key_value=\"3\" direction=\"0\" rect=\"110#20#260\" "
               "func_desc=\"110\" dashed=\"1\" func_type=\"1\" func_value=\"6\"/>\n"
               "\t\t<key name=\"147\" key_value=\"4\" direction=\"0\" rect=\"110#20#210\" "
               "func_desc=\"109\" dashed=\"1\" func_type=\"1\" func_value=\"5\"/>\n"
               "\t\t<key name=\"148\" key_value=\"5\" direction=\"1\" rect=\"190#340#190\" "
               "func_desc=\"142\" dashed=\"0\" func_type=\"5\" func_value=\"3\"/>\n"
               "\t</mouse_key>\n"
               "\t<mouse_info>\n"
               "\t\t<dpi_info default_dpi=\"1\" dpi_count=\"4\">\n"
               "%9"
               "\t\t</dpi_info>\n"
               "\t\t<report_rate default_value=\"1\"/>\n"
               "\t\t<sleep_light value=\"60\"/>\n"
               "\t\t<move_wakeup value=\"1\"/>\n"
               "\t\t<move_closelight value=\"0\"/>\n"
               "\t\t<lod value=\"1\"/>\n"
               "\t\t<button_respondtime value=\"8\"/>\n"
               "\t</mouse_info>\n"
               "</mouse>\n")
        .arg(ids, answer.identifier.toHtmlEscaped(),
             QStringLiteral("%1").arg(answer.sensor, 2, 16, QLatin1Char('0')), answer.firmware,
             QString::number(type), hexId(answer.info.vendorId).toUpper(),
             hexId(answer.info.productId).toUpper(),
             QString::number(std::max(answer.info.interfaceNumber, 0)), stages);
}

} // namespace corvane::cli
