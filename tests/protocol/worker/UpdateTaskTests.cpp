// The update tasks on the worker against a real HTTP server on 127.0.0.1 and the
// virtual mouse's bootloader: version checks, offers, the setup download and the
// firmware upgrade end to end, signed with a release key made for the test.
#include "WorkerFixture.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <sodium.h>

#include "protocol/worker/DeviceTask.h"
#include "support/HttpTestServer.h"
#include "support/ReleaseSigner.h"
#include "support/ZipBuilder.h"
#include "update/BootPackets.h"

namespace corvane::protocol::testing {
namespace {

using corvane::test::HttpReply;
using corvane::test::ZipEntry;
using Bytes = std::vector<std::uint8_t>;

constexpr const char* kSetupArchivePath = "/soft/Mouse-Setup-1.0.2.zip";
constexpr const char* kFirmwareArchivePath = "/fw/m1/mouse/firmware-106.zip";
constexpr const char* kImageName = "firmware     -106.bin";
constexpr const char* kManifestPath = "/fw/m1/mouse/firmware-106.manifest";

std::string sha256Hex(const std::string& bytes) {
    std::array<std::uint8_t, 32> hash{};
    crypto_hash_sha256(hash.data(), reinterpret_cast<const std::uint8_t*>(bytes.data()),
                       bytes.size());
    std::string hex(65, '\0');
    sodium_bin2hex(hex.data(), hex.size(), hash.data(), hash.size());
    hex.pop_back();
    return hex;
}

// A firmware manifest as a release manager writes it.
std::string manifestFor(const std::string& image, const std::string& version = "106",
                        const std::string& usb = "1209:c0a1") {
    return "usb=" + usb + "\nversion=" + version + "\nsha256=" + sha256Hex(image) + "\n";
}

std::string textOf(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

Bytes imageOf(std::size_t n) {
    Bytes image(n);
    for (std::size_t i = 0; i < n; ++i) {
        image[i] = static_cast<std::uint8_t>((i * 7 + 3) & 0xFF);
    }
    return image;
}

std::vector<std::string> matching(const std::vector<std::string>& lines, const std::string& start) {
    std::vector<std::string> out;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(out),
                 [&](const std::string& line) { return line.rfind(start, 0) == 0; });
    return out;
}

class UpdateTasks : public WorkerTest {
protected:
    void SetUp() override {
        WorkerTest::SetUp();
        ASSERT_TRUE(server.isListening());
        ASSERT_TRUE(installFolder.isValid());
        copyInstallation(server.url("/fw/m1"));
    }

    // The installation with the M1's firmware address on the test server.
    void copyInstallation(const QString& firmwareUrl) {
        const QDir target(installFolder.path());
        target.mkpath(QStringLiteral("device"));
        QFile::remove(target.filePath(QStringLiteral("config.xml")));
        QFile::copy(exeFolder() + QStringLiteral("/config.xml"),
                    target.filePath(QStringLiteral("config.xml")));
        QDirIterator files(exeFolder() + QStringLiteral("/device"), {QStringLiteral("*.xml")});
        while (files.hasNext()) {
            QFile in(files.next());
            ASSERT_TRUE(in.open(QIODevice::ReadOnly));
            QString text = QString::fromUtf8(in.readAll());
            if (QFileInfo(in).fileName() == QLatin1String("corvane_m1.xml")) {
                text.replace(QStringLiteral("https://corvane.example/firmware/corvane_m1"),
                             firmwareUrl);
            }
            QFile out(target.filePath(QStringLiteral("device/") + QFileInfo(in).fileName()));
            ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(text.toUtf8());
        }
    }

    WorkerConfig updateConfig() const {
        WorkerConfig c = config();
        c.exeFolder = installFolder.path();
        c.catalog = catalog::readCatalog(c.exeFolder + QStringLiteral("/config.xml"));
        c.catalog.product.version = QStringLiteral("0.1.0");
        c.catalog.product.upgrade = server.url("/soft/");
        c.update.networkAllowed = true;
        c.update.http.lowSpeedTime = std::chrono::seconds(1);
        c.update.http.lowSpeedBytes = 1024;
        c.update.boot.answerTimeoutMs = 50;
        c.update.afterUpgrade = std::chrono::milliseconds(1);
        c.update.setupPublicKey = release.publicKey();
        c.update.firmwarePublicKey = release.publicKey();
        return c;
    }

