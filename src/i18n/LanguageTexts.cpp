#include "i18n/LanguageTexts.h"

#include "i18n/IniFileCache.h"

#include <mutex>

namespace corvane::i18n {

namespace {

struct LanguageState {
    std::mutex mutex;
    QString programFolder;
    int lcid = kDefaultLcid;
    IniFileCache cache;
};

LanguageState& state() {
    static LanguageState instance;
    return instance;
}

} // namespace

QString languageFile(const QString& exeFolder, int lcid) {
    QString path = exeFolder;
    if (!path.isEmpty() && !path.endsWith(u'/'))
        path += u'/';
    return path + QStringLiteral("language/%1.lan").arg(lcid);
}

void setProgramFolder(const QString& exeFolder) {
    LanguageState& s = state();
    const std::lock_guard lock(s.mutex);
    s.programFolder = exeFolder;
}

QString programFolder() {
    LanguageState& s = state();
    const std::lock_guard lock(s.mutex);
    return s.programFolder;
}

void setCurrentLcid(int lcid) {
    LanguageState& s = state();
    const std::lock_guard lock(s.mutex);
    s.lcid = lcid;
}

int currentLcid() {
    LanguageState& s = state();
    const std::lock_guard lock(s.mutex);
    return s.lcid;
}

QString languageFile() {
    LanguageState& s = state();
    const std::lock_guard lock(s.mutex);
    return languageFile(s.programFolder, s.lcid);
}

QString lookupText(QStringView section, int id) {
    LanguageState& s = state();
    const std::lock_guard lock(s.mutex);
    return s.cache.value(languageFile(s.programFolder, s.lcid), section, QString::number(id));
}

} // namespace corvane::i18n
