#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace corvane::vm {

// A command report body as the mouse receives it (B0..B31) and an input report as it
// sends one (64 bytes, no report ID: B0..B31 followed by zeros).
using CommandBody = std::array<std::uint8_t, 32>;
using InputReport = std::array<std::uint8_t, 64>;

inline constexpr std::uint8_t kStatusOk = 0x00;
inline constexpr std::uint8_t kStatusBusy = 0x01;
inline constexpr std::uint8_t kStatusRejected = 0x02;

inline constexpr std::uint8_t kConnectionNotice = 0xC0;
inline constexpr std::uint8_t kDpiNotice = 0xC2;

// Command codes the firmware knows.
namespace command {
inline constexpr std::uint8_t SetReportRate = 0x02;
inline constexpr std::uint8_t SetDpi = 0x03;
inline constexpr std::uint8_t SetDpiColors = 0x04;
inline constexpr std::uint8_t SetLighting = 0x05;
inline constexpr std::uint8_t SetSensor = 0x06;
inline constexpr std::uint8_t SetPower = 0x07;
inline constexpr std::uint8_t SetMacro = 0x08;
inline constexpr std::uint8_t SetButtons = 0x09;
inline constexpr std::uint8_t LightControl = 0x0E;
inline constexpr std::uint8_t FactoryReset = 0x0F;
inline constexpr std::uint8_t GetInfo = 0x10;
inline constexpr std::uint8_t BeginRead = 0x11;
inline constexpr std::uint8_t GetReportRate = 0x12;
inline constexpr std::uint8_t GetDpi = 0x13;
inline constexpr std::uint8_t GetDpiColors = 0x14;
inline constexpr std::uint8_t GetLighting = 0x15;
inline constexpr std::uint8_t GetSensor = 0x16;
inline constexpr std::uint8_t GetPower = 0x17;
inline constexpr std::uint8_t GetReceiverVersion = 0x20;
} // namespace command

// An answer: B0 echoes the command, B1 is the status.
InputReport answerReport(std::uint8_t code, std::uint8_t status);

} // namespace corvane::vm
