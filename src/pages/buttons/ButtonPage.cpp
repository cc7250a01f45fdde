#include "pages/buttons/ButtonPage.h"

#include "i18n/LanguageTexts.h"
#include "pages/buttons/BindingDescription.h"
#include "pages/dialogs/MessageBox.h"
#include "pages/host/PageControls.h"
#include "pages/host/PageHost.h"
#include "pages/keys/KeyCapture.h"
#include "protocol/codec/BindingType.h"
#include "protocol/codec/KeyCodes.h"
#include "protocol/worker/DeviceTask.h"
#include "store/ProfileDatabase.h"
#include "ui/base/EscapeCloses.h"
#include "ui/base/Skin.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/StaticText.h"
#include "ui/controls/TextField.h"
#include "ui/views/KeyList.h"
#include "ui/views/MousePicture.h"
#include "ui/views/Picture.h"

#include <QApplication>
#include <QFontMetricsF>

#include <algorithm>
#include <array>
#include <cmath>

namespace corvane::pages {

namespace {

namespace C = ButtonControl;

QString text(int id) {
    return i18n::lookupText(i18n::kTextSection, id);
}

// Interface texts of the page.
enum Text : int {
    Caption = 100,
    SubCaption = 101,
    RestoreAll = 102,
    KeyWord = 103,
    RestoreKeyTip = 104,
    OpenPanel = 11,
    Confirm = 38,
    ClosePanelTip = 183,
    CaptureHint = 162,
    RestoreQuestion = 170,
    RestoreTitle = 171,
    PrimaryKeyText = 175,
    PrimaryKeyTitle = 177,
    RepeatFirst = 185,
    RepeatSecond = 186,
    RepeatNote = 187,
};

// The nine choices: the control, its menu and its caption text.
struct Choice {
    int control;
    FunctionMenu menu;
    int caption;
};
constexpr std::array kChoices{
    Choice{C::MouseMenu, FunctionMenu::Mouse, 105},
    Choice{C::MediaMenu, FunctionMenu::Media, 116},
    Choice{C::MacroMenu, FunctionMenu::Macro, 125},
    Choice{C::SystemMenu, FunctionMenu::System, 126},
    Choice{C::DpiMenu, FunctionMenu::Dpi, 140},
    Choice{C::DeviceMenu, FunctionMenu::Device, 150},
    Choice{C::KeyboardChoice, FunctionMenu::Keyboard, 160},
    Choice{C::RepeatChoice, FunctionMenu::Repeat, 182},
    Choice{C::DisableChoice, FunctionMenu::Disable, 139},
};

const Choice* choiceOf(FunctionMenu menu) {
    for (const Choice& c : kChoices) {
        if (c.menu == menu)
            return &c;
    }
    return nullptr;
}
const Choice* choiceOfType(int type) {
    for (const Choice& c : kChoices) {
        if (menuBindingType(c.menu) == type)
            return &c;
    }
    return nullptr;
}

// The keys shown until a device description supplies its own: (key code, TextId).
constexpr std::array<std::pair<int, int>, 6> kFixedKeys{
    {{0, 106}, {2, 107}, {1, 108}, {3, 109}, {4, 110}, {7, 151}}};

// Modifier toggles: control, bit, name, in the order the text is built.
struct Modifier {
    int control;
    int bit;
    const char* name;
};
constexpr std::array kModifierText{
    Modifier{C::ShiftToggle, 2, "Shift"},
    Modifier{C::CtrlToggle, 1, "Ctrl"},
    Modifier{C::WinToggle, 8, "Win"},
    Modifier{C::AltToggle, 4, "Alt"},
};

constexpr int kRepeatFirstDefault = 1;
constexpr int kRepeatSecondDefault = 5;
constexpr int kRowHeight = 40;
constexpr int kChoiceHeight = 36;
// The function area's width: the pages keep left of the window's mouse picture.
constexpr int kAreaWidth = 420;
// The captions' column: never narrower than this, and it leaves the menus at least the
// other width.
constexpr int kCaptionLeft = 18;
constexpr int kMinCaptionWidth = 110;
constexpr int kMinBoxWidth = 150;
constexpr int kCaptionGap = 8;

} // namespace

ButtonPage::ButtonPage(PageHost& host) : m_host(host) {}

ButtonPage::~ButtonPage() = default;

void ButtonPage::createControls(PageControls& controls) {
    m_controls = &controls;
    controls.add<ui::StaticText>(C::Caption, QRect(24, 6, 370, 34))
        ->setTextFont({}, 20, ui::FontBold);
    controls.add<ui::StaticText>(C::SubCaption, QRect(24, 40, 370, 24));
    controls.add<ui::PushButton>(C::RestoreAll, QRect(366, 14, 220, 32));

    auto* list = controls.add<ui::KeyList>(C::KeyList, QRect(24, 80, 234, 6 * kRowHeight));
    list->setRowHeight(kRowHeight);
    fillFixedKeys();

    auto* area = controls.add<ui::Panel>(C::FunctionArea, QRect(266, 56, kAreaWidth, 560));
    controls.add<ui::StaticText>(C::KeyName, QRect(0, 0, kAreaWidth - 40, 30), area)
        ->setTextFont({}, 16, ui::FontBold);
    controls.add<ui::PushButton>(C::RestoreKey, QRect(kAreaWidth - 30, 0, 30, 30), area)
        ->setGlyph(ui::Glyph::Reset);

    int y = 40;
    for (const Choice& choice : kChoices) {
        controls.add<ui::StaticText>(choice.control + C::MarkOffset, QRect(0, y, 16, 30), area)
            ->setText(QStringLiteral("\u25CF"));
        controls
            .add<ui::StaticText>(choice.control + C::CaptionOffset, QRect(18, y, 132, 30), area)
            ->setWordWrap(false);
        // The captions' column leaves a gap before the menus: a long caption never
        // touches its menu.
        constexpr int kBoxLeft = 156;
        const QRect box(kBoxLeft, y, kAreaWidth - kBoxLeft, 30);
        if (choice.menu == FunctionMenu::Keyboard || choice.menu == FunctionMenu::Repeat) {
            controls.add<ui::PushButton>(choice.control, QRect(kBoxLeft, y, 110, 30), area);
        } else if (choice.menu == FunctionMenu::Disable) {
            controls.add<ui::PushButton>(choice.control, QRect(kBoxLeft, y, 110, 30), area)
                ->setCheckable(true);
        } else {
            controls.add<ui::ComboBox>(choice.control, box, area);
        }
        y += kChoiceHeight;
    }

    auto* keyboard =
        controls.add<ui::Panel>(C::KeyboardPanel, QRect(0, y + 4, kAreaWidth, 170), area);
    keyboard->setFillColour(ui::skin::windowColour());
    controls.add<ui::StaticText>(C::KeyboardTitle, QRect(10, 6, kAreaWidth - 50, 26), keyboard);
    controls.add<ui::PushButton>(C::KeyboardClose, QRect(kAreaWidth - 36, 6, 26, 26), keyboard)
        ->setGlyph(ui::Glyph::Close);
    controls.add<ui::TextField>(C::CaptureField, QRect(10, 40, kAreaWidth - 20, 30), keyboard)
        ->setReadOnly(true);
    int x = 10;
    for (const auto& [control, name] : {std::pair{C::CtrlToggle, "Ctrl"},
                                        {C::WinToggle, "Win"},
                                        {C::AltToggle, "Alt"},
                                        {C::ShiftToggle, "Shift"}}) {
        auto* toggle = controls.add<ui::PushButton>(control, QRect(x, 80, 68, 30), keyboard);
        toggle->setCheckable(true);
        toggle->setText(QString::fromLatin1(name));
        toggle->setAccessibleText(QString::fromLatin1(name));
        x += 74;
    }
    controls.add<ui::PushButton>(C::KeyboardConfirm, QRect(10, 124, 120, 32), keyboard);

    auto* repeat = controls.add<ui::Panel>(C::RepeatPanel, QRect(0, y + 4, kAreaWidth, 170), area);
    repeat->setFillColour(ui::skin::windowColour());
    controls.add<ui::StaticText>(C::RepeatTitle, QRect(10, 6, kAreaWidth - 50, 26), repeat);
    controls.add<ui::PushButton>(C::RepeatClose, QRect(kAreaWidth - 36, 6, 26, 26), repeat)
        ->setGlyph(ui::Glyph::Close);
    controls.add<ui::StaticText>(C::RepeatFirstLabel, QRect(10, 40, 204, 28), repeat);
    auto* first =
        controls.add<ui::NumberField>(C::RepeatFirstField, QRect(220, 40, 80, 28), repeat);
    first->setRange(0, 255);
    first->setMaxDigits(3);
    controls.add<ui::StaticText>(C::RepeatSecondLabel, QRect(10, 74, 204, 28), repeat);
    auto* second =
        controls.add<ui::NumberField>(C::RepeatSecondField, QRect(220, 74, 80, 28), repeat);
    second->setRange(5, 255);
    second->setMaxDigits(3);
    controls.add<ui::StaticText>(C::RepeatNote, QRect(10, 104, kAreaWidth - 20, 20), repeat)
        ->setTextFont({}, 11);
    controls.add<ui::PushButton>(C::RepeatConfirm, QRect(10, 130, 120, 32), repeat);

    // Escape closes a sub-panel and gives the focus back to the button that opened it. In
    // the capture field Escape is a key like any other (a mouse button may send it), so
    // there it is captured and the panel stays.
    ui::EscapeCloses::install(keyboard, [this] {
        QWidget* field = m_controls->control(C::CaptureField);
        if (field->hasFocus() || field->isAncestorOf(QApplication::focusWidget()))
            return false;
        closeSubPanel(C::KeyboardPanel, C::KeyboardChoice);
        return true;
    });
    ui::EscapeCloses::install(repeat, [this] {
        closeSubPanel(C::RepeatPanel, C::RepeatChoice);
        return true;
    });

    KeyCapture& capture = m_host.keyCapture();
    capture.setConsumer(CaptureMode::KeyboardPanel,
                        [this](const InputEvent&) { captureKeyEvent(); });

    applyTexts();
    hideSubPanels();
}

void ButtonPage::layout(const QRect& /*area*/, double /*uiScale*/) {
    // A new interface scale draws the captions in another font size; inside the window's
    // layout pass, which scales afterwards.
    if (m_controls)
        placeChoiceColumn(false);
}

void ButtonPage::placeChoiceColumn(bool ownPass) {
    ui::Dialog& window = m_controls->window();
    const double scale = window.interfaceScale();
    int longest = 0;
    for (const Choice& choice : kChoices) {
        const ui::Control* caption = m_controls->control(choice.control + C::CaptionOffset);
        // Measured in the font size the window's scale draws (small sizes are relatively
        // wider); the column is in design pixels.
        QFont font = caption->font();
        if (font.pixelSize() > 0)
            font.setPixelSize(
                std::max(1, int(std::lround(font.pixelSize() / caption->fontScale() * scale))));
        const double advance = QFontMetricsF(font).horizontalAdvance(caption->text());
        longest = std::max(longest, int(std::ceil(advance / scale)));
    }
    const int column = std::clamp(longest + 2, kMinCaptionWidth,
                                  kAreaWidth - kCaptionLeft - kCaptionGap - kMinBoxWidth);
    const int boxLeft = kCaptionLeft + column + kCaptionGap;
    if (ownPass)
        window.restoreDesignRects();
    for (const Choice& choice : kChoices) {
        ui::Control* caption = m_controls->control(choice.control + C::CaptionOffset);
        const int y = caption->geometry().y();
        caption->setGeometry(kCaptionLeft, y, column, 30);
        ui::Control* box = m_controls->control(choice.control);
        const bool button = dynamic_cast<ui::PushButton*>(box) != nullptr;
        box->setGeometry(boxLeft, y,
                         button ? std::min(110, kAreaWidth - boxLeft) : kAreaWidth - boxLeft, 30);
    }
    if (ownPass && window.isCreated())
        window.scaleControls();
}

void ButtonPage::applyTexts() {
    if (!m_controls)
        return;
    auto set = [&](int local, int id) {
        if (ui::Control* c = m_controls->control(local)) {
            c->setText(text(id));
            c->setAccessibleText(text(id));
        }
    };
    set(C::Caption, Text::Caption);
    set(C::SubCaption, Text::SubCaption);
    set(C::RestoreAll, Text::RestoreAll);
    for (const Choice& choice : kChoices) {
        set(choice.control + C::CaptionOffset, choice.caption);
        ui::Control* c = m_controls->control(choice.control);
        if (choice.menu == FunctionMenu::Keyboard || choice.menu == FunctionMenu::Repeat)
            c->setText(text(Text::OpenPanel));
        else if (choice.menu == FunctionMenu::Disable)
            c->setText(text(choice.caption));
        c->setAccessibleText(text(choice.caption));
    }
    placeChoiceColumn(true);
    m_controls->control(C::RestoreKey)->setToolTip(text(Text::RestoreKeyTip));
    m_controls->control(C::RestoreKey)->setAccessibleText(text(Text::RestoreKeyTip));
    set(C::KeyboardTitle, 160);
    set(C::KeyboardConfirm, Text::Confirm);
    set(C::RepeatTitle, 182);
    set(C::RepeatFirstLabel, Text::RepeatFirst);
    set(C::RepeatSecondLabel, Text::RepeatSecond);
    set(C::RepeatNote, Text::RepeatNote);
    set(C::RepeatConfirm, Text::Confirm);
    for (int close : {C::KeyboardClose, C::RepeatClose}) {
        m_controls->control(close)->setToolTip(text(Text::ClosePanelTip));
        m_controls->control(close)->setAccessibleText(text(Text::ClosePanelTip));
    }
    m_controls->control(C::CaptureField)->setAccessibleText(text(160));
    m_controls->control(C::KeyList)->setAccessibleText(text(Text::Caption));
    m_controls->control(C::RepeatFirstField)->setAccessibleText(text(Text::RepeatFirst));
    m_controls->control(C::RepeatSecondField)->setAccessibleText(text(Text::RepeatSecond));
    if (!m_captureFieldUsed)
        m_controls->find<ui::TextField>(C::CaptureField)->setText(text(Text::CaptureHint));
    fillMenus();
    // The keys again in the new language, with the functions stored for them and the
    // same key selected: a menu pick after a language change goes to the key shown.
    if (m_keys.empty())
        fillFixedKeys();
    else
        listDeviceKeys();
    showBindingDescriptions();
    showSelectedKey();
}

void ButtonPage::fillMenus() {
    for (const Choice& choice : kChoices) {
        auto* menu = m_controls->find<ui::ComboBox>(choice.control);
        if (!menu || choice.menu == FunctionMenu::Macro)
            continue;
        const int index = std::max(0, menu->currentIndex());
        menu->clear();
        for (const CatalogEntry& e : menuEntries(choice.menu))
            menu->addItem(e.literal ? QString::fromUtf16(e.literal) : text(e.labelText), e.value);
        menu->setCurrentIndex(index);
    }
}

void ButtonPage::fillFixedKeys() {
    auto* list = m_controls->find<ui::KeyList>(C::KeyList);
    list->clear();
    m_defaults.clear();
    for (int i = 0; i < int(kFixedKeys.size()); ++i) {
        list->addRow(QStringLiteral("%1 %2").arg(text(Text::KeyWord)).arg(i + 1),
                     text(kFixedKeys[std::size_t(i)].second), kFixedKeys[std::size_t(i)].first);
        m_defaults.push_back(kFixedKeys[std::size_t(i)]);
    }
}

void ButtonPage::showDeviceDetails(const catalog::DeviceDetails& details) {
    if (!details.keys.empty())
        m_keys = details.keys;
    if (m_keys.empty() || !m_controls)
        return;
    listDeviceKeys();
    auto* list = m_controls->find<ui::KeyList>(C::KeyList);
    list->select(0);
    if (ui::MousePicture* picture = mousePicture())
        picture->select(0);
}

void ButtonPage::listDeviceKeys() {
    auto* list = m_controls->find<ui::KeyList>(C::KeyList);
    list->clear();
    m_defaults.clear();
    for (const catalog::KeyEntry& key : m_keys) {
        list->addRow(text(key.nameId), text(key.funcDescId), key.keyValue);
        m_defaults.emplace_back(key.keyValue, key.funcDescId);
    }
    // In design pixels, then drawn at the window's scale like every other rectangle.
    ui::Dialog& window = m_controls->window();
    window.restoreDesignRects();
    list->setGeometry(QRect(list->pos(), QSize(list->width(), list->fittingHeight())));
    window.scaleControls();
}

void ButtonPage::showBindingDescriptions() {
    auto* list = m_controls->find<ui::KeyList>(C::KeyList);
    for (const auto& [code, textId] : m_defaults)
        list->setDescriptionOfKey(code, text(textId));
    std::vector<store::ButtonBinding> bindings;
    store::ProfileDatabase::instance().listBindings(m_host.currentProfile(), bindings);
    const int lcid = i18n::currentLcid();
    for (const store::ButtonBinding& b : bindings)
        list->setDescriptionOfKey(b.keyCode, describeBinding(b, lcid, text));
}

void ButtonPage::showSelectedKey() {
    auto* list = m_controls->find<ui::KeyList>(C::KeyList);
    // A key the list no longer holds (another mouse) gives way to the first.
    const int index = std::max(0, list->indexOfKey(m_selectedKey));
    if (list->count() > 0)
        m_selectedKey = list->keyValue(index);
    list->select(index);
    if (ui::MousePicture* picture = mousePicture())
        picture->select(index);
    m_controls->control(C::KeyName)->setText(list->name(index));
}

ui::MousePicture* ButtonPage::mousePicture() const {
    QWidget* window = m_host.mainWindow();
    if (!window)
        return nullptr;
    // The controls carry no meta-object of their own: look them up by their C++ type.
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (auto* picture = dynamic_cast<ui::MousePicture*>(w))
            return picture;
    }
    return nullptr;
}

