#pragma once

#include <QString>
#include <QStringView>

namespace corvane::i18n {

// The section every text of the interface is looked up in.
inline constexpr QStringView kTextSection = u"LAN";

// The language used before start-up has settled one.
inline constexpr int kDefaultLcid = 2052;

// The language file for lcid under the program folder: <exeFolder>/language/<lcid>.lan.
QString languageFile(const QString& exeFolder, int lcid);

// The process-wide language state that lookupText reads. The program folder is set once at
// start-up; the language at start-up and whenever the user picks another one. Both may be set
// and read from any thread.
void setProgramFolder(const QString& exeFolder);
QString programFolder();
void setCurrentLcid(int lcid);
int currentLcid();

// languageFile(programFolder(), currentLcid()).
QString languageFile();

// The text numbered id in section of the current language file, or an empty text when the
// file, the section or the key is missing. The file is looked up anew for every call, so a
// change of language or of the file shows in the next lookup. Safe from any thread.
QString lookupText(QStringView section, int id);

} // namespace corvane::i18n
