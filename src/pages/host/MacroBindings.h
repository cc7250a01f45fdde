#pragma once
// What the macro page tells the page that binds macros to keys: the button page shows
// the macro list in a menu and a key's macro by name, and follows the macro page's
// changes through this interface so that neither page includes the other.

class QString;

namespace corvane::ui {
class ComboBox;
}

namespace corvane::pages {

class MacroBindings {
public:
    virtual ~MacroBindings() = default;
    // The macro menu's items, which the macro page keeps equal to its macro list.
    virtual ui::ComboBox* macroMenu() const = 0;
    // The macro page filled the macro menu: the selected key's macro shows in it.
    virtual void macrosListed() = 0;
    // A key's text in the key list (the macro page renamed the macro the key plays).
    virtual void showKeyDescription(int keyCode, const QString& text) = 0;
};

} // namespace corvane::pages