    std::shared_ptr<vm::WiredMouse> attachM1WithBootloader(std::uint16_t release) {
        vm::WiredMouseConfig mouse;
        mouse.productId = 0xC0A1;
        mouse.releaseNumber = release;
        mouse.mouse.deviceId = "CVM1";
        mouse.withBootloader = true;
        return bus->addWiredMouse(mouse);
    }

    std::vector<std::string> shownFrom(std::size_t mark) const { return host.shownSince(mark); }

    QString tempFile(const QString& name) const {
        return QDir(dataDir.path()).filePath(QStringLiteral("temp/") + name);
    }

    // The archive and its release signature.
    void serveSetup(const std::vector<ZipEntry>& entries) {
        const std::string archive = corvane::test::zipBytes(entries);
        server.serveBody(kSetupArchivePath, archive);
        server.serveBody(kSetupArchivePath + std::string(".minisig"), release.sign(archive));
    }
    // The archive, and a signed manifest naming the M1, 1.06 and the image in it.
    void serveFirmware(const std::vector<ZipEntry>& entries) {
        server.serveBody(kFirmwareArchivePath, corvane::test::zipBytes(entries));
        std::string image;
        for (const ZipEntry& entry : entries) {
            if (entry.name == kImageName) {
                image = entry.data;
            }
        }
        serveManifest(manifestFor(image));
    }
    void serveManifest(const std::string& manifest) {
        serveManifest(manifest, release.sign(manifest));
    }
    void serveManifest(const std::string& manifest, const std::string& signature) {
        server.serveBody(kManifestPath, manifest);
        server.serveBody(kManifestPath + std::string(".minisig"), signature);
    }

    // Starts with an M1 whose firmware is 1.05 and a server offering 1.06.
    std::shared_ptr<vm::WiredMouse> startWithFirmwareOffer() {
        server.serveBody("/fw/m1/mouse/version", "106\r\n");
        auto mouse = attachM1WithBootloader(0x105);
        startWorker(updateConfig());
        run({DeviceTask::DeviceStart});
        EXPECT_TRUE(host.waitFor("offerUpdate firmware 106"));
        return mouse;
    }

