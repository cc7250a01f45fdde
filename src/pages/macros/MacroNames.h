#pragma once
// How the macro list shows a stored macro name in the current language: a name made with
// the word "Custom" (or its Chinese form) shows the language's word for it, and a name
// ending in the word "Copy" (or its Chinese form) shows the language's word for that. The
// stored name never changes.

#include <QString>

namespace corvane::pages {

// customWord: the language's word for "custom" (text 351); copyWord: for "copy" (text 31).
QString macroDisplayName(const QString& stored, const QString& customWord, const QString& copyWord);

} // namespace corvane::pages