ui::ComboBox* ButtonPage::macroMenu() const {
    return m_controls ? m_controls->find<ui::ComboBox>(C::MacroMenu) : nullptr;
}

void ButtonPage::macrosListed() {
    if (m_controls)
        showKeyFunction();
}

void ButtonPage::showKeyDescription(int keyCode, const QString& text) {
    if (m_controls)
        m_controls->find<ui::KeyList>(C::KeyList)->setDescriptionOfKey(keyCode, text);
}

QString ButtonPage::defaultDescription(int keyCode) const {
    for (const auto& [code, textId] : m_defaults) {
        if (code == keyCode)
            return text(textId);
    }
    return {};
}

void ButtonPage::loadPage() {
    if (!m_controls)
        return;
    m_selectedKey = 0;
    showSelectedKey();
    m_controls->control(C::FunctionArea)->show();
    showBindingDescriptions();
    showKeyFunction();
}

int ButtonPage::onMessage(int local, int code, int p1, int /*p2*/) {
    if (code == ui::Notify::FocusGained && local == C::CaptureField) {
        m_captureFieldUsed = true;
        m_host.keyCapture().clearLastKey();
        m_controls->control(C::CaptureField)->setText({});
        m_host.keyCapture().startCapture(CaptureMode::KeyboardPanel);
        return 0;
    }
    if (code == ui::Notify::FocusLost) {
        if (local == C::CaptureField) {
            if (m_host.keyCapture().captureMode() == CaptureMode::KeyboardPanel)
                m_host.keyCapture().stopCapture();
        } else if (local == C::RepeatFirstField || local == C::RepeatSecondField) {
            m_controls->find<ui::NumberField>(local)->clampToRange();
        }
        return 0;
    }
    if (code != ui::Notify::Click)
        return 0;
    for (const Choice& choice : kChoices) {
        if (local != choice.control)
            continue;
        switch (choice.menu) {
        case FunctionMenu::Keyboard:
            openKeyboardPanel();
            break;
        case FunctionMenu::Repeat:
            openRepeatPanel();
            break;
        case FunctionMenu::Disable:
            disableKey();
            break;
        default:
            assignFromMenu(choice.menu);
            break;
        }
        return 0;
    }
    switch (local) {
    case C::KeyList:
        selectFromList(p1);
        break;
    case C::RestoreKey:
        restoreKey();
        break;
    case C::RestoreAll:
        restoreAllKeys();
        break;
    case C::KeyboardConfirm:
        commitKeyboardKey();
        break;
    case C::RepeatConfirm:
        commitRepeatFunction();
        break;
    case C::KeyboardClose:
        closeSubPanel(C::KeyboardPanel, C::KeyboardChoice);
        break;
    case C::RepeatClose:
        closeSubPanel(C::RepeatPanel, C::RepeatChoice);
        break;
    default:
        break;
    }
    return 0;
}