    corvane::test::HttpTestServer server;
    QTemporaryDir installFolder;
    corvane::test::ReleaseSigner release;
};

// --- version checks ---

TEST_F(UpdateTasks, ProgramCheckReportsAndOffersOnlyANewerVersion) {
    HttpReply notFound;
    notFound.status = 404;
    notFound.body = "1.0.2";
    HttpReply failing;
    failing.status = 500;
    failing.body = "1.0.2";
    const struct {
        const char* name;
        HttpReply answer;
        std::vector<std::string> shown;
    } cases[] = {
        {"newer",
         {200, "1.0.2\r\n"},
         {"showUpdateStatus program 1 1.0.2 button=1", "offerUpdate program 1.0.2"}},
        {"the same", {200, "0.1.0"}, {"showUpdateStatus program 2 0.1.0 button=0"}},
        {"older with fewer parts", {200, "0.1"}, {"showUpdateStatus program 2 0.1 button=0"}},
        {"a 404 page", notFound, {}},
        {"a server error", failing, {}},
        {"eleven characters", {200, "1.0.2.3.4.5"}, {}},
        {"not a version", {200, "<html><body>moved</body></html>"}, {}},
        {"empty", {200, ""}, {}},
    };
    startWorker(updateConfig());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server.serve("/soft/version", c.answer);
        const std::size_t mark = host.count();
        const std::size_t requests = server.requestCount();
        run({DeviceTask::CheckProgramVersion});
        EXPECT_EQ(server.requestCount(), requests + 1);
        EXPECT_EQ(shownFrom(mark), c.shown);
    }
}

TEST_F(UpdateTasks, FirmwareIsCheckedAtTheEndOfTheStartAndOnRequest) {
    server.serveBody("/fw/m1/mouse/version", "106\r\n");
    attachM1WithBootloader(0x105);
    startWorker(updateConfig());

    // Before any mouse was read the device's version is unknown: nothing changes.
    run({DeviceTask::CheckFirmwareVersion});
    EXPECT_TRUE(matching(host.calls(), "showUpdateStatus").empty());

    run({DeviceTask::DeviceStart});
    EXPECT_EQ(matching(host.calls(), "showUpdateStatus"),
              (std::vector<std::string>{"showUpdateStatus firmware 1 106 button=1"}));
    EXPECT_EQ(matching(host.calls(), "offerUpdate"),
              (std::vector<std::string>{"offerUpdate firmware 106"}));

    const struct {
        const char* answer;
        std::vector<std::string> shown;
    } cases[] = {
        {"105", {"showUpdateStatus firmware 2 105 button=0"}},
        {"A0", {"showUpdateStatus firmware 2 A0 button=0"}}, // 0xA0 is older than 0x105
        {"10A", {"showUpdateStatus firmware 1 10A button=1", "offerUpdate firmware 10A"}},
        {"1234567890", {}},
        {"1.06", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        server.serveBody("/fw/m1/mouse/version", c.answer);
        const std::size_t mark = host.count();
        run({DeviceTask::CheckFirmwareVersion});
        EXPECT_EQ(shownFrom(mark), c.shown);
    }
}

TEST_F(UpdateTasks, ADeviceWithoutAFirmwareAddressIsNotChecked) {
    copyInstallation(QString()); // an empty address
    attachM1WithBootloader(0x105);
    startWorker(updateConfig());
    run({DeviceTask::DeviceStart, DeviceTask::CheckFirmwareVersion});
    EXPECT_EQ(server.requestCount(), 0u);
}

TEST_F(UpdateTasks, WithoutUpdateChecksNoServerIsContacted) {
    EXPECT_EQ(UpdateConfig{}.networkAllowed, CORVANE_UPDATE_CHECKS != 0)
        << "the build option decides the default";

    server.serveBody("/soft/version", "9.0");
    server.serveBody("/fw/m1/mouse/version", "999");
    attachM1WithBootloader(0x105);
    WorkerConfig offline = updateConfig();
    offline.update.networkAllowed = false;
    startWorker(offline);
    run({DeviceTask::DeviceStart, DeviceTask::CheckProgramVersion, DeviceTask::CheckFirmwareVersion,
         DeviceTask::DownloadSetup, DeviceTask::UpgradeFirmware});
    EXPECT_EQ(server.requestCount(), 0u);
    EXPECT_TRUE(matching(host.calls(), "offerUpdate").empty());
    EXPECT_EQ(matching(host.calls(), "setupFailed").size(), 1u);
    EXPECT_EQ(matching(host.calls(), "endFirmwareUpgrade"),
              (std::vector<std::string>{"endFirmwareUpgrade 0"}));
}

// --- the setup ---

TEST_F(UpdateTasks, TheOfferedSetupIsDownloadedUnpackedAndStarted) {
    server.serveBody("/soft/version", "1.0.2");
    serveSetup({{"Mouse-Setup-1.0.2", "#!/bin/sh\nexit 0\n"}, {"readme.txt", "read me"}});
    startWorker(updateConfig());
    run({DeviceTask::CheckProgramVersion});
    const std::size_t mark = host.count();
    run({DeviceTask::DownloadSetup});

    const QString program = tempFile(QStringLiteral("Mouse-Setup-1.0.2"));
    const std::vector<std::string> shown = shownFrom(mark);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), "startSetup " + program.toStdString());
    EXPECT_EQ(matching(shown, "showSetupProgress"),
              (std::vector<std::string>{"showSetupProgress 2", "showSetupProgress 8",
                                        "showSetupProgress 10", "showSetupProgress 100"}));
    EXPECT_TRUE(matching(shown, "setupFailed").empty());
    EXPECT_TRUE(QFileInfo(program).isExecutable());
    EXPECT_FALSE(QFile::exists(tempFile(QStringLiteral("Mouse-Setup-1.0.2.zip"))));
    // The address is the base, two slashes and the archive name; its signature beside it.
    const std::vector<corvane::test::HttpRequest> requests = server.requests();
    ASSERT_GE(requests.size(), 2u);
    EXPECT_EQ(requests[requests.size() - 2].path, "/soft///Mouse-Setup-1.0.2.zip");
    EXPECT_EQ(requests.back().path, "/soft///Mouse-Setup-1.0.2.zip.minisig");
}

