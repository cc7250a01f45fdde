// The bootloader packets and the image transfer, against the virtual bootloader (which
// checks every chunk's CRC and sequence number on its own).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "update/BootloaderLink.h"
#include "virtualmouse/VirtualMouse.h"

namespace corvane::update {
namespace {

using Bytes = std::vector<std::uint8_t>;
using vm::InterfaceKind;

Bytes imageOf(std::size_t n) {
    Bytes image(n);
    for (std::size_t i = 0; i < n; ++i) {
        image[i] = static_cast<std::uint8_t>((i * 31 + i / 256) & 0xFF);
    }
    return image;
}

// The image as the loader keeps it: whole chunks, the last one filled up with 0xFF.
Bytes padded(const Bytes& image) {
    Bytes bytes = image;
    bytes.resize((image.size() + 15) / 16 * 16, 0xFF);
    return bytes;
}

TEST(BootPackets, Crc16ModbusOfTheCheckText) {
    const std::uint8_t text[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(crc16Modbus(text, sizeof text), 0x4B37);
    EXPECT_EQ(crc16Modbus(text, 0), 0xFFFF);
}

TEST(BootPackets, StartEndAndDataPacketBytes) {
    BootPacket start;
    start.fill(0xFF);
    start[0] = 0x05;
    start[1] = 0x02;
    start[2] = 0x02;
    start[3] = 0x00;
    start[4] = 0x01;
    EXPECT_EQ(bootStartPacket(), start);

    BootPacket end;
    end.fill(0xFF);
    end[0] = 0x05;
    end[1] = 0x02;
    end[2] = 0x06;
    end[3] = 0x00;
    end[4] = 0x02;
    EXPECT_EQ(bootEndPacket(), end);

    // 100 bytes: the third packet carries chunk 6 alone, 4 image bytes and 12 of 0xFF.
    const Bytes image = imageOf(100);
    const BootPacket last = bootDataPacket(image, 6, 1);
    EXPECT_EQ(last[2], 0x14);
    EXPECT_EQ(last[4], 6);
    EXPECT_EQ(last[5], 0);
    EXPECT_TRUE(std::equal(image.begin() + 96, image.end(), last.begin() + 6));
    EXPECT_TRUE(
        std::all_of(last.begin() + 10, last.begin() + 22, [](auto b) { return b == 0xFF; }));
    const std::uint16_t crc = crc16Modbus(last.data() + 4, 18);
    EXPECT_EQ(last[22], crc & 0xFF);
    EXPECT_EQ(last[23], crc >> 8);
    EXPECT_TRUE(std::all_of(last.begin() + 24, last.end(), [](auto b) { return b == 0xFF; }));

    // The CRC covers the sequence number: equal data under two numbers differ.
    const Bytes zeros(96, 0);
    const BootPacket a = bootDataPacket(zeros, 0, 1);
    const BootPacket b = bootDataPacket(zeros, 1, 1);
    EXPECT_TRUE(std::equal(a.begin() + 6, a.begin() + 22, b.begin() + 6));
    EXPECT_NE(std::vector(a.begin() + 22, a.begin() + 24),
              std::vector(b.begin() + 22, b.begin() + 24));
}

TEST(BootPackets, ImageSizeIsLimitedByTheChunkNumbers) {
    EXPECT_FALSE(isImageSizeAllowed(0));
    EXPECT_TRUE(isImageSizeAllowed(1));
    EXPECT_TRUE(isImageSizeAllowed(kMaxImageBytes));
    EXPECT_FALSE(isImageSizeAllowed(kMaxImageBytes + 1));
    EXPECT_EQ(kMaxImageBytes, 65536u * 16u);
}

// The HID library with every call on the bootloader written down, in order.
class RecordingHid final : public hid::HidApi {
public:
    explicit RecordingHid(std::shared_ptr<vm::VirtualMouse> bus) : bus(std::move(bus)) {}

    int init() override { return bus->init(); }
    int exit() override { return bus->exit(); }
    std::vector<hid::HidDeviceInfo> enumerate(std::uint16_t v, std::uint16_t p) override {
        return bus->enumerate(v, p);
    }
    hid::HidDevice* open_path(const std::string& path) override { return bus->open_path(path); }
    int write(hid::HidDevice* device, const std::uint8_t* data, std::size_t length) override {
        const int result = bus->write(device, data, length);
        calls.push_back("write " + std::to_string(length) + (result > 0 ? "" : " failed"));
        return result;
    }
    int read_timeout(hid::HidDevice* device, std::uint8_t* data, std::size_t length,
                     int ms) override {
        const int result = bus->read_timeout(device, data, length, ms);
        calls.push_back("read " + std::to_string(ms) + (result > 0 ? "" : " none"));
        return result;
    }
    void close(hid::HidDevice* device) override { bus->close(device); }
    void cancel_reads(hid::HidDevice* device) override { bus->cancel_reads(device); }
    int get_report_descriptor(hid::HidDevice* device, std::uint8_t* buffer,
                              std::size_t size) override {
        return bus->get_report_descriptor(device, buffer, size);
    }

    std::shared_ptr<vm::VirtualMouse> bus;
    std::vector<std::string> calls;
};

class BootloaderLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        vm::WiredMouseConfig config;
        config.withBootloader = true;
        mouse = bus->addWiredMouse(config);
        handle = hid.open_path(mouse->path(InterfaceKind::Bootloader));
        ASSERT_NE(handle, nullptr);
    }
    void TearDown() override {
        if (handle) {
            hid.close(handle);
        }
    }

