#include "pages/keys/KeyDecoding.h"

#include "pages/keys/KeyTables.h"

namespace corvane::pages {
namespace {

// The character the layout puts on the key, from Qt's key code (already in upper case for
// letters), a dead key, or the text it typed; empty when none of them is printable.
QString layoutCharacter(int qtKey, const QString& text) {
    if (qtKey > 0x20 && qtKey < 0x110000) {
        const auto c = char32_t(qtKey);
        if (QChar::isPrint(c))
            return QString::fromUcs4(&c, 1);
    }
    if (QString dead = keys::deadKeyCharacter(qtKey); !dead.isEmpty())
        return dead;
    if (text.size() == 1 && text.at(0).isPrint() && !text.at(0).isSpace())
        return QString(text.at(0).toUpper());
    return {};
}

} // namespace

QString keyName(int virtualKey, int qtKey, const QString& text) {
    if (QString fixed = keys::fixedKeyName(virtualKey); !fixed.isEmpty())
        return fixed;
    // A key the layout reports as a key without a character (Enter, an arrow, or a keypad
    // key with Num Lock off, which reports Page Up and the like) is named after that key.
    const int named = keys::virtualKeyFromQtKey(qtKey, false);
    if (named != 0 && !keys::isCharacterKey(named)) {
        if (QString name = keys::builtInKeyName(named); !name.isEmpty())
            return name;
    }
    if (keys::isKeypadKey(virtualKey))
        return keys::builtInKeyName(virtualKey);
    if (QString character = layoutCharacter(qtKey, text); !character.isEmpty())
        return character;
    return keys::builtInKeyName(virtualKey);
}

InputEvent decodeKey(int qtKey, unsigned scanCode, bool keypad, bool released,
                     const QString& text) {
    InputEvent event;
    event.kind = InputKind::Keyboard;
    event.released = released ? 1 : 0;
    int vk = keys::virtualKeyFromScanCode(scanCode);
    if (vk == 0)
        vk = keys::virtualKeyFromQtKey(qtKey, keypad);
    if (vk == 0)
        return event;
    event.virtualKey = vk;
    event.name = keyName(vk, qtKey, text);
    return event;
}

} // namespace corvane::pages
