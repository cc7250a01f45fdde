#pragma once
// Every image the generator produces, as tables: file path, pixel size and the
// function that draws it.

#include "Canvas.h"

#include <QSize>

#include <vector>

namespace corvane::skin {

struct ImageRecipe {
    const char* path; // relative to its output folder
    QSize size;
    Painter paint;
};

// The PNG images of the default skin, relative to the skin folder.
const std::vector<ImageRecipe>& skinImages();

// The skin's window and tray icon: its file name and the sizes it holds.
inline constexpr const char* kIconFileName = "Corvane.ico";
const std::vector<int>& iconFileSizes();

// The freedesktop icon theme copies of the application icon, relative to the
// hicolor folder: <n>x<n>/apps/io.github.corvane.Corvane.png.
const std::vector<ImageRecipe>& themeIcons();

} // namespace corvane::skin
