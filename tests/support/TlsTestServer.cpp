#include "support/TlsTestServer.h"

#include <atomic>
#include <cstdio>

#include <QFile>
#include <QTemporaryDir>

#include <httplib.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

namespace corvane::test {

namespace {

using PrivateKey = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using Certificate = std::unique_ptr<X509, decltype(&X509_free)>;

constexpr long kDay = 24 * 60 * 60;

PrivateKey makeKey() {
    return PrivateKey(EVP_EC_gen("P-256"), EVP_PKEY_free);
}

void addExtension(X509* certificate, X509* issuer, int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    if (extension) {
        X509_add_ext(certificate, extension, -1);
        X509_EXTENSION_free(extension);
    }
}

struct Validity {
    long fromSeconds; // relative to now
    long toSeconds;
};

// A certificate for `key`; self-signed when there is no issuer. The authority's
// certificate carries no host names; a server's carries `altNames`.
Certificate makeCertificate(EVP_PKEY* key, const char* commonName, X509* issuer,
                            EVP_PKEY* issuerKey, Validity validity, const char* altNames,
                            bool authority, long serial) {
    Certificate certificate(X509_new(), X509_free);
    X509* cert = certificate.get();
    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), serial);
    X509_gmtime_adj(X509_getm_notBefore(cert), validity.fromSeconds);
    X509_gmtime_adj(X509_getm_notAfter(cert), validity.toSeconds);
    X509_set_pubkey(cert, key);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
    X509* signer = issuer ? issuer : cert;
    X509_set_issuer_name(cert, X509_get_subject_name(signer));
    addExtension(cert, signer, NID_subject_key_identifier, "hash");
    addExtension(cert, signer, NID_authority_key_identifier, "keyid:always");
    if (authority) {
        addExtension(cert, signer, NID_basic_constraints, "critical,CA:TRUE");
        addExtension(cert, signer, NID_key_usage, "critical,keyCertSign,cRLSign");
    } else {
        addExtension(cert, signer, NID_basic_constraints, "CA:FALSE");
        addExtension(cert, signer, NID_ext_key_usage, "serverAuth");
        addExtension(cert, signer, NID_subject_alt_name, altNames);
    }
    X509_sign(cert, issuerKey ? issuerKey : key, EVP_sha256());
    return certificate;
}

std::string pemOf(X509* certificate) {
    BIO* bio = BIO_new(BIO_s_mem());
    PEM_write_bio_X509(bio, certificate);
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    std::string pem(data, static_cast<std::size_t>(size));
    BIO_free(bio);
    return pem;
}

} // namespace

struct TlsTestServer::Impl {
    QTemporaryDir folder;
    PrivateKey authorityKey = makeKey();
    Certificate authority{nullptr, X509_free};
    PrivateKey serverKey = makeKey();
    Certificate serverCertificate{nullptr, X509_free};
    std::unique_ptr<httplib::SSLServer> server;
    std::thread thread;

    mutable std::mutex mutex;
    std::map<std::string, std::string> bodies;
    std::map<std::string, std::string> redirects;
    int requests = 0;
};

TlsTestServer::TlsTestServer(TlsCertificate certificate) : impl_(std::make_unique<Impl>()) {
    Impl& d = *impl_;
    d.authority = makeCertificate(d.authorityKey.get(), "Corvane test authority", nullptr, nullptr,
                                  {-kDay, kDay}, nullptr, true, 1);
    const char* localHost = "IP:127.0.0.1";
    switch (certificate) {
    case TlsCertificate::Trusted:
        d.serverCertificate =
            makeCertificate(d.serverKey.get(), "127.0.0.1", d.authority.get(), d.authorityKey.get(),
                            {-kDay, kDay}, localHost, false, 2);
        break;
    case TlsCertificate::SelfSigned:
        d.serverCertificate = makeCertificate(d.serverKey.get(), "127.0.0.1", nullptr, nullptr,
                                              {-kDay, kDay}, localHost, false, 3);
        break;
    case TlsCertificate::Expired:
        d.serverCertificate =
            makeCertificate(d.serverKey.get(), "127.0.0.1", d.authority.get(), d.authorityKey.get(),
                            {-2 * kDay, -3600}, localHost, false, 4);
        break;
    case TlsCertificate::OtherHost:
        d.serverCertificate =
            makeCertificate(d.serverKey.get(), "corvane.example", d.authority.get(),
                            d.authorityKey.get(), {-kDay, kDay}, "DNS:corvane.example", false, 5);
        break;
    }
    authorityFile_ = d.folder.filePath(QStringLiteral("authority.pem"));
    QFile file(authorityFile_);
    if (!d.folder.isValid() || !file.open(QIODevice::WriteOnly)) {
        return;
    }
    file.write(QByteArray::fromStdString(pemOf(d.authority.get())));
    file.close();

    d.server = std::make_unique<httplib::SSLServer>(d.serverCertificate.get(), d.serverKey.get());
    d.server->Get(".*", [&d](const httplib::Request& request, httplib::Response& response) {
        std::lock_guard lock(d.mutex);
        ++d.requests;
        if (const auto body = d.bodies.find(request.path); body != d.bodies.end()) {
            response.set_content(body->second, "application/octet-stream");
        } else if (const auto to = d.redirects.find(request.path); to != d.redirects.end()) {
            response.status = 302;
            response.set_header("Location", to->second);
        } else {
            response.status = 404;
        }
    });
    const int port = d.server->bind_to_any_port("127.0.0.1");
    if (port <= 0) {
        return;
    }
    d.thread = std::thread([&d] { d.server->listen_after_bind(); });
    port_ = port;
}

TlsTestServer::~TlsTestServer() {
    if (impl_->server) {
        impl_->server->stop();
    }
    if (impl_->thread.joinable()) {
        impl_->thread.join();
    }
}

QString TlsTestServer::url(const std::string& path) const {
    return QStringLiteral("https://127.0.0.1:%1").arg(port_) + QString::fromStdString(path);
}

void TlsTestServer::serveBody(const std::string& path, std::string body) {
    std::lock_guard lock(impl_->mutex);
    impl_->bodies[path] = std::move(body);
}

void TlsTestServer::serveRedirect(const std::string& path, std::string location) {
    std::lock_guard lock(impl_->mutex);
    impl_->redirects[path] = std::move(location);
}

int TlsTestServer::requestCount() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->requests;
}

} // namespace corvane::test