void ButtonPage::selectFromList(int index) {
    auto* list = m_controls->find<ui::KeyList>(C::KeyList);
    if (index < 0) {
        m_controls->control(C::FunctionArea)->hide();
        return;
    }
    if (ui::MousePicture* picture = mousePicture())
        picture->select(index);
    m_selectedKey = list->keyValue(index);
    m_controls->control(C::KeyName)->setText(list->name(index));
    showKeyFunction();
    m_controls->control(C::FunctionArea)->show();
}

void ButtonPage::mouseKeyClicked(int index) {
    auto* list = m_controls->find<ui::KeyList>(C::KeyList);
    ui::MousePicture* picture = mousePicture();
    if (index < 0 || !picture)
        return;
    list->select(index);
    m_selectedKey = picture->keyValue(index);
    m_controls->control(C::KeyName)->setText(list->name(index));
    showKeyFunction();
    m_controls->control(C::FunctionArea)->show();
}

void ButtonPage::hideSubPanels() {
    if (m_host.keyCapture().captureMode() == CaptureMode::KeyboardPanel)
        m_host.keyCapture().stopCapture();
    for (int toggle : {C::CtrlToggle, C::WinToggle, C::AltToggle, C::ShiftToggle})
        m_controls->find<ui::PushButton>(toggle)->setChecked(false);
    QWidget* field = m_controls->control(C::CaptureField);
    if (field->isAncestorOf(QApplication::focusWidget()) || field->hasFocus())
        field->clearFocus();
    m_controls->control(C::KeyboardPanel)->hide();
    showRepeatPanel(false);
}

