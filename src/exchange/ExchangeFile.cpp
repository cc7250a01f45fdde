#include "exchange/ExchangeFile.h"

#include "store/SettingKey.h"

#include <QFileInfo>
#include <QSaveFile>

namespace corvane::exchange {

xml::MarkupDocument newExchangeDocument() {
    return xml::MarkupDocument(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"));
}

ExchangeStatus loadExchangeFile(const QString& path, xml::MarkupDocument& document) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile()) {
        return ExchangeStatus::FileMissing;
    }
    if (info.size() > kMaxExchangeFileBytes) {
        return ExchangeStatus::FileTooLarge;
    }
    if (!info.isReadable()) {
        return ExchangeStatus::FileUnreadable;
    }
    if (!document.load(path)) {
        return document.result().contains(QLatin1String("<file_error"))
                   ? ExchangeStatus::FileUnreadable
                   : ExchangeStatus::NotWellFormed;
    }
    return ExchangeStatus::Done;
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
