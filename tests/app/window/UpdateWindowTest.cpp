// The running window with its worker against a real HTTP server on 127.0.0.1 and the
// virtual mouse: the offers of a newer program and firmware, the setup started in the
// program's place, and the firmware written into the mouse.
#include "WindowTest.h"

#include "app/desktop/ProgramLauncher.h"
#include "app/window/MainWindowIds.h"
#include "pages/settings/DeviceSettingsPage.h"
#include "pages/update/UpdateFlow.h"
#include "pages/update/UpdateProcessDlg.h"
#include "pages/update/UpdateTipDlg.h"
#include "protocol/worker/DeviceWorker.h"
#include "support/HttpTestServer.h"
#include "support/ReleaseSigner.h"
#include "support/ZipBuilder.h"
#include "virtualmouse/VirtualMouse.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <condition_variable>
#include <mutex>

#include <sodium.h>

namespace corvane::app::test {
namespace {

// Writes down what it is asked to start and answers as told.
class RecordingLauncher : public ProgramLauncher {
public:
    QString findExecutable(const QString&) const override { return {}; }
    bool startDetached(const QString& program, const QStringList& arguments) override {
        std::lock_guard lock(mutex);
        started.push_back(program);
        startedArguments = arguments;
        return starts;
    }
    std::vector<QString> programs() const {
        std::lock_guard lock(mutex);
        return started;
    }

    mutable std::mutex mutex;
    std::vector<QString> started;
    QStringList startedArguments;
    bool starts = true;
};

std::string imageOf(std::size_t n) {
    std::string image(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        image[i] = static_cast<char>(i * 13 + 1);
    return image;
}

class UpdateWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(server.isListening());
        ASSERT_TRUE(install.isValid());
        copyInstallation();
        adjustContext = [this](WindowContext& context) {
            context.exeFolder = install.path();
            context.launcher = &launcher;
            context.updates.networkAllowed = true;
            context.updates.http.lowSpeedTime = std::chrono::seconds(1);
            context.updates.http.lowSpeedBytes = 1024;
            context.updates.boot.answerTimeoutMs = 50;
            context.updates.afterUpgrade = std::chrono::milliseconds(1);
            context.updates.setupPublicKey = release.publicKey();
            context.updates.firmwarePublicKey = release.publicKey();
        };
    }

    // data/ with its server addresses on the test server.
    void copyInstallation() {
        const QDir target(install.path());
        target.mkpath(QStringLiteral("device"));
        QDirIterator files(sourceData(), {QStringLiteral("config.xml"), QStringLiteral("*.xml")},
                           QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            const QString relative = QDir(sourceData()).relativeFilePath(path);
            if (relative != QLatin1String("config.xml") && !relative.startsWith("device/"))
                continue;
            QFile in(path);
            ASSERT_TRUE(in.open(QIODevice::ReadOnly));
            QString text = QString::fromUtf8(in.readAll());
            text.replace(QStringLiteral("https://corvane.example/upgrade/"), server.url("/soft/"));
            text.replace(QStringLiteral("https://corvane.example/firmware/corvane_m1"),
                         server.url("/fw/m1"));
            QFile out(target.filePath(relative));
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(text.toUtf8());
        }
    }

    // A file on the server and its release signature beside it.
    void serveSigned(const std::string& path, const std::string& body) {
        server.serveBody(path, body);
        server.serveBody(path + ".minisig", release.sign(body));
    }
    void serveSetup() {
        serveSigned("/soft/Mouse-Setup-1.0.2.zip",
                    corvane::test::zipBytes({{"Mouse-Setup-1.0.2", "#!/bin/sh\nexit 0\n"}}));
    }

    // The server offers firmware 1.06 (signed) to an M1 with 1.05 and its bootloader.
    std::shared_ptr<vm::WiredMouse> offerFirmware(const std::string& image) {
        serveFirmware(image);
        return addM1(0x105);
    }
    std::shared_ptr<vm::WiredMouse> addM1(std::uint16_t release) {
        vm::WiredMouseConfig config;
        config.productId = 0xC0A1;
        config.releaseNumber = release;
        config.mouse.deviceId = "CVM1";
        config.withBootloader = true;
        return bus->addWiredMouse(config);
    }
    // Firmware 1.06 for the M1: its version, archive and signed manifest.
    void serveFirmware(const std::string& image) {
        server.serveBody("/soft/version", "0.1.0");
        server.serveBody("/fw/m1/mouse/version", "106");
        server.serveBody("/fw/m1/mouse/firmware-106.zip",
                         corvane::test::zipBytes({{"firmware     -106.bin", image}}));
        std::array<std::uint8_t, 32> hash{};
        crypto_hash_sha256(hash.data(), reinterpret_cast<const std::uint8_t*>(image.data()),
                           image.size());
        std::string hex(65, '\0');
        sodium_bin2hex(hex.data(), hex.size(), hash.data(), hash.size());
        hex.pop_back();
        serveSigned("/fw/m1/mouse/firmware-106.manifest",
                    "usb=1209:c0a1\nversion=106\nsha256=" + hex + "\n");
    }

