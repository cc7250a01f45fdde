#include "update/HttpClient.h"

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>

#include <QByteArray>
#include <QFile>
#include <QUrl>

#include <curl/curl.h>

#include "update/AddressRules.h"

namespace corvane::update {

namespace {

// runHop's answer when the server sent the client elsewhere.
constexpr int kRedirected = 2;

bool isSuccess(long status) {
    return status >= 200 && status <= 299;
}

bool isRedirect(long status) {
    return status >= 300 && status <= 399;
}

void initialiseCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;
using HeaderList = std::unique_ptr<curl_slist, CurlDeleter>;

HeaderList requestHeaders() {
    curl_slist* list = nullptr;
    for (const char* header : {"Accept: */*", "Cache-Control: no-cache", "Pragma: no-cache"}) {
        list = curl_slist_append(list, header);
    }
    return HeaderList(list);
}

} // namespace

// Where a 2xx body goes, one block at a time.
class HttpClient::Sink {
public:
    virtual ~Sink() = default;
    // The transfer handle exists.
    virtual void handleReady() {}
    // A 2xx answer arrived; length is -1 when the server did not give one. False
    // refuses the body.
    virtual bool open(std::int64_t length) = 0;
    virtual bool block(const char* data, std::size_t size) = 0;
    // The body is complete; false when it cannot be kept.
    virtual bool finish() = 0;
    // The transfer failed or stopped: nothing is kept.
    virtual void discard() = 0;
};

class HttpClient::TextSink final : public Sink {
public:
    TextSink(std::int64_t limit, QByteArray& bytes) : limit_(limit), bytes_(bytes) {}

    bool open(std::int64_t length) override { return length <= limit_; }
    bool block(const char* data, std::size_t size) override {
        if (bytes_.size() + static_cast<std::int64_t>(size) > limit_) {
            return false;
        }
        bytes_.append(data, static_cast<qsizetype>(size));
        return true;
    }
    bool finish() override { return true; }
    void discard() override { bytes_.clear(); }

private:
    std::int64_t limit_;
    QByteArray& bytes_;
};

class HttpClient::FileSink final : public Sink {
public:
    FileSink(HttpClient& client, const QString& path, const Progress& progress)
        : client_(client), file_(path), progress_(progress) {}

    void handleReady() override { client_.post(progress_, 2); }
    bool open(std::int64_t length) override {
        client_.post(progress_, 8);
        if (length > client_.limits_.maxFileBytes) {
            return false;
        }
        QFile::remove(file_.fileName());
        // NewOnly: a file (or link) that appeared at the path since is not written through.
        if (!file_.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            return false;
        }
        created_ = true;
        length_ = length;
        client_.post(progress_, 10);
        return true;
    }
    bool block(const char* data, std::size_t size) override {
        written_ += static_cast<std::int64_t>(size);
        if (written_ > client_.limits_.maxFileBytes ||
            file_.write(data, static_cast<qint64>(size)) != static_cast<qint64>(size)) {
            return false;
        }
        ++blocks_;
        const std::int64_t lengthBlocks = length_ / static_cast<std::int64_t>(kBlockSize);
        if (lengthBlocks > 0) {
            client_.post(progress_, static_cast<int>(std::min<std::int64_t>(
                                        100, 10 + 90 * blocks_ / lengthBlocks)));
        }
        return true;
    }
    bool finish() override {
        if (!created_) {
            return false;
        }
        file_.close();
        if (file_.error() != QFileDevice::NoError) {
            return false;
        }
        client_.post(progress_, 100);
        return true;
    }
    void discard() override {
        if (created_) {
            file_.close();
            file_.remove();
            created_ = false;
        }
    }

private:
    HttpClient& client_;
    QFile file_;
    const Progress& progress_;
    bool created_ = false;
    std::int64_t length_ = -1;
    std::int64_t written_ = 0;
    std::int64_t blocks_ = 0;
};

// One request and its answer.
struct HttpClient::Hop {
    HttpClient& client;
    Sink& sink;
    CURL* curl;
    long status = 0;
    bool statusKnown = false;
    bool opened = false;
    bool refused = false; // not a 2xx answer
    bool sinkFailed = false;
    bool stopped = false;
    bool redirected = false; // the answer is a redirect; its body is not read
    QByteArray location{};   // the Location header of the answer
    std::array<char, kBlockSize> pending{};
    std::size_t filled = 0;