void ButtonPage::closeSubPanel(int panel, int opener) {
    if (panel == C::KeyboardPanel)
        m_host.keyCapture().stopCapture();
    ui::Control* shown = m_controls->control(panel);
    const bool hadFocus = shown->isAncestorOf(QApplication::focusWidget());
    shown->hide();
    if (hadFocus)
        m_controls->control(opener)->setFocus(Qt::OtherFocusReason);
}

void ButtonPage::showRepeatPanel(bool shown) {
    m_controls->find<ui::NumberField>(C::RepeatFirstField)->setValue(kRepeatFirstDefault);
    m_controls->find<ui::NumberField>(C::RepeatSecondField)->setValue(kRepeatSecondDefault);
    m_controls->control(C::RepeatPanel)->setVisible(shown);
}

void ButtonPage::markChoice(FunctionMenu menu) {
    for (const Choice& choice : kChoices) {
        m_controls->control(choice.control + C::MarkOffset)->setVisible(choice.menu == menu);
        m_controls->control(choice.control)
            ->setAccessibleDescription(choice.menu == menu ? QStringLiteral("\u2713") : QString());
    }
    m_controls->find<ui::PushButton>(C::DisableChoice)->setChecked(menu == FunctionMenu::Disable);
}

void ButtonPage::showKeyFunction() {
    hideSubPanels();
    markChoice(FunctionMenu::Mouse);
    for (const Choice& choice : kChoices) {
        auto* menu = m_controls->find<ui::ComboBox>(choice.control);
        const int position = menuResetPosition(choice.menu);
        if (menu && position > 0 && menu->count() > 0)
            menu->setCurrentIndex(std::min(position, menu->count()) - 1);
    }
    store::ButtonBinding binding;
    if (!store::ProfileDatabase::instance().getBinding(m_host.currentProfile(), m_selectedKey,
                                                       binding))
        return;
    const Choice* choice = choiceOfType(binding.macroType);
    if (!choice || choice->menu == FunctionMenu::Keyboard || choice->menu == FunctionMenu::Repeat)
        return;
    if (choice->menu != FunctionMenu::Disable) {
        auto* menu = m_controls->find<ui::ComboBox>(choice->control);
        // A value no item carries leaves the menu as it is, and the mouse menu marked.
        if (menu->findData(binding.macroValue) < 0)
            return;
        menu->selectData(binding.macroValue);
    }
    markChoice(choice->menu);
}

