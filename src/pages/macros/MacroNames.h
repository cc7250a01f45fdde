#pragma once
// How the macro list shows a stored macro name in the current language: a name made with
// the word "custom" of any language shows the current language's word for it, and a name
// ending in the word "copy" of any language shows the current word for that
// (control/names/MacroWords.h). The stored name never changes.

#include <QString>

namespace corvane::pages {

// customWord: the language's word for "custom" (text 351); copyWord: for "copy" (text 31).
QString macroDisplayName(const QString& stored, const QString& customWord, const QString& copyWord);

} // namespace corvane::pages
