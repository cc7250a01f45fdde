#include "IconFile.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtEndian>

#include <algorithm>

namespace corvane::skin {
namespace {

// ICONDIR is 6 bytes (reserved, type 1, count); each ICONDIRENTRY 16 bytes, whose
// last two 32-bit fields are the image's byte size and its offset in the file.
constexpr int kHeaderSize = 6;
constexpr int kEntrySize = 16;

struct Encoded {
    QByteArray entry; // the 16-byte directory entry
    QByteArray data;  // the image bytes it points at
};

// Qt leaves the padding at the end of each row of the transparency mask
// uninitialised, which would make the file differ from run to run. The image data is
// a BITMAPINFOHEADER, the 32-bit pixel rows and then the 1-bit mask rows, each row
// padded to 4 bytes; this clears the padding. False when the layout is another.
bool clearMaskPadding(QByteArray& dib) {
    if (dib.size() < 40)
        return false;
    const char* header = dib.constData();
    const quint32 headerSize = qFromLittleEndian<quint32>(header);
    const qint32 width = qFromLittleEndian<qint32>(header + 4);
    const qint32 height = qFromLittleEndian<qint32>(header + 8) / 2; // image + mask
    const quint16 bitCount = qFromLittleEndian<quint16>(header + 14);
    if (headerSize != 40 || bitCount != 32 || width <= 0 || height <= 0)
        return false;
    const qsizetype maskStart = headerSize + qsizetype(width) * height * 4;
    const qsizetype stride = (width + 31) / 32 * 4;
    const qsizetype used = (width + 7) / 8;
    if (maskStart + stride * height != dib.size())
        return false;
    for (qint32 row = 0; row < height; ++row) {
        char* line = dib.data() + maskStart + row * stride;
        if (width % 8 != 0)
            line[used - 1] = char(line[used - 1] & (0xFF << (8 - width % 8)));
        std::fill(line + used, line + stride, '\0');
    }
    return true;
}

bool encodeOne(const QImage& image, Encoded& out) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    if (!writer.write(image))
        return false;
    const QByteArray bytes = buffer.data();
    if (bytes.size() < kHeaderSize + kEntrySize ||
        qFromLittleEndian<quint16>(bytes.constData() + 4) != 1)
        return false;
    out.entry = bytes.mid(kHeaderSize, kEntrySize);
    const quint32 size = qFromLittleEndian<quint32>(out.entry.constData() + 8);
    const quint32 offset = qFromLittleEndian<quint32>(out.entry.constData() + 12);
    if (qsizetype(offset) + qsizetype(size) > bytes.size())
        return false;
    out.data = bytes.mid(offset, size);
    return clearMaskPadding(out.data);
}

} // namespace

QByteArray iconFileBytes(const std::vector<QImage>& frames) {
    std::vector<Encoded> encoded(frames.size());
    for (size_t i = 0; i < frames.size(); ++i)
        if (frames[i].width() > 256 || frames[i].height() > 256 ||
            !encodeOne(frames[i], encoded[i]))
            return {};

    QByteArray file(kHeaderSize, '\0');
    qToLittleEndian<quint16>(1, file.data() + 2); // type: icon
    qToLittleEndian<quint16>(quint16(frames.size()), file.data() + 4);
    quint32 offset = quint32(kHeaderSize + kEntrySize * frames.size());
    for (Encoded& e : encoded) {
        qToLittleEndian<quint32>(offset, e.entry.data() + 12);
        file += e.entry;
        offset += quint32(e.data.size());
    }
    for (const Encoded& e : encoded)
        file += e.data;
    return file;
}

} // namespace corvane::skin
