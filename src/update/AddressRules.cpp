#include "update/AddressRules.h"

#include <QUrl>

#include <arpa/inet.h>
#include <netinet/in.h>

namespace corvane::update {

namespace {

bool isHttps(const QUrl& url) {
    return url.isValid() && url.scheme() == QLatin1String("https") && !url.host().isEmpty();
}

bool isLoopbackHttp(const QUrl& url) {
    return url.isValid() && url.scheme() == QLatin1String("http") && isLoopbackHost(url.host());
}

} // namespace

bool isLoopbackHost(const QString& host) {
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    const QByteArray text = host.toLatin1();
    in_addr v4{};
    if (inet_pton(AF_INET, text.constData(), &v4) == 1) {
        return (ntohl(v4.s_addr) >> 24) == 127;
    }
    in6_addr v6{};
    return inet_pton(AF_INET6, text.constData(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

bool isPermittedAddress(const QString& url) {
    const QUrl parsed(url, QUrl::StrictMode);
    return isHttps(parsed) || isLoopbackHttp(parsed);
}

bool isPermittedRedirect(const QString& from, const QString& to) {
    const QUrl target(to, QUrl::StrictMode);
    if (isHttps(target)) {
        return true;
    }
    return isLoopbackHttp(QUrl(from, QUrl::StrictMode)) && isLoopbackHttp(target);
}

} // namespace corvane::update