// A setup archive runs only with the release signature over exactly that archive: anything
// else is refused with the failure text and leaves nothing in the temporary folder.
TEST_F(UpdateTasks, ASetupWithoutItsReleaseSignatureIsNeverUnpacked) {
    const corvane::test::ReleaseSigner stranger;
    const std::string archive =
        corvane::test::zipBytes({{"Mouse-Setup-1.0.2", "#!/bin/sh\nexit 0\n"}});
    const std::string good = release.sign(archive);
    const struct {
        const char* name;
        std::string signature; // empty: the server has none (404)
        bool starts;
    } cases[] = {
        {"no signature", "", false},
        {"a valid signature over another file", release.sign(archive + "x"), false},
        {"signed by another key", stranger.sign(archive), false},
        {"a truncated signature", good.substr(0, good.size() / 2), false},
        {"the trusted comment changed",
         [&] {
             std::string edited = good;
             edited.replace(edited.find("1700000000"), 1, "2");
             return edited;
         }(),
         false},
        {"the whole-file kind of signature", release.sign(archive, false), true},
    };
    server.serveBody("/soft/version", "1.0.2");
    server.serveBody(kSetupArchivePath, archive);
    startWorker(updateConfig());
    run({DeviceTask::CheckProgramVersion});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.signature.empty()) {
            server.serveBody(kSetupArchivePath + std::string(".minisig"), "<html>404</html>", 404);
        } else {
            server.serveBody(kSetupArchivePath + std::string(".minisig"), c.signature);
        }
        const std::size_t mark = host.count();
        run({DeviceTask::DownloadSetup});
        const std::vector<std::string> shown = shownFrom(mark);
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(matching(shown, "startSetup").size(), c.starts ? 1u : 0u);
        EXPECT_EQ(shown.back() == "setupFailed", !c.starts);
        if (!c.starts) {
            EXPECT_TRUE(QDir(tempFile({})).isEmpty()) << "no archive and no setup left behind";
        }
        QDir(tempFile({})).removeRecursively();
    }
}

TEST_F(UpdateTasks, AFailedSetupDownloadStartsNothing) {
    HttpReply truncated;
    truncated.kind = HttpReply::Kind::Truncated;
    truncated.body = corvane::test::zipBytes({{"Mouse-Setup-1.0.2", std::string(30000, 's')}});
    truncated.sendBytes = truncated.body.size() / 2;
    const struct {
        const char* name;
        std::vector<ZipEntry> archive; // empty: no archive (404)
        bool leftover;                 // a setup of an earlier attempt waits in the folder
        bool starts;                   // what startSetup answers
    } cases[] = {
        {"no archive", {}, false, true},
        {"archive without the setup", {{"readme.txt", "read me"}}, true, true},
        {"setup with a CRC error",
         {{"Mouse-Setup-1.0.2", "#!/bin/sh\n", false, 0, true}},
         true,
         true},
        {"setup as a link",
         {{"Mouse-Setup-1.0.2", "/bin/sh", false, corvane::test::kLinkMode}},
         false,
         true},
        {"setup that cannot be started", {{"Mouse-Setup-1.0.2", "#!/bin/sh\n"}}, false, false},
    };
    server.serveBody("/soft/version", "1.0.2");
    startWorker(updateConfig());
    run({DeviceTask::CheckProgramVersion});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.archive.empty()) {
            server.serveBody(kSetupArchivePath, "<html>404</html>", 404);
        } else {
            serveSetup(c.archive);
        }
        if (c.leftover) {
            QDir().mkpath(tempFile({}));
            QFile old(tempFile(QStringLiteral("Mouse-Setup-1.0.2")));
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("#!/bin/sh\necho stale\n");
        }
        host.setSetupStarts(c.starts);
        const std::size_t mark = host.count();
        run({DeviceTask::DownloadSetup});
        const std::vector<std::string> shown = shownFrom(mark);
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.back(), "setupFailed");
        EXPECT_EQ(matching(shown, "startSetup").size(), c.starts ? 0u : 1u);
        EXPECT_TRUE(matching(shown, "showSetupProgress 100").empty() || !c.archive.empty());
        if (c.leftover) {
            EXPECT_FALSE(QFile::exists(tempFile(QStringLiteral("Mouse-Setup-1.0.2"))))
                << "the leftover is removed, never started";
        }
    }
    // A body cut short is not an archive.
    server.serve(kSetupArchivePath, truncated);
    host.setSetupStarts(true);
    const std::size_t mark = host.count();
    run({DeviceTask::DownloadSetup});
    EXPECT_EQ(shownFrom(mark).back(), "setupFailed");
    EXPECT_TRUE(matching(shownFrom(mark), "startSetup").empty());
}

