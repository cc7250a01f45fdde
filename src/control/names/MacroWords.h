#pragma once
// The words each language puts into the names of macros it makes: "custom" at the start of
// a new macro's name and "copy" at the end of a copied one. A name made in one language is
// recognised in every other by these words.

#include <span>
#include <string_view>

namespace corvane::control {

struct MacroWord {
    int lcid; // the language whose word it is
    const char16_t* text;
};

// In the order they are tried. A language may have more than one word (an older or a
// shortened form), and two languages may share one.
std::span<const MacroWord> customWords();
std::span<const MacroWord> copyWords();

// Whether `text` is one of the words of the language `lcid` in `words`.
bool isOwnWord(std::span<const MacroWord> words, std::u16string_view text, int lcid);

// The language's own copy word (its first in copyWords()), or nullptr when it has none.
const char16_t* ownCopyWord(int lcid);

} // namespace corvane::control