    BootloaderLink link() {
        return BootloaderLink(hid, handle, {}, [this](std::chrono::milliseconds ms) {
            if (ms.count() > 0) {
                pauses.push_back(static_cast<int>(ms.count()));
            }
            return true;
        });
    }

    // Data packets the loader received, by their byte 2.
    std::vector<int> dataPacketLengths() const {
        std::vector<int> lengths;
        for (const auto& packet : mouse->received(InterfaceKind::Bootloader)) {
            if (packet[2] != 0x02 && packet[2] != 0x06) {
                lengths.push_back(packet[2]);
            }
        }
        return lengths;
    }

    std::shared_ptr<vm::VirtualMouse> bus = std::make_shared<vm::VirtualMouse>();
    RecordingHid hid{bus};
    std::shared_ptr<vm::WiredMouse> mouse;
    hid::HidDevice* handle = nullptr;
    std::vector<int> pauses;
};

TEST_F(BootloaderLinkTest, ImagesOfEverySizeArriveWhole) {
    const struct {
        std::size_t size;
        std::size_t packets;
        int lastLength;    // byte 2 of the last data packet
        int progressCalls; // one per full packet
        std::vector<int> pauses;
    } cases[] = {
        {1, 1, 0x14, 0, {}},
        {16, 1, 0x14, 0, {}},
        {17, 1, 0x28, 0, {}},
        {47, 1, 0x3C, 0, {}},
        {48, 1, 0x3C, 1, {10}},
        {49, 2, 0x14, 1, {10}},
        {100, 3, 0x14, 2, {10, 10}},
        {kMaxImageBytes, (kMaxImageBytes + 47) / 48, 0x14, int(kMaxImageBytes / 48), {10, 10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        mouse->clearLog();
        pauses.clear();
        const Bytes image = imageOf(c.size);
        std::vector<int> progress;
        BootloaderLink boot = link();
        ASSERT_TRUE(boot.bootStart());
        EXPECT_EQ(boot.transferImage(image, [&](int p) { progress.push_back(p); }),
                  TransferResult::Sent);
        ASSERT_TRUE(boot.bootEnd());

        const vm::BootloaderState loader = mouse->bootloader();
        EXPECT_TRUE(loader.ended);
        EXPECT_EQ(loader.crcErrors + loader.sequenceErrors + loader.malformedPackets, 0);
        EXPECT_EQ(loader.image, padded(image)) << "the loader holds exactly the image";
        const std::vector<int> lengths = dataPacketLengths();
        ASSERT_EQ(lengths.size(), c.packets);
        EXPECT_EQ(lengths.back(), c.lastLength);
        EXPECT_EQ(int(progress.size()), c.progressCalls);
        if (!progress.empty()) {
            EXPECT_EQ(progress.back(), 100);
            EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
            EXPECT_GE(progress.front(), 10);
        }
        EXPECT_EQ(pauses, c.pauses);
    }
}

TEST_F(BootloaderLinkTest, AnImageTooLargeForTheChunkNumbersIsNotSent) {
    BootloaderLink boot = link();
    EXPECT_EQ(boot.transferImage(imageOf(kMaxImageBytes + 1), {}), TransferResult::Refused);
    EXPECT_TRUE(mouse->received(InterfaceKind::Bootloader).empty());
}

TEST_F(BootloaderLinkTest, AWriteNotTakenIsTriedOnceMoreAndNeedsAnAnswer) {
    // The first write fails, the second is taken and answered.
    mouse->failNextWrites(1, InterfaceKind::Bootloader);
    BootloaderLink boot = link();
    EXPECT_TRUE(boot.bootStart());
    EXPECT_EQ(hid.calls, (std::vector<std::string>{"write 64 failed", "read 0 none", "write 64",
                                                   "read 1000"}));
    EXPECT_EQ(pauses, (std::vector<int>{3, 5}));

    // Both writes fail: no answer comes, the packet is refused.
    hid.calls.clear();
    pauses.clear();
    mouse->failNextWrites(2, InterfaceKind::Bootloader);
    EXPECT_FALSE(boot.bootEnd());
    EXPECT_EQ(hid.calls, (std::vector<std::string>{"write 64 failed", "read 0 none",
                                                   "write 64 failed", "read 1000 none"}));
    EXPECT_FALSE(mouse->bootloader().ended);
}

TEST_F(BootloaderLinkTest, AnAnswerLeftFromAnEarlierPacketDoesNotAcceptTheNext) {
    BootloaderLink boot = link();
    ASSERT_TRUE(boot.bootStart()); // its answer waits unread
    mouse->failNextWrites(2, InterfaceKind::Bootloader);
    BootloaderLink fast(hid, handle, {.answerTimeoutMs = 50}, [](auto) { return true; });
    EXPECT_FALSE(fast.sendBootPacket(bootDataPacket(imageOf(48), 0, 3)));
}

TEST_F(BootloaderLinkTest, ARefusedDataPacketStopsTheTransfer) {
    BootloaderLink boot = link();
    ASSERT_TRUE(boot.bootStart());
    // The first two data packets are taken, the third is not (nor its second try).
    mouse->failNextWrites(2, InterfaceKind::Bootloader, 2);
    std::vector<int> progress;
    BootloaderLink fast(hid, handle, {.answerTimeoutMs = 50}, [](auto) { return true; });
    EXPECT_EQ(fast.transferImage(imageOf(480), [&](int p) { progress.push_back(p); }),
              TransferResult::Refused);
    EXPECT_EQ(fast.packetsSent(), 2);
    EXPECT_EQ(progress, (std::vector<int>{19, 28}));
    EXPECT_EQ(dataPacketLengths().size(), 2u);
}

TEST_F(BootloaderLinkTest, ALoaderThatVanishesRefusesTheRest) {
    BootloaderLink boot = link();
    ASSERT_TRUE(boot.bootStart());
    mouse->unplugAfterWrites(3, InterfaceKind::Bootloader);
    BootloaderLink fast(hid, handle, {.answerTimeoutMs = 50}, [](auto) { return true; });
    EXPECT_EQ(fast.transferImage(imageOf(480), {}), TransferResult::Refused);
    EXPECT_EQ(fast.packetsSent(), 3);
    EXPECT_FALSE(fast.bootEnd());
}

TEST_F(BootloaderLinkTest, StoppingEndsTheTransfer) {
    ASSERT_TRUE(link().bootStart());
    // Stopping is asked for during the pause after the second packet.
    int calls = 0;
    BootloaderLink boot(hid, handle, {}, [&](auto) { return ++calls < 4; });
    EXPECT_EQ(boot.transferImage(imageOf(480), {}), TransferResult::Stopped);
    EXPECT_EQ(boot.packetsSent(), 2);
}

TEST(BootloaderLinkWithoutHandle, SendsNothing) {
    vm::VirtualMouse bus;
    BootloaderLink boot(bus, nullptr, {}, [](auto) { return true; });
    EXPECT_FALSE(boot.bootStart());
}

} // namespace
} // namespace corvane::update