    bool openSink() {
        curl_off_t length = -1;
        curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        opened = true;
        sinkFailed = !sink.open(static_cast<std::int64_t>(length));
        return !sinkFailed;
    }
    // Hands the block on; the body arrives in pieces of any size, the sink gets whole
    // blocks of kBlockSize and a shorter last one.
    bool flush() {
        if (filled == 0) {
            return true;
        }
        const bool ok = sink.block(pending.data(), filled);
        filled = 0;
        sinkFailed = sinkFailed || !ok;
        return ok;
    }
    bool feed(const char* data, std::size_t size) {
        while (size > 0) {
            const std::size_t take = std::min(size, pending.size() - filled);
            std::copy_n(data, take, pending.data() + filled);
            filled += take;
            data += take;
            size -= take;
            if (filled == pending.size() && !flush()) {
                return false;
            }
        }
        return true;
    }

    static std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
        Hop& hop = *static_cast<Hop*>(user);
        const std::size_t total = size * count;
        if (!hop.client.keepGoing()) {
            hop.stopped = true;
            return 0;
        }
        if (!hop.statusKnown) {
            curl_easy_getinfo(hop.curl, CURLINFO_RESPONSE_CODE, &hop.status);
            hop.statusKnown = true;
        }
        if (isRedirect(hop.status)) {
            // Its headers are all we need: a body (of any length) is not read.
            hop.redirected = true;
            return 0;
        }
        if (!isSuccess(hop.status)) {
            hop.refused = true;
            return 0;
        }
        if (!hop.opened && !hop.openSink()) {
            return 0;
        }
        return hop.feed(data, total) ? total : 0;
    }

    // Headers, one line at a time. At the end of a redirect's headers the transfer stops:
    // where it points is all that is needed, and its body (of any length) is not read.
    static std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
        Hop& hop = *static_cast<Hop*>(user);
        const std::size_t total = size * count;
        const QByteArray line = QByteArray(data, static_cast<qsizetype>(total)).trimmed();
        if (line.startsWith("HTTP/")) {
            hop.location.clear(); // a new answer (after a 100 Continue)
        } else if (line.toLower().startsWith("location:")) {
            hop.location = line.mid(9).trimmed();
        } else if (line.isEmpty()) {
            long status = 0;
            curl_easy_getinfo(hop.curl, CURLINFO_RESPONSE_CODE, &status);
            if (isRedirect(status)) {
                hop.redirected = true;
                return 0;
            }
        }
        return total;
    }

    static int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        Hop& hop = *static_cast<Hop*>(user);
        if (!hop.client.keepGoing()) {
            hop.stopped = true;
            return 1;
        }
        return 0;
    }
};

HttpClient::HttpClient() : HttpClient(Limits{}) {}

HttpClient::HttpClient(Limits limits) : limits_(limits) {
    initialiseCurl();
}

void HttpClient::setStopCheck(std::function<bool()> stopping) {
    stopping_ = std::move(stopping);
}

void HttpClient::cancel() {
    running_.store(false);
}

bool HttpClient::keepGoing() const {
    return running_.load() && !(stopping_ && stopping_());
}

void HttpClient::post(const Progress& progress, int value) {
    value = std::min(value, 100);
    if (lastProgress_.exchange(value) != value && progress) {
        progress(value);
    }
}

int HttpClient::fetchText(const QString& url, QString& text) {
    QByteArray bytes;
    const int result = fetchBytes(url, bytes);
    text = QString::fromUtf8(bytes);
    return result;
}

