#pragma once
// A multi-size .ico file. Qt's "ico" writer stores one image per file, so each
// size is encoded by it on its own and the single-image files are joined under one
// directory.

#include <QByteArray>
#include <QImage>

#include <vector>

namespace corvane::skin {

// The bytes of an .ico file holding every frame (each at most 256 x 256), or an
// empty array when Qt cannot encode one of them.
QByteArray iconFileBytes(const std::vector<QImage>& frames);

} // namespace corvane::skin
