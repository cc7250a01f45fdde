#pragma once

#include <QLocale>

namespace corvane::app {

// The Windows language identifier (LCID) that names the language file for a locale.
// Language files exist per language, not per region, so every region of a language
// maps to the same identifier; Chinese is split by script (simplified 2052,
// traditional 1028). Unknown languages and the C locale give 1033 (English).
int lcidOfLocale(const QLocale& locale);

// The desktop's interface language (first of the system locale's UI languages).
int userInterfaceLcid();

} // namespace corvane::app