int HttpClient::fetchBytes(const QString& url, QByteArray& bytes) {
    running_.store(true);
    bytes.clear();
    TextSink sink(limits_.maxTextBytes, bytes);
    const int result = transfer(url, sink, std::chrono::steady_clock::now() + limits_.textTimeout);
    if (result != FetchResult::Complete) {
        sink.discard();
    }
    return result;
}

int HttpClient::fetchFile(const QString& url, const QString& path, const Progress& progress) {
    running_.store(true);
    post(progress, 0);
    QFile::remove(path);
    FileSink sink(*this, path, progress);
    int result = transfer(url, sink, std::nullopt);
    if (result == FetchResult::Complete && !sink.finish()) {
        result = FetchResult::Failed;
    }
    if (result != FetchResult::Complete) {
        sink.discard();
    }
    return result;
}

int HttpClient::transfer(const QString& url, Sink& sink, Deadline deadline) {
    CurlHandle curl(curl_easy_init());
    if (!curl) {
        return FetchResult::NoSession;
    }
    sink.handleReady();
    if (!isPermittedAddress(url)) {
        return FetchResult::Failed;
    }
    QString address = url;
    for (int hop = 0; hop <= limits_.maxRedirects; ++hop) {
        QString next;
        Hop state{*this, sink, curl.get()};
        const int result = runHop(address, state, next, deadline);
        if (result != kRedirected) {
            return result;
        }
        if (!isPermittedRedirect(address, next)) {
            return FetchResult::Failed;
        }
        address = next;
    }
    return FetchResult::Failed;
}

int HttpClient::runHop(const QString& url, Hop& hop, QString& redirect, Deadline deadline) {
    CURL* curl = hop.curl;
    curl_easy_reset(curl);
    if (deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            *deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return FetchResult::Failed;
        }
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(left.count()));
    }
    if (!limits_.certificateAuthorities.empty()) {
        curl_easy_setopt(curl, CURLOPT_CAINFO, limits_.certificateAuthorities.c_str());
        curl_easy_setopt(curl, CURLOPT_CAPATH, nullptr);
    }
    HeaderList fixed;
    for (const std::string& entry : limits_.fixedAddresses) {
        fixed.reset(curl_slist_append(fixed.release(), entry.c_str()));
    }
    curl_easy_setopt(curl, CURLOPT_RESOLVE, fixed.get());
    const QByteArray address = url.toUtf8();
    const HeaderList headers = requestHeaders();
    curl_easy_setopt(curl, CURLOPT_URL, address.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L); // each hop is checked here
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(limits_.connectTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, limits_.lowSpeedBytes);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits_.lowSpeedTime.count()));
    curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, static_cast<long>(kBlockSize));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Hop::onBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &hop);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &Hop::onHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &hop);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Hop::onProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &hop);
    if (isLoopbackHost(QUrl(url).host())) {
        curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
    }

    const CURLcode code = curl_easy_perform(curl);
    if (hop.stopped || !keepGoing()) {
        return FetchResult::Stopped;
    }
    if ((code != CURLE_OK && !hop.redirected) || hop.refused || hop.sinkFailed) {
        return FetchResult::Failed;
    }
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    if (isRedirect(status)) {
        // Relative to the address asked, as a browser reads it.
        const QUrl target = QUrl(QString::fromUtf8(hop.location), QUrl::StrictMode);
        if (hop.location.isEmpty() || !target.isValid()) {
            return FetchResult::Failed;
        }
        redirect = QUrl(url).resolved(target).toString();
        return kRedirected;
    }
    if (!isSuccess(status)) {
        return FetchResult::Failed;
    }
    if (!hop.opened && !hop.openSink()) {
        return FetchResult::Failed;
    }
    return hop.flush() ? FetchResult::Complete : FetchResult::Failed;
}

} // namespace corvane::update