// Closing the setup progress window stops its download, queued or running, and only that
// one: the next download runs.
TEST_F(UpdateTasks, ClosingTheSetupWindowStopsItsDownload) {
    HttpReply stalled;
    stalled.kind = HttpReply::Kind::Stall;
    stalled.body = std::string(50000, 's');
    stalled.sendBytes = 100;
    server.serveBody("/soft/version", "1.0.2");
    server.serve(kSetupArchivePath, stalled);
    WorkerConfig patient = updateConfig();
    patient.update.http.lowSpeedTime = std::chrono::seconds(120); // only the cancel ends it
    startWorker(patient);
    run({DeviceTask::CheckProgramVersion});

    const std::size_t requests = server.requestCount();
    const std::uint64_t ticket = worker->queueTask(DeviceTask::DownloadSetup);
    const auto hang = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (server.requestCount() == requests && std::chrono::steady_clock::now() < hang) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ASSERT_GT(server.requestCount(), requests) << "the download never started";
    worker->cancelSetupDownload();
    while (!worker->finished(ticket) && std::chrono::steady_clock::now() < hang) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ASSERT_TRUE(worker->finished(ticket)) << "the download went on after the cancel";
    EXPECT_TRUE(matching(host.calls(), "startSetup").empty());
    EXPECT_FALSE(QFile::exists(tempFile(QStringLiteral("Mouse-Setup-1.0.2.zip"))));

    // Closed before the download began: nothing is fetched.
    worker->cancelSetupDownload();
    const std::size_t before = server.requestCount();
    run({DeviceTask::DownloadSetup});
    EXPECT_EQ(server.requestCount(), before);
    EXPECT_EQ(host.calls().back(), "setupFailed");

    // The next download is not cancelled by the earlier close.
    serveSetup({{"Mouse-Setup-1.0.2", "#!/bin/sh\nexit 0\n"}});
    run({DeviceTask::DownloadSetup});
    EXPECT_EQ(matching(host.calls(), "startSetup").size(), 1u);
}

TEST_F(UpdateTasks, NoSetupIsFetchedWithoutANewerVersion) {
    server.serveBody("/soft/version", "0.1.0");
    startWorker(updateConfig());
    run({DeviceTask::DownloadSetup, DeviceTask::CheckProgramVersion, DeviceTask::DownloadSetup});
    EXPECT_EQ(server.requestCount(), 1u) << "only the version check";
    EXPECT_EQ(matching(host.calls(), "setupFailed").size(), 2u);
}

// --- the firmware upgrade ---

