#pragma once
// The commands the device worker sends of its own accord around reading the mouse
// back: the device information, the read-back opener, the receiver's version and the
// factory reset. Each is one transaction with the current command interface.

#include <optional>

#include <QString>

#include "protocol/codec/SensorTable.h"

namespace corvane::protocol {

// What GetInfo tells about the mouse.
struct DeviceInfo {
    SensorState sensor;
    int batteryStatus = 0;
    int batteryLevel = 0;
    int connected = 0; // 0: a receiver whose mouse is not linked
};

// GetInfo; nothing when it was not answered.
std::optional<DeviceInfo> getDeviceInfo();
// BeginRead; its answer carries nothing.
void beginRead();
// The receiver's version as text: the major byte in hexadecimal without leading zero,
// then the minor byte as two hexadecimal digits ("105" for 1.05). Nothing when it was
// not answered.
std::optional<QString> getReceiverVersion();
// FactoryReset of every setting; its answer carries nothing.
void sendFactoryReset();

} // namespace corvane::protocol
