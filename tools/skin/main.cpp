// corvane_skin_gen: draws the default skin's images and the application icons.
//
// The build compiles this program but never runs it; the images it draws are kept
// in the repository. After changing a drawing, re-run it from the repository root
// and commit the images with the change:
//
//   cmake --build build/dev --target corvane_skin_gen
//   build/dev/tools/skin/corvane_skin_gen data/skins/default packaging/icons/hicolor
//
// With --check in front of the folders it writes nothing and compares the files
// there with what it would draw; it lists the files that are missing or differ and
// exits with 1 if there are any. The packaging tests run it that way.

#include "IconFile.h"
#include "Mark.h"
#include "SkinImages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

#include <cstdio>
#include <cstdlib>

namespace {

using corvane::skin::ImageRecipe;

// Anti-aliasing may round a level differently on another Qt build; anything beyond
// that is a real change.
constexpr int kTolerance = 2;

bool sameImage(const QImage& drawn, QImage stored) {
    if (stored.size() != drawn.size())
        return false;
    stored = stored.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < drawn.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(stored.constScanLine(y));
        for (int x = 0; x < drawn.width(); ++x) {
            // Fully transparent pixels may keep any colour.
            if (qAlpha(a[x]) == 0 && qAlpha(b[x]) == 0)
                continue;
            if (std::abs(qRed(a[x]) - qRed(b[x])) > kTolerance ||
                std::abs(qGreen(a[x]) - qGreen(b[x])) > kTolerance ||
                std::abs(qBlue(a[x]) - qBlue(b[x])) > kTolerance ||
                std::abs(qAlpha(a[x]) - qAlpha(b[x])) > kTolerance)
                return false;
        }
    }
    return true;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

bool isOpaque(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(row[x]) != 255)
                return false;
    }
    return true;
}

bool writePng(const QString& path, const QImage& image) {
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    // Opaque images (the window background) are stored without an alpha channel.
    return (isOpaque(image) ? image.convertToFormat(QImage::Format_RGB32) : image)
        .save(path, "PNG");
}

struct Run {
    bool check = false;
    int failures = 0;

    void report(const QString& path, const char* what) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(QDir::toNativeSeparators(path)), what);
        ++failures;
    }

    void image(const QString& folder, const ImageRecipe& recipe) {
        const QString path = folder + '/' + QString::fromLatin1(recipe.path);
        const QImage drawn = corvane::skin::render(recipe.size, recipe.paint);
        if (!check) {
            if (!writePng(path, drawn))
                report(path, "cannot write");
            return;
        }
        const QImage stored(path);
        if (stored.isNull())
            report(path, "missing or unreadable");
        else if (!sameImage(drawn, stored))
            report(path, "differs from the drawing; re-run the generator");
    }

    void iconFile(const QString& folder) {
        const QString path = folder + '/' + QString::fromLatin1(corvane::skin::kIconFileName);
        std::vector<QImage> frames;
        for (int size : corvane::skin::iconFileSizes())
            frames.push_back(corvane::skin::render({size, size}, corvane::skin::paintAppIcon));
        if (!check) {
            const QByteArray bytes = corvane::skin::iconFileBytes(frames);
            if (bytes.isEmpty() || !writeFile(path, bytes))
                report(path, "cannot write");
            return;
        }
        QImageReader reader(path, "ico");
        if (reader.imageCount() != int(frames.size())) {
            report(path, "missing, unreadable or with the wrong number of sizes");
            return;
        }
        for (const QImage& frame : frames) {
            if (!sameImage(frame, reader.read())) {
                report(path, "differs from the drawing; re-run the generator");
                return;
            }
            reader.jumpToNextImage();
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    Run run;
    if (!args.isEmpty() && args.first() == "--check") {
        run.check = true;
        args.removeFirst();
    }
    if (args.isEmpty() || args.size() > 2) {
        std::fprintf(stderr,
                     "usage: corvane_skin_gen [--check] <skin folder> [<hicolor icon folder>]\n");
        return 2;
    }

    const QString skinFolder = args.at(0);
    for (const ImageRecipe& recipe : corvane::skin::skinImages())
        run.image(skinFolder, recipe);
    run.iconFile(skinFolder);
    if (args.size() == 2)
        for (const ImageRecipe& recipe : corvane::skin::themeIcons())
            run.image(args.at(1), recipe);
    return run.failures == 0 ? 0 : 1;
}
