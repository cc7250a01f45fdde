#pragma once
// Seeing what was sent: with CORVANE_VIRTUAL_MOUSE_LOG=<file> in the environment, the
// virtual devices append every report they receive to that file, one line each:
//
//   2026-05-01T14:03:27.512 1209:C0A1/2 00 02 00 00 01 ...
//
// local time with milliseconds, the device (vendor and product id) with the number of
// its interface, and the bytes as written (report ID first) in hexadecimal. Lines of concurrent
// writers never mix; the file is flushed after every line, so a person can watch it with tail -f.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "virtualmouse/HeldSettings.h"

namespace corvane::vm {

class VirtualHandle;

// The line written for one report at `millisecondsSinceEpoch` (local time).
std::string reportLogLine(long long millisecondsSinceEpoch, std::string_view device,
                          const std::uint8_t* data, std::size_t length);

// Appends the line of a report received now on the handle's interface to the log file,
// when there is one: the file named by CORVANE_VIRTUAL_MOUSE_LOG when first used, or the
// one set below.
void logReceivedReport(const VirtualHandle& handle, const std::uint8_t* data, std::size_t length);

// Makes `file` the log (empty: no log) in place of the environment's choice.
void setReportLogFile(const std::string& file);

// Seeing what a mouse runs with: with CORVANE_VIRTUAL_MOUSE_HELD=<folder> in the
// environment, each virtual mouse rewrites <folder>/<vendor>-<product>.txt (e.g.
// 1209-C0A1.txt) after every command it takes, one "name=value" line per setting in the
// firmware's own reading (heldStateText). Another process (a test) reads it afterwards.
//
//   stage 2 dpi=3200
//   rate=500 Hz
//   button index 3=key Ctrl+C
//   macro 3=A down 20 ms, A up 1 ms
//
// Stages are counted from 1, as a user counts them; buttons by their index from 0.
std::string heldStateText(const HeldSettings& held,
                          const std::vector<std::vector<MacroStep>>& macrosByButton);
void writeHeldState(std::uint16_t vendorId, std::uint16_t productId, const std::string& text);

} // namespace corvane::vm
