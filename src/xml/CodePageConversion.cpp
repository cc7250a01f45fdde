#include "xml/CodePageConversion.h"

#include "xml/Cp1252.h"
#include "xml/EncodingTable.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <langinfo.h>
#include <unordered_map>

namespace corvane::xml {
namespace {

// Where the C library's name for a code page is not simply "CP<number>".
const char* iconvNameFor(int codePage) {
    static const std::unordered_map<int, const char*> names = {
        {37, "IBM037"},          {500, "IBM500"},         {708, "ASMO-708"},
        {850, "IBM850"},         {852, "IBM852"},         {855, "IBM855"},
        {857, "IBM857"},         {858, "IBM858"},         {860, "IBM860"},
        {861, "IBM861"},         {862, "IBM862"},         {863, "IBM863"},
        {864, "IBM864"},         {865, "IBM865"},         {866, "IBM866"},
        {869, "IBM869"},         {870, "IBM870"},         {875, "IBM875"},
        {1026, "IBM1026"},       {1361, "JOHAB"},         {10000, "MACINTOSH"},
        {10007, "MAC-CYRILLIC"}, {10017, "MACUKRAINIAN"}, {10029, "MAC-CENTRALEUROPE"},
        {10079, "MAC-IS"},       {20105, "ISO646-US"},    {20106, "ISO646-DE"},
        {20107, "ISO646-SE"},    {20108, "ISO646-NO"},    {20127, "ASCII"},
        {20273, "IBM273"},       {20277, "IBM277"},       {20278, "IBM278"},
        {20280, "IBM280"},       {20284, "IBM284"},       {20285, "IBM285"},
        {20290, "IBM290"},       {20297, "IBM297"},       {20420, "IBM420"},
        {20423, "IBM423"},       {20424, "IBM424"},       {20866, "KOI8-R"},
        {20871, "IBM871"},       {20880, "IBM880"},       {20905, "IBM905"},
        {20936, "GB2312"},       {21025, "IBM1025"},      {21866, "KOI8-U"},
        {28591, "ISO-8859-1"},   {28592, "ISO-8859-2"},   {28593, "ISO-8859-3"},
        {28594, "ISO-8859-4"},   {28595, "ISO-8859-5"},   {28596, "ISO-8859-6"},
        {28597, "ISO-8859-7"},   {28598, "ISO-8859-8"},   {28599, "ISO-8859-9"},
        {28603, "ISO-8859-13"},  {28605, "ISO-8859-15"},  {38598, "ISO-8859-8"},
        {50220, "ISO-2022-JP"},  {50225, "ISO-2022-KR"},  {50227, "ISO-2022-CN"},
        {51932, "EUC-JP"},       {51936, "EUC-CN"},       {51949, "EUC-KR"},
        {54936, "GB18030"},      {65000, "UTF-7"},
    };
    auto it = names.find(codePage);
    return it == names.end() ? nullptr : it->second;
}

QByteArray charsetFor(int codePage) {
    if (codePage == codepage::SystemAnsi)
        return systemAnsiCharset();
    if (const char* name = iconvNameFor(codePage))
        return name;
    return "CP" + QByteArray::number(codePage);
}

// UTF-16 in the machine's own byte order, the form QString holds.
constexpr const char* kNativeUtf16 = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "UTF-16LE" : "UTF-16BE";

class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Iconv() {
        if (isOpen())
            iconv_close(m_cd);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool isOpen() const { return m_cd != iconv_t(-1); }
    iconv_t handle() const { return m_cd; }

private:
    iconv_t m_cd;
};

bool decodeCharset(QByteArrayView bytes, const QByteArray& charset, QString& out) {
    if (isCp1252(charset)) {
        out = decodeCp1252(bytes);
        return true;
    }
    Iconv cd(kNativeUtf16, charset.constData());
    if (!cd.isOpen())
        return false;
    QByteArray buffer;
    buffer.resize((bytes.size() + 16) * 2);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = size_t(bytes.size());
    char* outPtr = buffer.data();
    size_t outLeft = size_t(buffer.size());
    auto grow = [&] {
        const qsizetype used = outPtr - buffer.data();
        buffer.resize(buffer.size() + buffer.size() / 2 + 64);
        outPtr = buffer.data() + used;
        outLeft = size_t(buffer.size() - used);
    };
    auto putReplacement = [&] {
        if (outLeft < 2)
            grow();
        const char16_t replacement = 0xFFFD;
        memcpy(outPtr, &replacement, 2);
        outPtr += 2;
        outLeft -= 2;
    };
    while (inLeft > 0) {
        if (iconv(cd.handle(), &in, &inLeft, &outPtr, &outLeft) != size_t(-1))
            break;
        if (errno == E2BIG) {
            grow();
        } else if (errno == EILSEQ) {
            putReplacement();
            ++in;
            --inLeft;
        } else { // EINVAL: a sequence cut off by the end of the bytes
            putReplacement();
            break;
        }
    }
    while (iconv(cd.handle(), nullptr, nullptr, &outPtr, &outLeft) == size_t(-1) && errno == E2BIG)
        grow();
    const qsizetype units = (outPtr - buffer.data()) / 2;
    out = QString(reinterpret_cast<const QChar*>(buffer.constData()), units);
    return true;
}

bool encodeCharset(QStringView text, const QByteArray& charset, QByteArray& out, bool& lossy) {
    if (isCp1252(charset)) {
        out = encodeCp1252(text, lossy);
        return true;
    }
    Iconv cd(charset.constData(), kNativeUtf16);
    if (!cd.isOpen())
        return false;
    out.resize(text.size() + 16);
    char* in = reinterpret_cast<char*>(const_cast<QChar*>(text.data()));
    size_t inLeft = size_t(text.size()) * 2;
    char* outPtr = out.data();
    size_t outLeft = size_t(out.size());
    auto grow = [&] {
        const qsizetype used = outPtr - out.data();
        out.resize(out.size() + out.size() / 2 + 64);
        outPtr = out.data() + used;
        outLeft = size_t(out.size() - used);
    };
    // The substitute is the character set's own '?', converted in the current
    // shift state of stateful encodings.
    auto putSubstitute = [&] {
        char16_t question = u'?';
        char* qIn = reinterpret_cast<char*>(&question);
        size_t qLeft = 2;
        while (iconv(cd.handle(), &qIn, &qLeft, &outPtr, &outLeft) == size_t(-1) && errno == E2BIG)
            grow();
        lossy = true;
    };
    while (inLeft > 0) {
        if (iconv(cd.handle(), &in, &inLeft, &outPtr, &outLeft) != size_t(-1))
            break;
        if (errno == E2BIG) {
            grow();
            continue;
        }
        // EILSEQ: no representation (or a lone surrogate); EINVAL: a high
        // surrogate cut off by the end. Skip one character either way.
        const char16_t unit = qFromUnaligned<char16_t>(in);
        size_t skip = 2;
        if (QChar::isHighSurrogate(unit) && inLeft >= 4 &&
            QChar::isLowSurrogate(qFromUnaligned<char16_t>(in + 2)))
            skip = 4;
        putSubstitute();
        in += skip;
        inLeft -= std::min(skip, inLeft);
    }
    while (iconv(cd.handle(), nullptr, nullptr, &outPtr, &outLeft) == size_t(-1) && errno == E2BIG)
        grow();
    out.resize(outPtr - out.data());
    return true;
}

QString decodeUnits16(QByteArrayView bytes, bool bigEndian) {
    QString text(bytes.size() / 2, Qt::Uninitialized);
    char16_t* units = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char* p = bytes.data() + 2 * i;
        units[i] = bigEndian ? qFromBigEndian<char16_t>(p) : qFromLittleEndian<char16_t>(p);
    }
    return text;
}

QByteArray encodeUnits16(QStringView text, bool bigEndian) {
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (bigEndian)
            qToBigEndian(unit, bytes.data() + 2 * i);
        else
            qToLittleEndian(unit, bytes.data() + 2 * i);
    }
    return bytes;
}