bool ButtonPage::refusePrimaryKey() {
    if (m_selectedKey != 0 || !m_primaryKeyLocked)
        return false;
    m_host.keyCapture().stopCapture();
    m_host.showMessage(text(Text::PrimaryKeyText), text(Text::PrimaryKeyTitle), MessageOneButton);
    return true;
}

void ButtonPage::commit(const store::ButtonBinding& binding) {
    store::ButtonBinding row = binding;
    row.profile = m_host.currentProfile();
    row.fnLayer = 0;
    row.keyCode = m_selectedKey;
    if (store::ProfileDatabase::instance().saveBinding(row) > 0)
        m_controls->find<ui::KeyList>(C::KeyList)
            ->setDescriptionOfKey(m_selectedKey, row.macroDesc);
    if (row.macroType == static_cast<int>(protocol::BindingType::MacroCall))
        m_host.requestMacroDownload(m_selectedKey);
    queueButtons();
}

void ButtonPage::queueButtons() {
    m_host.queueTask(protocol::DeviceTask::SendButtons);
    m_host.showSaveWait();
}

void ButtonPage::assignFromMenu(FunctionMenu menu) {
    if (refusePrimaryKey())
        return;
    hideSubPanels();
    auto* box = m_controls->find<ui::ComboBox>(choiceOf(menu)->control);
    if (box->currentIndex() < 0)
        return; // an empty macro menu offers nothing to assign
    store::ButtonBinding binding;
    binding.macroType = menuBindingType(menu);
    binding.macroValue = box->currentData();
    binding.macroDesc = box->text();
    commit(binding);
    markChoice(menu);
}

