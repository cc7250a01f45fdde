#include "cli/StandardInput.h"

#include "exchange/ExchangeFile.h"

#include <QFile>

namespace corvane::cli {

namespace {

bool importsFromStandardInput(const control::Request& request) {
    return request.action == u"import" &&
           (request.command == u"profile" || request.command == u"macro") &&
           !request.arguments.isEmpty() && request.arguments.last() == control::kStandardStream;
}

} // namespace

bool StagedInput::stage(control::Request& request, std::FILE* input, QString& error) {
    if (!importsFromStandardInput(request))
        return true;
    folder_ = std::make_unique<QTemporaryDir>();
    if (!folder_->isValid()) {
        error = QStringLiteral("cannot make a temporary folder for the standard input");
        return false;
    }
    QByteArray bytes;
    char buffer[65536];
    const qint64 limit = exchange::kMaxExchangeFileBytes + 1;
    while (bytes.size() < limit) {
        const size_t read = std::fread(buffer, 1, sizeof buffer, input);
        bytes.append(buffer, qsizetype(read));
        if (read < sizeof buffer)
            break;
    }
    if (std::ferror(input)) {
        error = QStringLiteral("cannot read the standard input");
        return false;
    }
    bytes.truncate(limit);
    // Named ".xml": a profile imported from a pipe keeps the profile's own name.
    path_ = folder_->filePath(QStringLiteral(".xml"));
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        error = QStringLiteral("cannot keep the standard input in %1").arg(folder_->path());
        return false;
    }
    request.arguments.last() = path_;
    return true;
}

void StagedInput::restoreName(control::Answer& answer) const {
    if (path_.isEmpty())
        return;
    answer.out.replace(path_, control::kStandardStream.toString());
    answer.err.replace(path_, control::kStandardStream.toString());
}

} // namespace corvane::cli
