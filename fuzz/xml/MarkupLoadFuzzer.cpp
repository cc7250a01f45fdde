// Loads any bytes as a file: byte-order marks, declared encodings, the UTF-8
// test and code-page conversion, then parsing. A loaded document is walked and
// saved again, and the saved file must load.

#include "xml/MarkupDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using corvane::xml::MarkupDocument;

namespace {

// In memory where the machine has a tmpfs: rewriting a file on a disk file
// system flushes it on every close and would slow the fuzzer down tenfold.
QString tempPath(const char* name) {
    const QString folder = QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                               ? QStringLiteral("/dev/shm")
                               : QDir::tempPath();
    return folder + QStringLiteral("/corvane-xml-fuzz-%1-%2")
                        .arg(QString::number(getpid()), QString::fromLatin1(name));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString input = tempPath("in.xml");
    static const QString output = tempPath("out.xml");
    static const bool cleanupRegistered = [] {
        std::atexit([] {
            QFile::remove(input);
            QFile::remove(output);
        });
        return true;
    }();
    (void)cleanupRegistered;
    {
        QFile file(input);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    MarkupDocument doc;
    const bool loaded = doc.load(input);
    for (int steps = 0; steps < 64; ++steps) {
        if (doc.findElem()) {
            doc.getAttrib(QStringLiteral("v"));
            doc.intoElem();
        } else if (!doc.outOfElem()) {
            break;
        }
    }
    // What was loaded and saved must load again: a save that writes a file the program
    // cannot read back loses the user's data.
    if (loaded && doc.save(output)) {
        MarkupDocument again;
        if (!again.load(output)) {
            std::fprintf(stderr, "saved file does not load again\nsave: %s\nreload: %s\n",
                         qPrintable(doc.result()), qPrintable(again.result()));
            std::abort();
        }
    }
    return 0;
}