void ButtonPage::openKeyboardPanel() {
    if (refusePrimaryKey())
        return;
    m_host.keyCapture().clearLastKey();
    showRepeatPanel(false);
    for (int toggle : {C::CtrlToggle, C::WinToggle, C::AltToggle, C::ShiftToggle})
        m_controls->find<ui::PushButton>(toggle)->setChecked(false);
    m_controls->control(C::KeyboardPanel)->show();
    m_controls->control(C::CaptureField)->setFocus(Qt::TabFocusReason);
}

void ButtonPage::captureKeyEvent() {
    m_controls->control(C::CaptureField)->setText(m_host.keyCapture().lastKeyName());
}

void ButtonPage::commitKeyboardKey() {
    if (refusePrimaryKey())
        return;
    KeyCapture& capture = m_host.keyCapture();
    const int usage =
        capture.lastVirtualKey() > 0 ? protocol::keyUsage(capture.lastVirtualKey()) : 0;
    int bits = 0;
    QString modifiers;
    for (const Modifier& m : kModifierText) {
        if (!m_controls->find<ui::PushButton>(m.control)->isChecked())
            continue;
        bits |= m.bit;
        modifiers += modifiers.isEmpty() ? QString::fromLatin1(m.name)
                                         : QStringLiteral("+ ") + QString::fromLatin1(m.name);
    }
    // The key's part of the text is the captured key's name only, so the text always
    // says what the mouse is sent.
    const QString keyName = usage > 0 ? capture.lastKeyName() : QString();
    QString desc = modifiers;
    if (!modifiers.isEmpty() && !keyName.isEmpty())
        desc = QStringLiteral("%1 + %2").arg(modifiers, keyName);
    else if (modifiers.isEmpty())
        desc = keyName;
    if (usage <= 0 && bits <= 0)
        return;
    store::ButtonBinding binding;
    binding.macroType = static_cast<int>(protocol::BindingType::KeyboardKey);
    binding.macroValue = usage;
    binding.macroValue2 = bits;
    binding.macroDesc = desc;
    commit(binding);
}