    corvane::test::HttpTestServer server;
    QTemporaryDir install;
    RecordingLauncher launcher;
    corvane::test::ReleaseSigner release;
};

TEST_F(UpdateWindowTest, ANewerProgramIsOfferedAndItsSetupStartedInTheProgramsPlace) {
    server.serveBody("/soft/version", "1.0.2\r\n");
    serveSetup();
    messageBoxes.answer = 1;
    startWindow();

    ASSERT_TRUE(waitUntil([&] { return !quits.empty(); })) << "the program did not end";
    ASSERT_EQ(messageBoxes.shown.size(), 1u);
    EXPECT_EQ(messageBoxes.shown[0].text, "New version:V1.0.2, update now?");
    EXPECT_EQ(messageBoxes.shown[0].title, englishText(581));
    EXPECT_EQ(messageBoxes.shown[0].style, 4);
    const QString setup = dataDir.path() + QStringLiteral("/temp/Mouse-Setup-1.0.2");
    EXPECT_EQ(launcher.programs(), std::vector<QString>{setup});
    EXPECT_TRUE(launcher.startedArguments.isEmpty());
    EXPECT_TRUE(QFileInfo(setup).isExecutable());
    EXPECT_EQ(quits, std::vector<int>{0}) << "the normal exit path, once";
    EXPECT_EQ(window->updates().statusLine(protocol::UpdateKind::Program).text,
              englishText(582) + ": v1.0.2");
}

TEST_F(UpdateWindowTest, ASetupThatCannotStartLeavesTheProgramRunning) {
    server.serveBody("/soft/version", "1.0.2");
    serveSetup();
    launcher.starts = false;
    startWindow();

    ASSERT_TRUE(waitUntil([&] {
        pages::UpdateProcessDlg* progress = window->updates().setupWindow();
        return progress && progress->hasFailed();
    })) << "the setup window shows the failure";
    EXPECT_EQ(launcher.programs().size(), 1u);
    waitForWorker(); // the failed setup's task has ended and what it posted arrived
    EXPECT_TRUE(quits.empty());
    // The user closes it and has the main window back.
    window->updates().setupWindow()->sendMessage(ui::Message::Close);
    EXPECT_EQ(window->updates().setupWindow(), nullptr);
}

TEST_F(UpdateWindowTest, NewerFirmwareIsOfferedAndWrittenIntoTheMouse) {
    const std::string image = imageOf(500);
    auto mouse = offerFirmware(image);
    messageBoxes.answer = 1;
    startWindow();

    ASSERT_TRUE(waitUntil([&] { return mouse->bootloader().ended; }))
        << "the firmware was not written";
    ASSERT_EQ(messageBoxes.shown.size(), 1u) << "the program is current; only the firmware";
    EXPECT_EQ(messageBoxes.shown[0].text, "New version:V1.06, update now?");
    EXPECT_EQ(messageBoxes.shown[0].title, englishText(551));
    const vm::BootloaderState loader = mouse->bootloader();
    const std::string written(loader.image.begin(), loader.image.end());
    EXPECT_EQ(written.substr(0, image.size()), image);
    EXPECT_TRUE(waitUntil([&] { return window->updates().firmwareWindow() == nullptr; }))
        << "the progress window closes at the end";
    EXPECT_EQ(window->updates().statusLine(protocol::UpdateKind::Program).text, englishText(580));
}

// Ending the program while the firmware is written would leave the mouse with half a
// firmware: the tray's exit waits for the end with a notice, the socket's quit is refused.
TEST_F(UpdateWindowTest, QuittingWaitsUntilTheFirmwareIsWritten) {
    const std::string image = imageOf(1000);
    auto mouse = offerFirmware(image);
    std::mutex mutex;
    std::condition_variable handled;
    bool asked = false;
    bool done = false;
    std::size_t noticesAfterSocketQuit = 0;
    // At the first data packet the worker waits until the window has handled both
    // requests (a window that ended at once would stop it mid-image).
    mouse->observeWrites(vm::InterfaceKind::Bootloader, [&] {
        {
            std::lock_guard lock(mutex);
            if (asked || mouse->bootloader().image.empty())
                return;
            asked = true;
        }
        QMetaObject::invokeMethod(
            window.get(),
            [&] {
                window->sendMessage(MainMessage::Quit, 0, MainMessage::QuitCode);
                noticesAfterSocketQuit = messageBoxes.shown.size();
                window->sendMessage(ui::Message::Command, MainMessage::TrayExitCommand);
                std::lock_guard lock(mutex);
                done = true;
                handled.notify_all();
            },
            Qt::QueuedConnection);
        std::unique_lock lock(mutex);
        handled.wait_for(lock, std::chrono::seconds(5), [&] { return done; });
    });
    messageBoxes.answer = 1;
    startWindow();

    ASSERT_TRUE(waitUntil([&] { return !quits.empty(); })) << "the program did not end";
    mouse->observeWrites(vm::InterfaceKind::Bootloader, {});
    EXPECT_TRUE(asked);
    EXPECT_EQ(quits, std::vector<int>{0});
    const vm::BootloaderState loader = mouse->bootloader();
    EXPECT_TRUE(loader.ended) << "the end packet went out before the program ended";
    ASSERT_GE(loader.image.size(), image.size());
    EXPECT_EQ(std::string(loader.image.begin(), loader.image.begin() + image.size()), image);

    ASSERT_EQ(messageBoxes.shown.size(), 2u) << "the offer and one notice";
    EXPECT_EQ(noticesAfterSocketQuit, 1u) << "the socket's quit shows nothing and is refused";
    EXPECT_EQ(messageBoxes.shown[1].text, englishText(598));
}

// A mouse that lost power while its firmware was written comes back with its bootloader's
// interface alone: the window turns to the device settings page, which offers to write
// the firmware again; its button writes the whole image and the mouse comes back.
TEST_F(UpdateWindowTest, AMouseLeftInItsBootloaderIsOfferedAndRecovered) {
    using DS = pages::DeviceSettingsPage;
    const std::string image = imageOf(700);
    serveFirmware(image);
    vm::BootloaderConfig stranded;
    stranded.productId = 0xC0A1;
    auto loader = bus->addBootloader(stranded);
    watchVirtualHotplug = true;
    buildPagesAtStart = false; // the page is built when the window turns to it
    startWindow([](DeviceMainDlg& w) {
        w.addPage(PageSlot::DeviceSettings, std::make_unique<DS>(w.pageHost()));
    });

    pages::PageControls* page = window->pageControls(PageSlot::DeviceSettings);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(waitUntil([&] {
        ui::Control* shownButton = page->control(DS::FirmwareButton);
        return shownButton && shownButton->isVisible() && shownButton->isEnabled();
    })) << "the device settings page is not shown";
    ui::Control* button = page->control(DS::FirmwareButton);
    EXPECT_EQ(page->control(DS::FirmwareStatus)->text(), englishText(650).arg("V1.06"));
    EXPECT_EQ(button->text(), englishText(651));
    EXPECT_TRUE(messageBoxes.shown.empty()) << "nothing is written before the user asks";
    EXPECT_TRUE(loader->received(vm::InterfaceKind::Bootloader).empty());

    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_NE(window->updates().firmwareWindow(), nullptr) << "the progress is shown";
    ASSERT_TRUE(waitUntil([&] { return loader->bootloader().ended; }, 20000))
        << "the firmware was not written";
    const vm::BootloaderState written = loader->bootloader();
    ASSERT_GE(written.image.size(), image.size());
    EXPECT_EQ(std::string(written.image.begin(), written.image.begin() + image.size()), image);
    EXPECT_TRUE(waitUntil([&] { return window->updates().firmwareWindow() == nullptr; }))
        << "the progress window closes at the end";

    // The mouse starts the firmware it was given and is settled as it arrives.
    loader->unplug();
    addM1(0x106);
    EXPECT_TRUE(waitUntil(
        [&] {
            return shown(MainControl::Tabs) && textOf(MainControl::DeviceState) == englishText(51);
        },
        20000));
    EXPECT_EQ(page->control(DS::FirmwareStatus)->text(), englishText(580));
    EXPECT_EQ(button->text(), englishText(578));
}

} // namespace
} // namespace corvane::app::test
