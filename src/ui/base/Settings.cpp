#include "ui/base/Settings.h"

#include <mutex>

namespace corvane::ui {
namespace {

struct Values {
    std::mutex mutex;
    QString deviceName;
    QString themeName;
    QString skinFolder;
    QString defaultFontName;
    QColor selectionColour{0x2f, 0x9b, 0xff};
};

Values& values() {
    static Values v;
    return v;
}

template <class T> void store(T Values::*field, const T& value) {
    std::lock_guard lock(values().mutex);
    values().*field = value;
}

template <class T> T load(T Values::*field) {
    std::lock_guard lock(values().mutex);
    return values().*field;
}

} // namespace

void setDeviceName(const QString& name) {
    store(&Values::deviceName, name);
}
QString deviceName() {
    return load(&Values::deviceName);
}
void setThemeName(const QString& name) {
    store(&Values::themeName, name);
}
QString themeName() {
    return load(&Values::themeName);
}
void setSkinFolder(const QString& folder) {
    store(&Values::skinFolder, folder);
}
QString skinFolder() {
    return load(&Values::skinFolder);
}
void setDefaultFontName(const QString& family) {
    store(&Values::defaultFontName, family);
}
QString defaultFontName() {
    return load(&Values::defaultFontName);
}

void setSelectionColour(const QColor& colour) {
    store(&Values::selectionColour, colour.isValid() ? colour : QColor(0x2f, 0x9b, 0xff));
}
QColor selectionColour() {
    return load(&Values::selectionColour);
}

} // namespace corvane::ui
