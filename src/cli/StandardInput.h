#pragma once
// "-" as the file of an import: corvanectl reads its standard input into a file of a
// private temporary folder and hands that file on, since the request may run in the
// window's process.

#include "control/requests/Request.h"

#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace corvane::cli {

class StagedInput {
public:
    // When the request imports from "-": reads `input` whole into the staged file and
    // makes the request name it. False, with `error`, when the input cannot be read or
    // staged. Reading stops one byte past the largest file an import takes, so that the
    // import refuses it as too large.
    bool stage(control::Request& request, std::FILE* input, QString& error);
    // Puts "-" back in place of the staged file's path in what the request answered.
    void restoreName(control::Answer& answer) const;

private:
    std::unique_ptr<QTemporaryDir> folder_; // made only for an import from "-"
    QString path_;
};

} // namespace corvane::cli