bool lossIsReportable(int codePage) {
    switch (codePage) {
    case 50220:
    case 50221:
    case 50222:
    case 50225:
    case 50227:
    case 50229:
    case 52936:
    case 54936:
    case codepage::Utf7:
    case codepage::Utf8:
        return false;
    default:
        return !(codePage >= 57002 && codePage <= 57011);
    }
}

} // namespace

bool passesUtf8Test(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;) {
        const unsigned char lead = p[i++];
        int continuation;
        if (lead < 0x80)
            continue;
        if ((lead & 0xE0) == 0xC0)
            continuation = 1;
        else if ((lead & 0xF0) == 0xE0)
            continuation = 2;
        else if ((lead & 0xF8) == 0xF0)
            continuation = 3;
        else
            return false; // 11111xxx, or a continuation byte with no lead
        for (; continuation > 0; --continuation, ++i) {
            if (i >= size || (p[i] & 0xC0) != 0x80)
                return false;
        }
    }
    return true;
}

QByteArray systemAnsiCharset() {
    const QByteArray codeset = QByteArray(nl_langinfo(CODESET)).toUpper();
    if (codeset.isEmpty() || codeset == "UTF-8" || codeset == "UTF8" || codeset == "ASCII" ||
        codeset == "ANSI_X3.4-1968" || codeset == "US-ASCII")
        return "CP1252";
    return codeset;
}