TEST_F(UpdateTasks, FirmwareUpgradeEndToEnd) {
    const Bytes image = imageOf(1000); // 20 full packets and one of 3 chunks (40 bytes)
    serveFirmware({{kImageName, textOf(image)}, {"notes.txt", "1.06"}});
    auto mouse = startWithFirmwareOffer();
    mouse->clearLog();
    // One data packet is not taken at first: the retry gets it through.
    mouse->failNextWrites(1, vm::InterfaceKind::Bootloader, 5);
    const std::size_t mark = host.count();
    run({DeviceTask::UpgradeFirmware});

    const vm::BootloaderState loader = mouse->bootloader();
    Bytes expected = image;
    expected.resize(1008, 0xFF);
    EXPECT_EQ(loader.image, expected) << "the bootloader holds exactly the image";
    EXPECT_TRUE(loader.ended);
    EXPECT_EQ(loader.crcErrors + loader.sequenceErrors + loader.malformedPackets, 0);

    const auto packets = mouse->received(vm::InterfaceKind::Bootloader);
    ASSERT_EQ(packets.size(), 23u) << "start, 21 data packets, end";
    EXPECT_EQ(packets.front()[2], 0x02);
    EXPECT_EQ(packets[21][2], 0x3C);
    EXPECT_EQ(packets.back()[2], 0x06);
    EXPECT_EQ(server.requests().back().path, "/fw/m1//mouse//firmware-106.zip");

    std::vector<std::string> progress = matching(shownFrom(mark), "showFirmwareProgress");
    ASSERT_GE(progress.size(), 6u);
    EXPECT_EQ(
        std::vector(progress.begin(), progress.begin() + 4),
        (std::vector<std::string>{"showFirmwareProgress 590 5", "showFirmwareProgress 591 7",
                                  "showFirmwareProgress 591 10", "showFirmwareProgress 592 14"}));
    EXPECT_EQ(progress[progress.size() - 2], "showFirmwareProgress 592 100");
    EXPECT_EQ(progress.back(), "showFirmwareProgress 593 100");
    EXPECT_EQ(shownFrom(mark).back(), "endFirmwareUpgrade 1");
    EXPECT_FALSE(QFile::exists(tempFile(QString::fromLatin1(kImageName))));
    EXPECT_FALSE(QFile::exists(tempFile(QStringLiteral("firmware-106.zip"))));

    // The mouse starts its new firmware and comes back with it: the version shown is the
    // one read from the mouse, and the server has nothing newer any more.
    mouse->unplug();
    auto upgraded = attachM1WithBootloader(0x106);
    const std::size_t back = host.count();
    run({DeviceTask::DeviceArrived});
    EXPECT_TRUE(host.waitFor("showVersion 262 ", back));
    EXPECT_EQ(matching(shownFrom(back), "showUpdateStatus"),
              (std::vector<std::string>{"showUpdateStatus firmware 2 106 button=0"}));

    // Written once: another task 27 without a new offer writes nothing.
    upgraded->clearLog();
    run({DeviceTask::UpgradeFirmware});
    EXPECT_TRUE(upgraded->received(vm::InterfaceKind::Bootloader).empty());
    EXPECT_EQ(shownFrom(back).back(), "endFirmwareUpgrade 0");
}

