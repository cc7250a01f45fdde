#include <gtest/gtest.h>

#include <chrono>

#include "Host.h"
#include "hid/ReportDescriptor.h"

namespace corvane::vm::testing {
namespace {

class VirtualMouseCommands : public ::testing::Test {
protected:
    VirtualMouse bus;
};

std::vector<std::uint8_t> dataOf(const std::array<std::uint8_t, 65>& answer, std::size_t count) {
    return {answer.begin() + 4, answer.begin() + 4 + static_cast<std::ptrdiff_t>(count)};
}

struct WriteRead {
    std::uint8_t write;
    std::uint8_t size;
    std::vector<std::uint8_t> parameters;
};

TEST_F(VirtualMouseCommands, ReadsAnswerWithWhatTheWritesLeft) {
    auto mouse = bus.addWiredMouse();
    Host host(bus, mouse->path(InterfaceKind::Command));
    const WriteRead cases[] = {
        {0x02, 0x01, {0x40}},
        {0x03, 0x25, {0x26, 0xF7, 0x02, 0xF7, 0x02, 0x01, 0x00, 0x01, 0x00}},
        {0x04, 0x12, {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF}},
        {0x05, 0x03, {0x01, 0x32, 0x00}},
        {0x06, 0x05, {0x03, 0x01, 0x00}},
        {0x07, 0x04, {0x05, 0x00, 0x01, 0x08}},
    };
    for (const WriteRead& c : cases) {
        SCOPED_TRACE(int(c.write));
        const auto accepted = host.exchange(request(c.write, 0x01, c.size, c.parameters));
        EXPECT_EQ(accepted[0], c.write);
        EXPECT_EQ(accepted[1], 0x00);

        const auto answer = host.exchange(readRequest(c.write + 0x10));
        EXPECT_EQ(answer[0], c.write + 0x10);
        EXPECT_EQ(answer[1], 0x00);
        std::vector<std::uint8_t> expected(c.parameters);
        expected.resize(27, 0);
        EXPECT_EQ(dataOf(answer, 27), expected);
        ASSERT_TRUE(mouse->kept(c.write).has_value());
        EXPECT_EQ(mouse->kept(c.write)->size, c.size);
    }
}

TEST_F(VirtualMouseCommands, GetInfoTellsTheIdentity) {
    WiredMouseConfig config;
    config.mouse = {"AB", 0x96, 0x40, 2, 77};
    auto mouse = bus.addWiredMouse(config);
    Host host(bus, mouse->path(InterfaceKind::Command));
    const auto info = host.exchange(readRequest(0x10));
    EXPECT_EQ(dataOf(info, 11),
              (std::vector<std::uint8_t>{'A', 'B', 0, 0, 0, 0, 0x96, 0x40, 2, 77, 1}));
}

TEST_F(VirtualMouseCommands, TheReceiverSpeaksForItsMouseOnlyWhileLinked) {
    ReceiverConfig config;
    config.linked = false;
    config.versionMajor = 0x02;
    config.versionMinor = 0x07;
    auto receiver = bus.addReceiver(config);
    Host host(bus, receiver->path(InterfaceKind::Command));

    auto info = host.exchange(readRequest(0x10));
    EXPECT_EQ(dataOf(info, 11),
              (std::vector<std::uint8_t>{'C', 'V', '0', '1', 0, 0, 0x11, 0x20, 0, 0, 0}));
    const auto version = host.exchange(readRequest(0x20));
    EXPECT_EQ(dataOf(version, 2), (std::vector<std::uint8_t>{0x02, 0x07}));

    EXPECT_GT(host.write(request(0x02, 0x01, 0x01, {0x40})), 0);
    std::array<std::uint8_t, 65> report{};
    EXPECT_EQ(host.read(report, 10), 0) << "nobody answers for a mouse that is off";
    EXPECT_EQ(receiver->kept(0x02)->parameters[0], 0x01) << "and nothing is kept";

    receiver->link();
    ASSERT_EQ(host.read(report, 0), 64);
    EXPECT_EQ((std::vector<std::uint8_t>(report.begin(), report.begin() + 4)),
              (std::vector<std::uint8_t>{0xC0, 0x01, 80, 1}));
    info = host.exchange(readRequest(0x10));
    EXPECT_EQ(info[14], 1);
    EXPECT_EQ(info[13], 80);
    EXPECT_EQ(host.exchange(request(0x02, 0x01, 0x01, {0x40}))[1], 0x00);
    EXPECT_EQ(receiver->kept(0x02)->parameters[0], 0x40);
}

TEST_F(VirtualMouseCommands, AWiredMouseHasNoReceiverVersion) {
    auto mouse = bus.addWiredMouse();
    Host host(bus, mouse->path(InterfaceKind::Command));
    EXPECT_EQ(host.exchange(readRequest(0x20))[1], kStatusRejected);
}

TEST_F(VirtualMouseCommands, FactoryResetRestoresTheFactoryState) {
    auto mouse = bus.addWiredMouse();
    Host host(bus, mouse->path(InterfaceKind::Command));
    host.exchange(request(0x02, 0x01, 0x01, {0x40}));
    host.exchange(request(0x08, 0x01, 0x05, {2, 0x30, 0x01, 0x00, 0x04}));
    ASSERT_FALSE(mouse->macro(2).empty());

    EXPECT_EQ(host.exchange(request(0x0F, 0x01, 0x01, {0x00}))[1], kStatusRejected)
        << "only B4 = 0xFF resets";
    EXPECT_EQ(mouse->kept(0x02)->parameters[0], 0x40);

    EXPECT_EQ(host.exchange(request(0x0F, 0x01, 0x01, {0xFF}))[1], 0x00);
    EXPECT_EQ(host.exchange(readRequest(0x12))[4], 0x01);
    EXPECT_TRUE(mouse->macro(2).empty());
    EXPECT_EQ(mouse->factoryResets(), 1);
}

TEST_F(VirtualMouseCommands, LightControlPutsTheFactoryLightingBack) {
    auto mouse = bus.addWiredMouse();
    Host host(bus, mouse->path(InterfaceKind::Command));
    host.exchange(request(0x05, 0x01, 0x02, {0x00, 0x15}));
    EXPECT_EQ(host.exchange(request(0x0E, 0x01, 0x04, {0x42}))[1], 0x00);
    const auto lighting = host.exchange(readRequest(0x15));
    EXPECT_EQ(dataOf(lighting, 2), (std::vector<std::uint8_t>{0x04, 0x32}));
    EXPECT_EQ(mouse->lastLightControl(), 0x42);
    EXPECT_EQ(host.exchange(request(0x0E, 0x01, 0x04, {0x01}))[1], kStatusRejected);
}

TEST_F(VirtualMouseCommands, MalformedRequestsAreRejectedAndChangeNothing) {
    auto mouse = bus.addWiredMouse();
    Host host(bus, mouse->path(InterfaceKind::Command));
    auto badChecksum = request(0x02, 0x01, 0x01, {0x40});
    badChecksum[32] ^= 0x01;
    const std::vector<std::vector<std::uint8_t>> cases{
        badChecksum,
        request(0x02, 0x00, 0x01, {0x40}),    // a write numbered as a read
        request(0x02, 0x01, 0x02, {0x40}),    // wrong size byte
        request(0x12, 0x01, 0x00),            // a read numbered as a write
        request(0x33, 0x00, 0x00),            // unknown command
        request(0x08, 0x00, 0x05, {1, 2, 3}), // a macro packet of zero packets
        request(0x08, 0x12, 0x05, {1, 2, 3}), // the second packet first
    };
    for (const auto& bytes : cases) {
        EXPECT_EQ(host.exchange(bytes)[1], kStatusRejected);
    }
    EXPECT_EQ(mouse->kept(0x02)->parameters[0], 0x01);
    EXPECT_EQ(mouse->received().size(), cases.size()) << "each was received and logged";
}

TEST_F(VirtualMouseCommands, MacroPacketsAreJoinedInOrder) {
    auto mouse = bus.addWiredMouse();
    Host host(bus, mouse->path(InterfaceKind::Command));
    std::vector<std::uint8_t> first(27, 0x11);
    first[0] = 5;
    EXPECT_EQ(host.exchange(request(0x08, 0x02, 27, first))[1], 0x00);
    EXPECT_EQ(host.exchange(request(0x08, 0x12, 2, {0x22, 0x33}))[1], 0x00);
    std::vector<std::uint8_t> stream(first);
    stream.insert(stream.end(), {0x22, 0x33});
    EXPECT_EQ(mouse->macro(5), stream);

    // A short packet that is not the last breaks the stream.
    EXPECT_EQ(host.exchange(request(0x08, 0x02, 3, {6, 1, 2}))[1], kStatusRejected);
    EXPECT_TRUE(mouse->macro(6).empty());
}

TEST_F(VirtualMouseCommands, TheDpiButtonStepsTheActiveStageAndTellsTheHost) {
    auto mouse = bus.addWiredMouse();
    Host host(bus, mouse->path(InterfaceKind::Command));
    host.exchange(request(0x03, 0x01, 0x25, {0x23}));
    std::array<std::uint8_t, 65> report{};
    for (std::uint8_t expected : {0x03, 0x13, 0x23}) {
        ASSERT_TRUE(mouse->pressDpiButton());
        ASSERT_EQ(host.read(report, 0), 64);
        EXPECT_EQ(report[0], 0xC2);
        EXPECT_EQ(report[1], expected);
    }
    EXPECT_EQ(host.exchange(readRequest(0x13))[4], 0x23) << "the stage is kept";
}

TEST_F(VirtualMouseCommands, ConnectionNoticesCarryTheBattery) {
    auto receiver = bus.addReceiver();
    Host host(bus, receiver->path(InterfaceKind::Command));
    std::array<std::uint8_t, 65> report{};

    receiver->unlink();
    ASSERT_EQ(host.read(report, 0), 64);
    EXPECT_EQ((std::vector<std::uint8_t>(report.begin(), report.begin() + 4)),
              (std::vector<std::uint8_t>{0xC0, 0x00, 0x00, 0x00}));
    EXPECT_FALSE(receiver->pressDpiButton()) << "an unlinked mouse cannot reach the host";

    receiver->setBattery(2, 15);
    receiver->link();
    ASSERT_EQ(host.read(report, 0), 64);
    EXPECT_EQ((std::vector<std::uint8_t>(report.begin(), report.begin() + 4)),
              (std::vector<std::uint8_t>{0xC0, 0x01, 15, 2}));

    receiver->sendConnectionNotice(0x03, 0, 0);
    ASSERT_EQ(host.read(report, 0), 64);
    EXPECT_EQ(report[1], 0x03);
    EXPECT_FALSE(receiver->isLinked());
}

// hidraw hands the device exactly what was written. The firmware acts on a whole report
// of its command collection and drops anything else, answering nothing.
TEST_F(VirtualMouseCommands, OnlyWholeReportsAreTakenAndEveryWriteIsLoggedAsItCame) {
    struct Case {
        const char* what;
        std::size_t reportLength; // of the command collection
        std::vector<std::uint8_t> bytes;
        bool taken;
    };
    auto withId = [](std::vector<std::uint8_t> bytes, std::uint8_t id) {
        bytes[0] = id;
        return bytes;
    };
    const Case cases[] = {
        {"64-byte report, 65 written", 64, readRequest(0x12), true},
        {"64-byte report, 33 written", 64, request(0x12, 0, 0, {}, 33), false},
        {"64-byte report, 66 written", 64, request(0x12, 0, 0, {}, 66), false},
        {"64-byte report, unknown report ID", 64, withId(readRequest(0x12), 0x01), false},
        {"32-byte report, 33 written", 32, request(0x12, 0, 0, {}, 33), true},
        {"32-byte report, 65 written", 32, readRequest(0x12), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WiredMouseConfig config;
        config.command.reportLength = c.reportLength;
        auto mouse = bus.addWiredMouse(config);
        Host host(bus, mouse->path(InterfaceKind::Command));

        EXPECT_EQ(host.write(c.bytes), static_cast<int>(c.bytes.size()));
        std::array<std::uint8_t, 65> report{};
        EXPECT_EQ(host.read(report, 20), c.taken ? static_cast<int>(c.reportLength) : 0);
        ASSERT_EQ(mouse->log().size(), 1u);
        EXPECT_EQ(mouse->log()[0].kind, InterfaceKind::Command);
        EXPECT_EQ(mouse->log()[0].bytes, c.bytes);
        EXPECT_EQ(mouse->log()[0].taken, c.taken);
        mouse->unplug();
    }
}

TEST_F(VirtualMouseCommands, EachNodeDescribesItsCollections) {
    struct Case {
        const char* what;
        CommandCollection command;
        hid::ReportLayout layout;
        int interfaceNumber;
        std::size_t collectionsOnNode;
    };
    const Case cases[] = {
        {"64-byte reports alone on interface 2", {}, {true, false, 0, 64, 0, 64}, 2, 1},
        {"32-byte reports", {0xFF01, 0x10, 32}, {true, false, 0, 32, 0, 32}, 2, 1},
        {"numbered, alone", {0xFF01, 0x10, 64, 0x05}, {true, true, 5, 64, 5, 64}, 2, 1},
        {"beside the mouse",
         {0x0001, 0x0000, 63, 0, CommandPlacement::WithMouse},
         {true, true, 3, 63, 3, 63},
         0,
         2},
        {"beside keyboard and media keys",
         {0xFF01, 0x10, 32, 0x07, CommandPlacement::WithKeyboard},
         {true, true, 7, 32, 7, 32},
         1,
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WiredMouseConfig config;
        config.command = c.command;
        auto mouse = bus.addWiredMouse(config);
        const std::string path = mouse->path(InterfaceKind::Command);
        EXPECT_EQ(mouse->interfaceNumber(InterfaceKind::Command), c.interfaceNumber);
        std::size_t listed = 0;
        for (const hid::HidDeviceInfo& entry : bus.enumerate(0, 0)) {
            listed += entry.path == path ? 1 : 0;
        }
        EXPECT_EQ(listed, c.collectionsOnNode) << "one entry per collection of the node";

        hid::HidDevice* handle = bus.open_path(path);
        ASSERT_NE(handle, nullptr);
        std::vector<std::uint8_t> bytes(hid::kMaxReportDescriptorSize);
        const int size = bus.get_report_descriptor(handle, bytes.data(), bytes.size());
        bus.close(handle);
        ASSERT_GT(size, 0);
        const auto descriptor = hid::parseReportDescriptor(bytes.data(), std::size_t(size));
        ASSERT_TRUE(descriptor.has_value());
        EXPECT_EQ(descriptor->collections.size(), c.collectionsOnNode);
        EXPECT_EQ(hid::commandLayout(*descriptor), c.layout);
        mouse->unplug();
    }
}

// On a node shared with the keyboard, every report carries its collection's ID first.
TEST_F(VirtualMouseCommands, ANumberedNodePutsEachReportsIdFirst) {
    WiredMouseConfig config;
    config.command.placement = CommandPlacement::WithKeyboard;
    auto mouse = bus.addWiredMouse(config);
    ASSERT_EQ(mouse->path(InterfaceKind::Keyboard), mouse->path(InterfaceKind::Command));
    Host host(bus, mouse->path(InterfaceKind::Command));

    mouse->sendReport(InterfaceKind::Keyboard, {0x02, 0x00, 0x04});
    std::vector<std::uint8_t> getInfo = request(0x10, 0, 0, {}, 65);
    getInfo[0] = 0x03;
    ASSERT_EQ(host.write(getInfo), 65);
    EXPECT_TRUE(mouse->log().back().taken);

    std::array<std::uint8_t, 65> report{};
    ASSERT_EQ(host.read(report, 0), 9) << "the keyboard's ID and its eight bytes";
    EXPECT_EQ((std::vector<std::uint8_t>(report.begin(), report.begin() + 4)),
              (std::vector<std::uint8_t>{0x01, 0x02, 0x00, 0x04}));
    ASSERT_EQ(host.read(report, 0), 65);
    EXPECT_EQ((std::vector<std::uint8_t>(report.begin(), report.begin() + 3)),
              (std::vector<std::uint8_t>{0x03, 0x10, 0x00}));

    getInfo[0] = 0x00; // as if the node numbered nothing
    ASSERT_EQ(host.write(getInfo), 65);
    EXPECT_FALSE(mouse->log().back().taken);
    EXPECT_EQ(host.read(report, 10), 0);
}

TEST_F(VirtualMouseCommands, WhileItsFlashIsWrittenTheMouseAnswersLate) {
    using namespace std::chrono_literals;
    auto mouse = bus.addWiredMouse();
    Host host(bus, mouse->path(InterfaceKind::Command));
    mouse->writeFlashFor(60ms);
    std::array<std::uint8_t, 65> report{};

    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(host.write(request(0x02, 0x01, 0x01, {0x40})), 65);
    ASSERT_EQ(host.write(readRequest(0x12)), 65);
    EXPECT_EQ(host.read(report, 20), 0) << "still writing its flash";
    ASSERT_EQ(host.read(report, 1000), 64);
    EXPECT_EQ(report[0], 0x02);
    ASSERT_EQ(host.read(report, 1000), 64);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 60ms);
    EXPECT_EQ(report[0], 0x12) << "the read waited for the flash";
    EXPECT_EQ(report[4], 0x40);

    mouse->writeFlashFor(0ms);
    ASSERT_EQ(host.write(request(0x02, 0x01, 0x01, {0x20})), 65);
    EXPECT_EQ(host.read(report, 0), 64) << "back to answering at once";
}

} // namespace
} // namespace corvane::vm::testing
