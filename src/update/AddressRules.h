#pragma once
// Which addresses the program fetches from. Whatever it downloads may be run or written
// into the mouse, so it talks to servers over https only; plain http is left for the
// loopback interface, where the tests run their server.

#include <QString>

namespace corvane::update {

// True for 127.0.0.0/8, ::1 and "localhost".
bool isLoopbackHost(const QString& host);

// An https address with a host, or an http address of a loopback host.
bool isPermittedAddress(const QString& url);

// Whether a redirect from `from` (a permitted address) to `to` may be followed: to
// https, or from a loopback http address to another one.
bool isPermittedRedirect(const QString& from, const QString& to);

} // namespace corvane::update
