#include "control/names/MacroWords.h"

#include <string_view>

namespace corvane::control {

namespace {

// The first five languages' words come first, in the order they were always tried; a word
// holding another one at its start comes before it, so that "Пользовательский" is not cut
// behind its first nine letters.
constexpr MacroWord kCustomWords[] = {
    {2052, u"自定义"},
    {1033, u"Custom"},
    {1028, u"自定義"},
    {1041, u"カスタム"},
    {1049, u"Пользовательский"},
    {1049, u"Пользоват"},
    {1028, u"自訂"},
    {1025, u"مخصص"},
    {1031, u"Benutzerdefiniert"},
    {1034, u"Personalizado"},
    {1036, u"Personnalisé"},
    {1040, u"Personalizzata"},
    {1045, u"Własne"},
    {1058, u"Користувацький"},
    {1066, u"Tùy chỉnh"},
    {2070, u"Personalizada"},
};

constexpr MacroWord kCopyWords[] = {
    {2052, u"复制"},       {1033, u"Copy"},      {1028, u"複製"},     {1041, u"複製"},
    {1049, u"Копировать"}, {1041, u"コピー"},    {1025, u"نسخ"},      {1031, u"Kopieren"},
    {1034, u"Copiar"},     {2070, u"Copiar"},    {1036, u"Copier"},   {1040, u"Copia"},
    {1045, u"Kopiuj"},     {1058, u"Копіювати"}, {1066, u"Sao chép"},
};

} // namespace

std::span<const MacroWord> customWords() {
    return kCustomWords;
}

std::span<const MacroWord> copyWords() {
    return kCopyWords;
}

bool isOwnWord(std::span<const MacroWord> words, std::u16string_view text, int lcid) {
    for (const MacroWord& word : words) {
        if (word.lcid == lcid && std::u16string_view(word.text) == text)
            return true;
    }
    return false;
}

const char16_t* ownCopyWord(int lcid) {
    for (const MacroWord& word : kCopyWords) {
        if (word.lcid == lcid)
            return word.text;
    }
    return nullptr;
}

} // namespace corvane::control
