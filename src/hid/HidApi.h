#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane::hid {

// One entry of an enumeration: the fields of a HID interface the program uses.
// The strings of the device (serial number, manufacturer, product) are never read.
struct HidDeviceInfo {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t releaseNumber = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    int interfaceNumber = -1;
};

// An open HID interface. Each HidApi hands out its own kind of handle; a handle is
// given back only to the HidApi that opened it, and closed exactly once by close().
class HidDevice {
public:
    virtual ~HidDevice() = default;

protected:
    HidDevice() = default;
    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;
};

// The HID library as the program uses it: exactly these calls. SystemHidApi calls
// hidapi; the virtual mouse implements the same calls over a model of the hardware.
//
// Results follow hidapi: init/exit give 0 or -1; write gives the bytes written or -1;
// read_timeout gives the bytes copied (never more than length), 0 when nothing arrived
// within the timeout (-1 waits without limit), or -1 on error. An answer that has not
// been read within a timeout stays pending for the next read on that handle.
class HidApi {
public:
    virtual ~HidApi() = default;

    virtual int init() = 0;
    virtual int exit() = 0;
    // Every interface with this pair; 0 for either id matches any.
    virtual std::vector<HidDeviceInfo> enumerate(std::uint16_t vendorId,
                                                 std::uint16_t productId) = 0;
    // A handle open for reading and writing, or nullptr.
    virtual HidDevice* open_path(const std::string& path) = 0;
    virtual int write(HidDevice* device, const std::uint8_t* data, std::size_t length) = 0;
    virtual int read_timeout(HidDevice* device, std::uint8_t* data, std::size_t length,
                             int milliseconds) = 0;
    // Closes and deletes the handle. No read may still wait on it: end it first with
    // cancel_reads and wait for the reading thread.
    virtual void close(HidDevice* device) = 0;
    // Ends the reads on a handle that is about to be closed: a read waiting on it returns
    // -1 soon, and so does every later one. Without it (the default) a waiting read ends
    // only at its timeout.
    virtual void cancel_reads(HidDevice* device);
    // Copies the report descriptor of the open interface into `buffer` (at most `size`
    // bytes); the number of bytes, or -1 when it cannot be read (the default, for a HID
    // layer that has no way to read it).
    virtual int get_report_descriptor(HidDevice* device, std::uint8_t* buffer, std::size_t size);
};

inline void HidApi::cancel_reads(HidDevice*) {}

inline int HidApi::get_report_descriptor(HidDevice*, std::uint8_t*, std::size_t) {
    return -1;
}

} // namespace corvane::hid
