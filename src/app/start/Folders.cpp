#include "app/start/Folders.h"

#include "app/start/AppState.h"

namespace corvane::app {

QString skinFolderFor(const QString& exeFolder, const QString& themeName) {
    const QString theme = themeName.isEmpty() ? QStringLiteral("default") : themeName;
    return exeFolder + QStringLiteral("/skins/") + theme + u'/';
}

QString skinFolder() {
    return skinFolderFor(exeFolder(), appState().themeName);
}

QString dataFolder() {
    return dataFolderFor(dataHome(), appState().deviceName);
}

} // namespace corvane::app