void ButtonPage::openRepeatPanel() {
    if (refusePrimaryKey())
        return;
    m_host.keyCapture().clearLastKey();
    m_controls->control(C::KeyboardPanel)->hide();
    showRepeatPanel(true);
}

void ButtonPage::commitRepeatFunction() {
    if (refusePrimaryKey())
        return;
    // Enter confirms without the fields losing the focus first: limit them here too.
    auto* first = m_controls->find<ui::NumberField>(C::RepeatFirstField);
    auto* second = m_controls->find<ui::NumberField>(C::RepeatSecondField);
    first->clampToRange();
    second->clampToRange();
    store::ButtonBinding binding;
    binding.macroType = static_cast<int>(protocol::BindingType::RepeatFunction);
    binding.macroValue = second->value();
    binding.macroValue2 = first->value();
    binding.macroDesc = text(161);
    commit(binding);
}

void ButtonPage::disableKey() {
    if (refusePrimaryKey()) {
        showKeyFunction(); // the toggle shows what is stored
        return;
    }
    hideSubPanels();
    store::ButtonBinding binding;
    binding.macroType = static_cast<int>(protocol::BindingType::Disabled);
    binding.macroValue = 1;
    binding.macroDesc = text(139);
    commit(binding);
    markChoice(FunctionMenu::Disable);
}

