#pragma once
// Checks a user's device file line by line before the program reads it: what would
// make the reader miss a value silently (an element out of order, a misspelt name, a
// number that reads as 0) is told with its line, and what makes the file unusable
// (not XML, no catalog entry, ids that cannot match a mouse) refuses the file.

#include <QByteArray>
#include <QString>

#include <vector>

namespace corvane::catalog {

struct DeviceFileProblem {
    enum class Severity {
        Warning, // the file is used; the value concerned reads as the message says
        Error,   // the file is skipped
    };
    Severity severity = Severity::Error;
    int line = 0; // 1-based; 0 when the problem is the file as a whole
    QString message;

    bool isError() const { return severity == Severity::Error; }
};

// The problems of a user device file's text, in the order of their lines. `stem` is
// the file name without ".xml": it becomes the model's device_attr (and names its
// profile database), so it must be a plain lower-case name. `folder` is where the
// file lies: pictures it names are looked for there.
std::vector<DeviceFileProblem> checkDeviceFileText(const QByteArray& text, const QString& stem,
                                                   const QString& folder);

bool hasError(const std::vector<DeviceFileProblem>& problems);

// "FILE:LINE: error: MESSAGE" (LINE left out when 0), the form editors jump to.
QString describeProblem(const QString& file, const DeviceFileProblem& problem);

} // namespace corvane::catalog
