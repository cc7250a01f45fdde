#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace corvane::i18n {

// The locale's character set (nl_langinfo(CODESET)) when it is a legacy one that can stand for
// the "ANSI" code page older language files were saved in; empty when the locale is UTF-8 or
// plain ASCII, where Windows-1252 stands in.
QByteArray ansiCodeset();

// Windows-1252, byte by byte. The five bytes the code page leaves undefined become the C1
// controls of the same value, as Windows itself maps them.
QString decodeWindows1252(QByteArrayView bytes);

// Reads bytes written in a legacy character set. Each call decodes one self-contained piece
// (a line); an empty or unknown codeset, or bytes that are not valid in it, are read as
// Windows-1252 instead, so the result is never empty for non-empty input.
class AnsiDecoder {
public:
    explicit AnsiDecoder(QByteArray codeset);
    ~AnsiDecoder();
    AnsiDecoder(const AnsiDecoder&) = delete;
    AnsiDecoder& operator=(const AnsiDecoder&) = delete;

    QString decode(QByteArrayView bytes);

private:
    bool open();

    QByteArray codeset_;
    void* converter_ = nullptr; // iconv_t, opened on first use
    bool openFailed_ = false;
};

// One-shot form of AnsiDecoder.
QString decodeAnsi(QByteArrayView bytes, const QByteArray& codeset);

} // namespace corvane::i18n
