#pragma once
// The texts the button page and the macro list show for stored bindings and macro names.
// Pure functions: the interface texts come in through `text` (a TextId's text in the
// current language).

#include "store/ButtonBinding.h"

#include <QString>

#include <functional>

namespace corvane::control {

using TextLookup = std::function<QString(int textId)>;

// Interface texts used by the macro words.
inline constexpr int kCustomWordText = 351; // the language's word for "custom"
inline constexpr int kCopyWordText = 31;    // the language's word for "copy"

// The key list's text for a stored binding in the language `lcid`: the catalogue's
// description for known values of types 1, 3, 6, 7, 8, 9; a macro's stored name re-worded
// for the language (another language's "custom" prefix or "copy" suffix, MacroWords.h);
// otherwise macroDesc.
QString describeBinding(const store::ButtonBinding& binding, int lcid, const TextLookup& text);

// A stored macro name re-worded for `lcid` (the rule describeBinding applies to macros).
QString macroBindingName(const QString& stored, int lcid, const TextLookup& text);

// The macro list's name for a stored macro name: a leading "custom" word of any language
// becomes the custom word, then a trailing "copy" word of any language becomes
// "<part before it> <copy word>".
QString macroDisplayName(const QString& stored, const TextLookup& text);

} // namespace corvane::control
