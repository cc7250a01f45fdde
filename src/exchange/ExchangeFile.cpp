#include "exchange/ExchangeFile.h"

#include "store/SettingKey.h"
#include "xml/MarkupFile.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane::exchange {

xml::MarkupDocument newExchangeDocument() {
    return xml::MarkupDocument(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"));
}

// The file is opened once and everything is decided on that descriptor: what is checked
// is what is read. Opening does not wait (a FIFO is refused, never read), and no more
// than the limit is read, whatever the file grows to meanwhile.
ExchangeStatus loadExchangeFile(const QString& path, xml::MarkupDocument& document) {
    if (path.isEmpty()) {
        return ExchangeStatus::FileMissing;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return errno == ENOENT || errno == ENOTDIR ? ExchangeStatus::FileMissing
                                                   : ExchangeStatus::FileUnreadable;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return ExchangeStatus::FileMissing;
    }
    if (info.st_size > kMaxExchangeFileBytes) {
        return ExchangeStatus::FileTooLarge;
    }
    // Room for the size stated (and a little more, to see growth), up to one byte past
    // the limit.
    const qsizetype ceiling = static_cast<qsizetype>(kMaxExchangeFileBytes) + 1;
    QByteArray bytes;
    bytes.resize(std::min<qsizetype>(ceiling, static_cast<qsizetype>(info.st_size) + 4096));
    qsizetype used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used == ceiling) {
                break;
            }
            bytes.resize(std::min<qsizetype>(ceiling, used * 2));
        }
        const ssize_t got =
            ::read(fd, bytes.data() + used, static_cast<size_t>(bytes.size() - used));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return ExchangeStatus::FileUnreadable;
        }
        if (got == 0) {
            break;
        }
        used += got;
    }
    if (used > kMaxExchangeFileBytes) {
        return ExchangeStatus::FileTooLarge; // it grew after the check
    }
    bytes.truncate(used);
    // Decoded as a file of markup (marks, declared encoding) and parsed.
    xml::MarkupFileContent content;
    xml::DiagnosticLog log;
    xml::readMarkupBytes(bytes, content, log);
    return document.setDoc(content.text) ? ExchangeStatus::Done : ExchangeStatus::NotWellFormed;
}

ExchangeStatus saveExchangeFile(const QString& path, const xml::MarkupDocument& document) {
    if (path.isEmpty()) {
        return ExchangeStatus::WriteFailed;
    }
    QSaveFile file(path);
    // Unbuffered, so a short write (a full disk) shows in write()'s count: through the
    // buffer, a flush that writes only part of the text is not reported.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return ExchangeStatus::WriteFailed;
    }
    const QByteArray bytes = document.text().toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
    }
    if (!file.commit()) {
        return ExchangeStatus::WriteFailed; // the temporary file is removed, path untouched
    }
    return ExchangeStatus::Done;
}

int numberAttribute(const xml::MarkupDocument& document, const QString& name) {
    return store::settingValueToInt(document.getAttrib(name));
}

} // namespace corvane::exchange
