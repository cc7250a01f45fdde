#pragma once
// control/requests: corvanectl's requests and the commands that run them; includes names/.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace corvane::control {

// Exit codes of corvanectl, and of every answer to a request.
namespace ExitCode {
inline constexpr int Success = 0;
inline constexpr int Failure = 1; // the mouse or the store failed; the reason is on stderr
inline constexpr int Usage = 2;   // the command line (or a value in it) is not acceptable
} // namespace ExitCode

// One request to read or change a mouse: what corvanectl parsed from its command line.
// Values are checked where the request runs, which knows the mouse (its sensor and
// rates). Paths are absolute: the request may run in another process.
struct Request {
    QString command;                // "list", "show", "set", "bind", "profile", ...
    QString action;                 // the second word where the command has one ("dpi")
    QStringList arguments;          // operands, in order
    QMap<QString, QString> options; // option name -> value ("" for a switch)

    bool has(const QString& option) const { return options.contains(option); }
    QString option(const QString& name) const { return options.value(name); }
    bool operator==(const Request&) const = default;
};

// What running a request gives back: the exit code and what goes to stdout and stderr.
struct Answer {
    int exitCode = ExitCode::Success;
    QString out;
    QString err;
    bool operator==(const Answer&) const = default;
};

// The file operand that stands for standard output (export) or standard input (import).
// An import reads what corvanectl staged from its standard input; an export answers with
// the file's text on stdout.
inline constexpr QStringView kStandardStream = u"-";

// The longest request line a window accepts, and the largest answer corvanectl reads.
inline constexpr qsizetype kMaxRequestBytes = 64 * 1024;
inline constexpr qsizetype kMaxAnswerBytes = 16 * 1024 * 1024;

// The word that starts a request line on the window's local socket ("request {json}").
inline constexpr char kRequestWord[] = "request";

// One line of JSON each (without the line break). decodeRequest refuses anything that
// is not an object of exactly the expected shape, and requests beyond the limits
// (kMaxRequestBytes, 64 operands or options, 4096 characters per text).
QByteArray encodeRequest(const Request& request);
std::optional<Request> decodeRequest(const QByteArray& json);
QByteArray encodeAnswer(const Answer& answer);
std::optional<Answer> decodeAnswer(const QByteArray& json);

} // namespace corvane::control
