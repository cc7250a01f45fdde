#pragma once
// Downloads from the update server over libcurl: version texts and files.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QByteArray>
#include <QString>

namespace corvane::update {

// Results of a transfer.
namespace FetchResult {
inline constexpr int Complete = 1;  // a 2xx answer, received whole
inline constexpr int Stopped = -2;  // the cancel flag was cleared or the caller is stopping
inline constexpr int Failed = -1;   // refused address, no answer, not 2xx, short or too
                                    // long body, or the file could not be written
inline constexpr int NoSession = 0; // the transfer handle could not be made
} // namespace FetchResult

// Every request carries the program's user agent, "Accept: */*" and asks caches for a
// fresh copy; bodies are read in blocks of 10240 bytes.
//
// Only https addresses are fetched, with the server's certificate and host name
// checked, and redirects are followed only to https (plain http only on the loopback
// interface, see AddressRules.h). A connection that cannot be made in time or a body
// that stalls fails the transfer; text answers and files are capped in size, a text
// fetch in time too. The body of a redirect is never read.
class HttpClient {
public:
    struct Limits {
        std::chrono::milliseconds connectTimeout{15000};
        // A transfer slower than lowSpeedBytes per second for lowSpeedTime fails: a server
        // that stalls or trickles cannot hold the worker.
        std::chrono::seconds lowSpeedTime{30};
        long lowSpeedBytes = 256;
        // A text (a version, a signature, a manifest) arrives whole within this time,
        // redirects included, or the fetch fails.
        std::chrono::milliseconds textTimeout{20000};
        std::int64_t maxTextBytes = 10240;
        std::int64_t maxFileBytes = std::int64_t{1} << 30;
        int maxRedirects = 5;
        // A PEM file of the certificate authorities to trust in place of the system's
        // store; empty for the system's store.
        std::string certificateAuthorities;
        // Names resolved to fixed addresses, "host:port:address" (the tests send names
        // that are not loopback to their server on 127.0.0.1).
        std::vector<std::string> fixedAddresses;
    };
    // Progress of a file download, 0 to 100; called on the transferring thread with
    // each value that differs from the one before.
    using Progress = std::function<void(int percent)>;

    static constexpr std::size_t kBlockSize = 10240;
    static constexpr const char* kUserAgent = "IIC2.0/PC 5.5.0000";

    HttpClient();
    explicit HttpClient(Limits limits);
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // Asked while a transfer runs; true stops it (the device worker stopping).
    void setStopCheck(std::function<bool()> stopping);
    // Clears the cancel flag: a transfer in progress stops. Any thread.
    void cancel();

    // The body of a 2xx answer as text (UTF-8), at most Limits::maxTextBytes bytes;
    // empty unless the result is Complete.
    int fetchText(const QString& url, QString& text);
    // The same body as it came, byte for byte (a signature or a signed manifest).
    int fetchBytes(const QString& url, QByteArray& bytes);

    // Saves the body of a 2xx answer at `path` (an existing file there is deleted
    // first). Unless the result is Complete, no file is left at `path`.
    //
    // Progress: 0 when the transfer starts, 2 once the handle exists, 8 when the answer
    // came, 10 when the file was made; then after each block, when the length is known
    // and at least one block long, 10 + 90 * blocks / (length / 10240) (never above
    // 100); 100 when the file is complete.
    int fetchFile(const QString& url, const QString& path, const Progress& progress = {});

    // The last progress value posted (kept from one transfer to the next).
    int lastProgress() const { return lastProgress_.load(); }

private:
    class Sink;
    class TextSink;
    class FileSink;
    struct Hop;

    using Deadline = std::optional<std::chrono::steady_clock::time_point>;
    int transfer(const QString& url, Sink& sink, Deadline deadline);
    int runHop(const QString& url, Hop& hop, QString& redirect, Deadline deadline);
    bool keepGoing() const;
    void post(const Progress& progress, int value);

    Limits limits_;
    std::function<bool()> stopping_;
    std::atomic<bool> running_{false};
    std::atomic<int> lastProgress_{0};
};

} // namespace corvane::update
