#pragma once

#include "xml/DiagnosticLog.h"

#include <QString>
#include <QStringView>

namespace corvane::xml {

struct MarkupFileContent {
    QString text;
    int flags = 0;    // docflag byte-order-mark bits found
    QString encoding; // the encoding the bytes were read in; empty for the system code page
};

// Reads a markup file and turns it into UTF-16: byte-order marks, the declared
// encoding, the UTF-8 test and the code-page conversion. Zero characters are
// dropped. False (with a file_error record) when the file cannot be read.
bool readMarkupFile(const QString& path, MarkupFileContent& content, DiagnosticLog& log);

// readMarkupFile for bytes already read.
void readMarkupBytes(QByteArrayView bytes, MarkupFileContent& content, DiagnosticLog& log);

// Writes text in the given encoding (or the declared one, or UTF-8) with the
// marks the flags ask for. False (with a file_error record) on any file error.
// With keepWellFormed, false (with a conversion_loss record, the file untouched)
// when characters the encoding lacks would make the file load ill-formed.
bool writeMarkupFile(const QString& path, QStringView text, int flags, const QString& encoding,
                     DiagnosticLog& log, bool keepWellFormed = false);

} // namespace corvane::xml
