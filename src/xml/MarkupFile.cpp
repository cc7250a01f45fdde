#include "xml/MarkupFile.h"

#include "xml/CodePageConversion.h"
#include "xml/DeclaredEncoding.h"
#include "xml/DocumentFlags.h"
#include "xml/EncodingTable.h"
#include "xml/MarkupParser.h"

#include <QFile>

#include <cerrno>
#include <cstdio>

namespace corvane::xml {
namespace {

// Offsets in a document are 32-bit; a file past this size is refused.
constexpr qsizetype kMaxFileBytes = qsizetype(512) << 20;
// How much of an unmarked file is decoded to look for its declaration.
constexpr qsizetype kHeadBytes = 1024;

class File {
public:
    File(const QString& path, const char* mode)
        : m_file(std::fopen(QFile::encodeName(path), mode)) {}
    ~File() {
        if (m_file)
            std::fclose(m_file);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    std::FILE* get() const { return m_file; }
    // Closes now, so that a failed flush is seen; returns false on an error.
    bool close() {
        std::FILE* file = m_file;
        m_file = nullptr;
        return std::fclose(file) == 0;
    }

private:
    std::FILE* m_file;
};

void addFileError(DiagnosticLog& log, int error) {
    QString message = qt_error_string(error);
    for (qsizetype i = 0; i < message.size(); ++i) {
        if (message[i] == u'\r' || message[i] == u'\n') {
            message.truncate(i);
            break;
        }
    }
    log.add("file_error", {{"msg", message}, {"n", QString::number(error)}});
}

bool readAll(const QString& path, QByteArray& bytes, int& error) {
    File file(path, "rb");
    if (!file.get()) {
        error = errno;
        return false;
    }
    constexpr qsizetype kChunk = 1 << 16;
    for (;;) {
        const qsizetype used = bytes.size();
        if (used > kMaxFileBytes) {
            error = EFBIG;
            return false;
        }
        bytes.resize(used + kChunk);
        const size_t got = std::fread(bytes.data() + used, 1, size_t(kChunk), file.get());
        bytes.resize(used + qsizetype(got));
        if (got < size_t(kChunk)) {
            if (std::ferror(file.get())) {
                error = errno != 0 ? errno : EIO;
                return false;
            }
            return true;
        }
    }
}

template <typename String> int removeZeros(String& units) {
    const qsizetype before = units.size();
    units.removeIf([](auto c) { return c == decltype(c)(0); });
    return int(before - units.size());
}

QByteArray withoutZeroBytes(QByteArrayView bytes) {
    QByteArray copy = bytes.toByteArray();
    removeZeros(copy);
    return copy;
}

bool isUnitEncoding(int codePage) {
    return codePage == codepage::Utf16Le || codePage == codepage::Utf16Be ||
           codePage == codepage::Utf32Le || codePage == codepage::Utf32Be;
}

// A generic "UTF-16" or "UTF-32" without a mark is little-endian unless its
// first unit shows the zero byte in front.
int unitByteOrder(int codePage, QByteArrayView body) {
    if (codePage == codepage::Utf16Le && body.size() >= 2 && body[0] == 0 && body[1] != 0)
        return codepage::Utf16Be;
    if (codePage == codepage::Utf32Le && body.size() >= 4 && body[0] == 0 && body[3] != 0)
        return codepage::Utf32Be;
    return codePage;
}

void readUtf16(QByteArrayView body, bool bigEndian, MarkupFileContent& content,
               DiagnosticLog& log) {
    content.text = decodeBytes(body, bigEndian ? codepage::Utf16Be : codepage::Utf16Le);
    log.add("read", {{"encoding", content.encoding}, {"length", QString::number(body.size() / 2)}});
    if (const int nulls = removeZeros(content.text))
        log.add("nulls_removed", {{"count", QString::number(nulls)}});
    if (bigEndian)
        log.add("endian_swap");
}

void readEightBit(QByteArrayView body, MarkupFileContent& content, DiagnosticLog& log) {
    // The declaration is looked for with zero bytes left out, so that a file of
    // 16- or 32-bit units without a mark can still name its encoding.
    const QString head =
        QString::fromUtf8(withoutZeroBytes(body.first(qMin(body.size(), kHeadBytes))));
    content.encoding = declaredEncoding(head);
    const bool declared = !content.encoding.isEmpty();
    int codePage = declared ? codePageForEncoding(content.encoding) : codepage::SystemAnsi;

    if (declared && isUnitEncoding(codePage)) {
        // The name keeps the byte order found, so that save() writes it back.
        const int ordered = unitByteOrder(codePage, body);
        if (ordered != codePage)
            content.encoding = ordered == codepage::Utf16Be ? QStringLiteral("UTF-16BE")
                                                            : QStringLiteral("UTF-32BE");
        QByteArray used;
        content.text = decodeBytes(body, ordered, &used);
        log.add("read", {{"encoding", content.encoding}, {"length", QString::number(body.size())}});
        if (const int nulls = removeZeros(content.text))
            log.add("nulls_removed", {{"count", QString::number(nulls)}});
        log.add("converted_to", {{"encoding", QString::fromLatin1(used)},
                                 {"length", QString::number(content.text.size())}});
        return;
    }

    QByteArray bytes = body.toByteArray();
    const int nulls = removeZeros(bytes);
    if (nulls)
        log.add("nulls_removed", {{"count", QString::number(nulls)}});
    if (!declared) {
        // Without a declaration the bytes decide: UTF-8 when they pass the test
        // (a file that starts with '<' is expected to be UTF-8), otherwise the
        // system code page, which keeps every byte readable.
        if (passesUtf8Test(bytes)) {
            content.encoding = QStringLiteral("UTF-8");
            codePage = codepage::Utf8;
        }
    }
    log.add("read", {{"encoding", content.encoding}, {"length", QString::number(bytes.size())}});
    if (!declared && codePage == codepage::Utf8 && !bytes.startsWith('<'))
        log.add("utf8_detection");
    QByteArray used;
    content.text = decodeBytes(bytes, codePage, &used);
    log.add("converted_to", {{"encoding", QString::fromLatin1(used)},
                             {"length", QString::number(content.text.size())}});
}

} // namespace

namespace {

// Whether bytes about to be written would load as a well-formed document.
bool loadsWellFormed(QByteArrayView bytes, int flags) {
    MarkupFileContent content;
    DiagnosticLog scratch;
    readMarkupBytes(bytes, content, scratch);
    ElementIndex index;
    return parseMarkup(content.text, flags & docflag::IgnoreNameCase, index, scratch);
}

} // namespace

void readMarkupBytes(QByteArrayView bytes, MarkupFileContent& content, DiagnosticLog& log) {
    content = MarkupFileContent{};
    struct Mark {
        QByteArrayView bytes;
        const char* encoding;
        int flag;
    };
    static const Mark kMarks[] = {
        {"\xEF\xBB\xBF", "UTF-8", docflag::Utf8ByteOrderMark},
        {"\xFF\xFE", "UTF-16LE", docflag::Utf16LittleEndian},
        {"\xFE\xFF", "UTF-16BE", docflag::Utf16BigEndian},
    };
    QByteArrayView body(bytes);
    for (const Mark& mark : kMarks) {
        if (body.startsWith(mark.bytes)) {
            content.flags = mark.flag;
            content.encoding = QString::fromLatin1(mark.encoding);
            body = body.sliced(mark.bytes.size());
            log.add("bom");
            break;
        }
    }
    if (content.flags & (docflag::Utf16LittleEndian | docflag::Utf16BigEndian)) {
        readUtf16(body, content.flags & docflag::Utf16BigEndian, content, log);
    } else if (content.flags & docflag::Utf8ByteOrderMark) {
        QByteArray utf8 = body.toByteArray();
        if (const int nulls = removeZeros(utf8))
            log.add("nulls_removed", {{"count", QString::number(nulls)}});
        log.add("read", {{"encoding", content.encoding}, {"length", QString::number(utf8.size())}});
        content.text = decodeBytes(utf8, codepage::Utf8);
        log.add("converted_to",
                {{"encoding", content.encoding}, {"length", QString::number(content.text.size())}});
    } else {
        readEightBit(body, content, log);
    }
}

bool readMarkupFile(const QString& path, MarkupFileContent& content, DiagnosticLog& log) {
    QByteArray bytes;
    int error = 0;
    if (!readAll(path, bytes, error)) {
        addFileError(log, error);
        return false;
    }
    readMarkupBytes(bytes, content, log);
    return true;
}

bool writeMarkupFile(const QString& path, QStringView text, int flags, const QString& encoding,
                     DiagnosticLog& log, bool keepWellFormed) {
    QString name = encoding;
    if (name.isEmpty())
        name = declaredEncoding(text);
    if (name.isEmpty())
        name = QStringLiteral("UTF-8");

    // The bytes are made before the file is opened, so that a save refused here leaves
    // the file as it was.
    const bool units = flags & (docflag::Utf16LittleEndian | docflag::Utf16BigEndian);
    const bool bigEndian = flags & docflag::Utf16BigEndian;
    QByteArray bytes;
    bool lossy = false;
    bool substituted = false;
    if (units) {
        bytes = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
        bytes += encodeText(text, bigEndian ? codepage::Utf16Be : codepage::Utf16Le);
    } else {
        if (flags & docflag::Utf8ByteOrderMark)
            bytes = QByteArray("\xEF\xBB\xBF");
        bytes += encodeText(text, codePageForEncoding(name), &lossy, &substituted);
    }
    // A '?' put in for a character the encoding lacks can change the markup: after '<'
    // it starts a processing instruction. A well-formed document is not written as a
    // file that would no longer load.
    if (substituted && keepWellFormed && !loadsWellFormed(bytes, flags)) {
        log.add("conversion_loss");
        return false;
    }

    File file(path, "wb");
    if (!file.get()) {
        addFileError(log, errno);
        return false;
    }
    if (units || (flags & docflag::Utf8ByteOrderMark))
        log.add("bom");
    if (!units) {
        log.add("converted_from",
                {{"encoding", QStringLiteral("UTF-16")}, {"length", QString::number(text.size())}});
        if (lossy)
            log.add("conversion_loss");
    }
    errno = 0;
    const size_t written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file.get());
    if (written != size_t(bytes.size())) {
        addFileError(log, errno != 0 ? errno : EIO);
        return false;
    }
    if (!file.close()) {
        addFileError(log, errno != 0 ? errno : EIO);
        return false;
    }
    log.add("write", {{"encoding", name}, {"length", QString::number(bytes.size())}});
    return true;
}

} // namespace corvane::xml