// Every failure says so: the failure line, never "done" and never 100 %, the window left
// for the user to close. After a refused packet no end packet goes out.
TEST_F(UpdateTasks, FirmwareUpgradeFailuresSaySo) {
    enum class Fault { None, NoLoader, RefuseStart, RefuseData, Vanish };
    const std::string image = textOf(imageOf(480));
    const struct {
        const char* name;
        std::vector<ZipEntry> archive; // empty: 404
        Fault fault;
        int lastPercent;
        int dataPackets; // that reached the loader
        int packets;     // every packet that reached it, the start packet included
    } cases[] = {
        {"no archive", {}, Fault::None, 5, 0, 0},
        {"archive without the image", {{"other.bin", image}}, Fault::None, 7, 0, 0},
        {"damaged archive", {{kImageName, image, false, 0, true}}, Fault::None, 7, 0, 0},
        {"empty image", {{kImageName, ""}}, Fault::None, 7, 0, 0},
        {"image too large for the chunk numbers",
         {{kImageName, std::string(update::kMaxImageBytes + 1, '\x11')}},
         Fault::None,
         7,
         0,
         0},
        {"no bootloader", {{kImageName, image}}, Fault::NoLoader, 10, 0, 0},
        {"start refused", {{kImageName, image}}, Fault::RefuseStart, 10, 0, 0},
        {"data packet refused", {{kImageName, image}}, Fault::RefuseData, 37, 3, 4},
        {"bootloader vanishes", {{kImageName, image}}, Fault::Vanish, 28, 2, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto mouse = startWithFirmwareOffer();
        if (c.archive.empty()) {
            server.serveBody(kFirmwareArchivePath, "<html>404</html>", 404);
        } else {
            serveFirmware(c.archive);
        }
        mouse->clearLog();
        switch (c.fault) {
        case Fault::NoLoader:
            mouse->failOpen(vm::InterfaceKind::Bootloader);
            break;
        case Fault::RefuseStart:
            mouse->failNextWrites(2, vm::InterfaceKind::Bootloader);
            break;
        case Fault::RefuseData:
            mouse->failNextWrites(2, vm::InterfaceKind::Bootloader, 4);
            break;
        case Fault::Vanish:
            mouse->unplugAfterWrites(3, vm::InterfaceKind::Bootloader);
            break;
        case Fault::None:
            break;
        }
        const std::size_t mark = host.count();
        run({DeviceTask::UpgradeFirmware});
        const std::vector<std::string> shown = shownFrom(mark);
        ASSERT_GE(shown.size(), 2u);
        EXPECT_EQ(shown[shown.size() - 2],
                  "showFirmwareProgress 594 " + std::to_string(c.lastPercent));
        EXPECT_EQ(shown.back(), "endFirmwareUpgrade 0");
        EXPECT_TRUE(matching(shown, "showFirmwareProgress 593").empty());
        EXPECT_TRUE(matching(shown, "showFirmwareProgress 592 100").empty());

        int data = 0;
        bool ended = false;
        const auto packets = mouse->received(vm::InterfaceKind::Bootloader);
        for (const auto& packet : packets) {
            data += packet[2] != 0x02 && packet[2] != 0x06;
            ended = ended || packet[2] == 0x06;
        }
        EXPECT_EQ(data, c.dataPackets);
        EXPECT_EQ(int(packets.size()), c.packets);
        EXPECT_FALSE(ended) << "no end packet after a failure";

        worker->stop();
        worker.reset();
        mouse->unplug();
    }
}

// The image is written only under a manifest signed with the release key that names this
// mouse, the version offered and the image's hash.
TEST_F(UpdateTasks, FirmwareIsWrittenOnlyUnderASignedManifestForThisMouse) {
    const corvane::test::ReleaseSigner stranger;
    const std::string image = textOf(imageOf(480));
    const std::string manifest = manifestFor(image);
    const std::string signature = release.sign(manifest);
    const struct {
        const char* name;
        std::string manifest; // empty: the server has none
        std::string signature;
        bool archiveFetched; // refused only once the image is known
    } cases[] = {
        {"no manifest", "", "", false},
        {"a manifest without a signature", manifest, "", false},
        {"signed by another key", manifest, stranger.sign(manifest), false},
        {"a truncated signature", manifest, signature.substr(0, signature.size() - 30), false},
        {"a valid signature over another manifest", manifest,
         release.sign(manifestFor(image, "106", "1209:c0a2")), false},
        {"a manifest for another mouse", manifestFor(image, "106", "1209:c0b1"),
         release.sign(manifestFor(image, "106", "1209:c0b1")), false},
        {"an older version than offered", manifestFor(image, "105"),
         release.sign(manifestFor(image, "105")), false},
        {"another image than the manifest names", manifestFor(image + "x"),
         release.sign(manifestFor(image + "x")), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto mouse = startWithFirmwareOffer();
        server.serveBody(kFirmwareArchivePath, corvane::test::zipBytes({{kImageName, image}}));
        server.serveBody(kManifestPath, c.manifest.empty() ? "<html>404</html>" : c.manifest,
                         c.manifest.empty() ? 404 : 200);
        server.serveBody(kManifestPath + std::string(".minisig"),
                         c.signature.empty() ? "<html>404</html>" : c.signature,
                         c.signature.empty() ? 404 : 200);
        mouse->clearLog();
        const std::size_t requests = server.requestCount();
        const std::size_t mark = host.count();
        run({DeviceTask::UpgradeFirmware});

        EXPECT_TRUE(mouse->received(vm::InterfaceKind::Bootloader).empty());
        EXPECT_TRUE(mouse->bootloader().image.empty());
        EXPECT_EQ(shownFrom(mark).back(), "endFirmwareUpgrade 0");
        bool archiveFetched = false;
        const std::vector<corvane::test::HttpRequest> all = server.requests();
        for (std::size_t i = requests; i < all.size(); ++i) {
            archiveFetched = archiveFetched || all[i].path.find(".zip") != std::string::npos;
        }
        EXPECT_EQ(archiveFetched, c.archiveFetched);
        EXPECT_FALSE(QFile::exists(tempFile(QString::fromLatin1(kImageName))));

        worker->stop();
        worker.reset();
        mouse->unplug();
    }
}

// A mouse that lost power while its firmware was written restarts with its bootloader's
// interface alone. The worker finds it, offers the firmware the server has for it, and
// writes it again under the same signed manifest as an upgrade: the mouse comes back.
TEST_F(UpdateTasks, AMouseLeftInItsBootloaderIsOfferedAndRecovered) {
    const Bytes image = imageOf(1000);
    serveFirmware({{kImageName, textOf(image)}});
    server.serveBody("/fw/m1/mouse/version", "106\r\n");
    vm::BootloaderConfig stranded;
    stranded.productId = 0xC0A1;
    auto loader = bus->addBootloader(stranded);
    startWorker(updateConfig());
    run({DeviceTask::DeviceStart});
    ASSERT_TRUE(host.waitFor("showUpdateStatus firmware 3 106 button=1"));

    // A manifest the release key did not sign writes nothing, and the offer stays.
    const corvane::test::ReleaseSigner stranger;
    const std::string manifest = manifestFor(textOf(image));
    serveManifest(manifest, stranger.sign(manifest));
    std::size_t mark = host.count();
    run({DeviceTask::RecoverFirmware});
    EXPECT_EQ(shownFrom(mark).back(), "endFirmwareUpgrade 0");
    EXPECT_TRUE(loader->received(vm::InterfaceKind::Bootloader).empty());

    serveManifest(manifest);
    mark = host.count();
    run({DeviceTask::RecoverFirmware});
    const vm::BootloaderState written = loader->bootloader();
    Bytes expected = image;
    expected.resize(1008, 0xFF);
    EXPECT_EQ(written.image, expected) << "the bootloader holds exactly the image";
    EXPECT_TRUE(written.ended);
    EXPECT_EQ(matching(shownFrom(mark), "showUpdateStatus"),
              (std::vector<std::string>{"showUpdateStatus firmware 2 106 button=0"}));
    EXPECT_EQ(shownFrom(mark).back(), "endFirmwareUpgrade 1");

    // It starts its firmware: the bootloader's interface goes, the mouse's come.
    loader->unplug();
    auto mouse = attachM1WithBootloader(0x106);
    const std::size_t back = host.count();
    run({DeviceTask::DeviceArrived});
    EXPECT_TRUE(host.waitFor("showVersion 262 ", back));
    EXPECT_EQ(matching(shownFrom(back), "showUpdateStatus"),
              (std::vector<std::string>{"showUpdateStatus firmware 2 106 button=0"}))
        << "a mouse with its firmware is not offered a recovery";

    // Written once: another task 28 writes nothing.
    mouse->clearLog();
    run({DeviceTask::RecoverFirmware});
    EXPECT_TRUE(mouse->received(vm::InterfaceKind::Bootloader).empty());
    EXPECT_EQ(shownFrom(back).back(), "endFirmwareUpgrade 0");
}

TEST_F(UpdateTasks, NoFirmwareIsWrittenWithoutAnOffer) {
    serveFirmware({{kImageName, textOf(imageOf(100))}});
    server.serveBody("/fw/m1/mouse/version", "105"); // the mouse has it already
    auto mouse = attachM1WithBootloader(0x105);
    startWorker(updateConfig());
    run({DeviceTask::DeviceStart});
    mouse->clearLog();
    run({DeviceTask::UpgradeFirmware});
    EXPECT_TRUE(mouse->received(vm::InterfaceKind::Bootloader).empty());
    EXPECT_EQ(host.calls().back(), "endFirmwareUpgrade 0");
    for (const corvane::test::HttpRequest& request : server.requests()) {
        EXPECT_EQ(request.path, "/fw/m1/mouse/version");
    }
}

TEST_F(UpdateTasks, StoppingTheWorkerEndsATransfer) {
    HttpReply stalled;
    stalled.kind = HttpReply::Kind::StallBeforeHeaders;
    server.serve("/soft/version", stalled);
    WorkerConfig patient = updateConfig();
    patient.update.http = {}; // would wait 30 s for the stalled server
    startWorker(patient);
    worker->queueTask(DeviceTask::CheckProgramVersion);
    const auto hang = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (server.requestCount() == 0 && std::chrono::steady_clock::now() < hang) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_GT(server.requestCount(), 0u) << "the check never asked the server";
    EXPECT_TRUE(worker->stop()) << "the worker ended within its stop time";
}

} // namespace
} // namespace corvane::protocol::testing