QString decodeBytes(QByteArrayView bytes, int codePage, QByteArray* charsetUsed) {
    auto report = [&](const QByteArray& name) {
        if (charsetUsed)
            *charsetUsed = name;
    };
    switch (codePage) {
    case codepage::Utf8:
        report("UTF-8");
        return QString::fromUtf8(bytes);
    case codepage::Utf16Le:
    case codepage::Utf16Be:
        report(codePage == codepage::Utf16Be ? "UTF-16BE" : "UTF-16LE");
        return decodeUnits16(bytes, codePage == codepage::Utf16Be);
    case codepage::Utf32Le:
    case codepage::Utf32Be: {
        report(codePage == codepage::Utf32Be ? "UTF-32BE" : "UTF-32LE");
        QStringDecoder decoder(codePage == codepage::Utf32Be ? QStringConverter::Utf32BE
                                                             : QStringConverter::Utf32LE);
        return decoder.decode(bytes);
    }
    default:
        break;
    }
    QString text;
    const QByteArray charset = charsetFor(codePage);
    if (decodeCharset(bytes, charset, text)) {
        report(charset);
        return text;
    }
    const QByteArray fallback = systemAnsiCharset();
    if (decodeCharset(bytes, fallback, text)) {
        report(fallback);
        return text;
    }
    report("ISO-8859-1");
    return QString::fromLatin1(bytes);
}

QByteArray encodeText(QStringView text, int codePage, bool* lossy, bool* substituted) {
    bool lost = false;
    QByteArray bytes;
    switch (codePage) {
    case codepage::Utf8:
        bytes = text.toUtf8();
        break;
    case codepage::Utf16Le:
    case codepage::Utf16Be:
        bytes = encodeUnits16(text, codePage == codepage::Utf16Be);
        break;
    case codepage::Utf32Le:
    case codepage::Utf32Be: {
        QStringEncoder encoder(codePage == codepage::Utf32Be ? QStringConverter::Utf32BE
                                                             : QStringConverter::Utf32LE);
        bytes = encoder.encode(text);
        break;
    }
    default:
        if (!encodeCharset(text, charsetFor(codePage), bytes, lost) &&
            !encodeCharset(text, systemAnsiCharset(), bytes, lost))
            bytes = text.toUtf8();
        break;
    }
    if (lossy)
        *lossy = lost && lossIsReportable(codePage);
    if (substituted)
        *substituted = lost;
    return bytes;
}

} // namespace corvane::xml
