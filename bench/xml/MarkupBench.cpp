// Parsing, walking and loading documents shaped like macro and profile files:
// many one-line elements with attributes. Bytes processed are the UTF-8 size
// of the document, so the rates read as file megabytes per second.

#include "xml/MarkupDocument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>

using corvane::xml::MarkupDocument;

namespace {

// A macro file of about `bytes` bytes: macro_item elements with attributes,
// each holding a record_item list of key steps.
const QString& document(qsizetype bytes) {
    static std::map<qsizetype, QString> cache;
    QString& text = cache[bytes];
    if (!text.isEmpty())
        return text;
    text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro>\r\n");
    for (int macro = 0; text.size() < bytes; ++macro) {
        text += QStringLiteral("<macro_item id=\"%1\" name=\"Macro %1 &amp; more\" type=\"1\" "
                               "loop=\"0\" count=\"3\">\r\n<record_item>\r\n")
                    .arg(macro);
        for (int step = 0; step < 40; ++step) {
            text += QStringLiteral("<item index=\"%1\" type=\"%2\" value=\"%3\" timestamp=\"%4\" "
                                   "desc=\"Key &lt;%3&gt;\"/>\r\n")
                        .arg(step)
                        .arg(1 + step % 2)
                        .arg(65 + step % 26)
                        .arg(step * 15);
        }
        text += QStringLiteral("</record_item>\r\n</macro_item>\r\n");
    }
    text += QStringLiteral("</macro>\r\n");
    return text;
}

qsizetype sizeArgument(const benchmark::State& state) {
    return qsizetype(state.range(0)) << 20;
}

void BM_SetDoc(benchmark::State& state) {
    const QString& text = document(sizeArgument(state));
    MarkupDocument doc;
    for (auto _ : state) {
        if (!doc.setDoc(text))
            state.SkipWithError("document is not well-formed");
    }
    state.SetBytesProcessed(state.iterations() * text.toUtf8().size());
}

// Reads every attribute of every element: the way the catalog and the macro
// and profile importers walk a file.
void BM_Walk(benchmark::State& state) {
    const QString& text = document(sizeArgument(state));
    const QString itemNames[] = {"index", "type", "value", "timestamp", "desc"};
    MarkupDocument doc;
    qint64 values = 0;
    for (auto _ : state) {
        state.PauseTiming();
        doc.setDoc(text);
        state.ResumeTiming();
        doc.findElem(QStringLiteral("macro"));
        doc.intoElem();
        while (doc.findElem(QStringLiteral("macro_item"))) {
            values += doc.getAttrib(QStringLiteral("name")).size();
            values += doc.getAttrib(QStringLiteral("id")).toInt();
            doc.intoElem();
            if (doc.findElem(QStringLiteral("record_item"))) {
                doc.intoElem();
                while (doc.findElem(QStringLiteral("item"))) {
                    for (const QString& name : itemNames)
                        values += doc.getAttrib(name).size();
                }
                doc.outOfElem();
            }
            doc.outOfElem();
        }
    }
    benchmark::DoNotOptimize(values);
    state.SetBytesProcessed(state.iterations() * text.toUtf8().size());
}

void BM_Load(benchmark::State& state) {
    const QString& text = document(sizeArgument(state));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("macros.xml"));
    const QByteArray bytes = text.toUtf8();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            state.SkipWithError("cannot write the file");
            return;
        }
    }
    MarkupDocument doc;
    for (auto _ : state) {
        if (!doc.load(path))
            state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

} // namespace

BENCHMARK(BM_SetDoc)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Walk)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Arg(1)->Arg(20)->Unit(benchmark::kMillisecond);