void ButtonPage::restoreKey() {
    if (m_host.showMessage(text(Text::RestoreQuestion), text(Text::RestoreTitle),
                           MessageTwoButtons) == 2)
        return;
    store::ButtonBinding binding;
    binding.profile = m_host.currentProfile();
    binding.keyCode = m_selectedKey;
    binding.macroType = static_cast<int>(protocol::BindingType::MouseFunction);
    store::ProfileDatabase::instance().saveBinding(binding); // value 0: deletes the row
    m_controls->find<ui::KeyList>(C::KeyList)
        ->setDescriptionOfKey(m_selectedKey, defaultDescription(m_selectedKey));
    showKeyFunction();
    queueButtons();
}

void ButtonPage::restoreAllKeys() {
    if (m_host.showMessage(text(Text::RestoreQuestion), text(Text::RestoreTitle),
                           MessageTwoButtons) == 2)
        return;
    auto* list = m_controls->find<ui::KeyList>(C::KeyList);
    list->select(0);
    if (ui::MousePicture* picture = mousePicture())
        picture->select(0);
    m_selectedKey = 0;
    m_controls->control(C::KeyName)->setText(list->name(0));
    for (const auto& [code, textId] : m_defaults)
        list->setDescriptionOfKey(code, text(textId));
    store::ProfileDatabase::instance().deleteBindings(m_host.currentProfile());
    showKeyFunction();
    queueButtons();
}

void ButtonPage::closePopups() {
    if (m_controls && m_host.keyCapture().captureMode() == CaptureMode::KeyboardPanel)
        m_host.keyCapture().stopCapture();
}

} // namespace corvane::pages
