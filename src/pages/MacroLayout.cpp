// The macro page's controls: what it creates, where they go, and their texts.
#include "pages/KeyCapture.h"
#include "pages/MacroPage.h"
#include "pages/PageControls.h"
#include "pages/PageHost.h"
#include "ui/ComboBox.h"
#include "ui/GroupedButton.h"
#include "ui/ListBox.h"
#include "ui/PushButton.h"
#include "ui/Skin.h"
#include "ui/StaticText.h"
#include "ui/TextField.h"

#include "i18n/LanguageTexts.h"

namespace corvane::pages {

namespace C = MacroControl;

namespace {

const QString kDelayGroup = QStringLiteral("IDC_MACRO_STC_DELAYSET");
const QString kPlayGroup = QStringLiteral("IDC_MACRO_RADIO_LOOP1");

// Texts of the page: the control, its text and its tooltip (0: none). Controls without a
// visible text of their own take the tooltip, or the text given, as their accessible name.
struct TextBinding {
    int control;
    int text;
    int tip;
};
constexpr TextBinding kTexts[] = {
    {C::Caption, 350, 0},      {C::ListCaption, 352, 0},   {C::NewMacro, 353, 0},
    {C::DeleteMacro, 30, 0},   {C::EventsCaption, 355, 0}, {C::ColumnNumber, 388, 0},
    {C::ColumnAction, 389, 0}, {C::ColumnEdit, 390, 0},    {C::Insert, 39, 0},
    {C::DeleteEntry, 357, 0},  {C::ClearAll, 404, 0},      {C::DelayCaption, 360, 0},
    {C::NoDelay, 361, 0},      {C::RecordedDelay, 362, 0}, {C::FixedDelay, 363, 0},
    {C::PlayCaption, 364, 0},  {C::PlayWhileHeld, 365, 0}, {C::PlayToggle, 366, 0},
    {C::PlayCount, 367, 0},    {C::TypeCaption, 391, 0},   {C::ValueCaption, 392, 0},
    {C::MoveUp, 401, 0},       {C::MoveDown, 402, 0},      {C::MacroMore, 0, 26},
    {C::EventMore, 0, 390},
};
struct NameBinding {
    int control;
    int text;
};
constexpr NameBinding kNames[] = {
    {C::MacroList, 352},    {C::EventList, 355},  {C::DelayField, 363},     {C::CountField, 367},
    {C::TypeSelector, 391}, {C::ValueField, 392}, {C::ButtonSelector, 393},
};

// The mouse button selector: item data and label text.
constexpr std::pair<int, int> kButtonItems[] = {{1, 106}, {3, 107}, {2, 108}, {5, 109}, {6, 110}};

QString lookup(int id) {
    return i18n::lookupText(i18n::kTextSection, id);
}

} // namespace

void MacroPage::createControls(PageControls& controls) {
    // Made in reading order, which is the order Tab walks them.
    m_controls = &controls;
    const auto caption = [&](int id, const QRect& r, QWidget* in = nullptr) {
        auto* t = controls.add<ui::StaticText>(id, r, in);
        t->setTextFont({}, 16, ui::FontBold);
        t->setWordWrap(false);
        return t;
    };
    const auto muted = [&](int id, const QRect& r) {
        auto* t = controls.add<ui::StaticText>(id, r);
        t->setTextFont({}, 13);
        t->setWordWrap(false);
        t->setTextColour(ui::skin::mutedTextColour());
        return t;
    };
    controls.add<ui::StaticText>(C::Caption, QRect(20, 10, 600, 40))
        ->setTextFont({}, 22, ui::FontBold);

    // The macros.
    caption(C::ListCaption, QRect(20, 62, 230, 28));
    controls.add<ui::PushButton>(C::MacroMore, QRect(266, 62, 34, 28))->setGlyph(ui::Glyph::Menu);
    auto* macros = controls.add<ui::ListBox>(C::MacroList, QRect(20, 96, 280, 432));
    macros->setEditable(true);
    controls.add<ui::PushButton>(C::NewMacro, QRect(20, 540, 134, 36));
    controls.add<ui::PushButton>(C::DeleteMacro, QRect(166, 540, 134, 36));

    // The steps.
    caption(C::EventsCaption, QRect(330, 62, 320, 28));
    controls.add<ui::PushButton>(C::EventMore, QRect(666, 62, 34, 28))->setGlyph(ui::Glyph::Menu);
    muted(C::ColumnNumber, QRect(340, 96, 60, 22));
    muted(C::ColumnAction, QRect(400, 96, 200, 22));
    muted(C::ColumnEdit, QRect(620, 96, 70, 22))->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    controls.add<ui::ListBox>(C::EventList, QRect(330, 122, 370, 406));
    controls.add<ui::PushButton>(C::Insert, QRect(330, 540, 116, 36));
    controls.add<ui::PushButton>(C::DeleteEntry, QRect(457, 540, 116, 36));
    controls.add<ui::PushButton>(C::ClearAll, QRect(584, 540, 116, 36));
    controls.add<ui::PushButton>(C::Record, QRect(330, 590, 370, 44))
        ->setTextFont({}, 15, ui::FontBold);

    // How recording puts delays in, and how the macro plays.
    caption(C::DelayCaption, QRect(740, 62, 340, 28));
    int y = 96;
    for (int id : {C::NoDelay, C::RecordedDelay, C::FixedDelay}) {
        auto* choice = controls.add<ui::RadioButton>(id, QRect(740, y, 200, 30));
        choice->setGroup(kDelayGroup);
        y += 34;
    }
    auto* delay = controls.add<ui::NumberField>(C::DelayField, QRect(946, 164, 80, 30));
    delay->setRange(1, kMaxDelayMs);
    delay->setMaxDigits(5);
    delay->setAlignment(Qt::AlignCenter);
    muted(C::DelayUnit, QRect(1032, 164, 40, 30))->setText(QStringLiteral("ms"));

    caption(C::PlayCaption, QRect(740, 216, 340, 28));
    y = 250;
    for (int id : {C::PlayWhileHeld, C::PlayToggle, C::PlayCount}) {
        auto* choice = controls.add<ui::RadioButton>(id, QRect(740, y, 200, 30));
        choice->setGroup(kPlayGroup);
        y += 34;
    }
    auto* count = controls.add<ui::NumberField>(C::CountField, QRect(946, 318, 80, 30));
    count->setRange(1, kMaxPlayTimes);
    count->setMaxDigits(3);
    count->setAlignment(Qt::AlignCenter);

    // The selected step.
    auto* panel = controls.add<ui::Panel>(C::EditPanel, QRect(740, 372, 350, 160));
    panel->setFillColour(ui::skin::windowColour());
    caption(C::TypeCaption, QRect(12, 12, 100, 30), panel);
    controls.add<ui::ComboBox>(C::TypeSelector, QRect(120, 12, 218, 30), panel);
    caption(C::ValueCaption, QRect(12, 52, 100, 30), panel);
    controls.add<ui::TextField>(C::ValueField, QRect(120, 52, 218, 30), panel);
    auto* buttons = controls.add<ui::ComboBox>(C::ButtonSelector, QRect(120, 52, 218, 30), panel);
    for (const auto& [data, label] : kButtonItems)
        buttons->addItem({}, data);
    controls.add<ui::PushButton>(C::MoveUp, QRect(12, 104, 156, 34), panel);
    controls.add<ui::PushButton>(C::MoveDown, QRect(182, 104, 156, 34), panel);
    panel->hide();

    KeyCapture& capture = m_host.keyCapture();
    capture.setConsumer(CaptureMode::MacroRecording,
                        [this](const InputEvent& event) { recordEvent(event); });
    capture.setConsumer(CaptureMode::MacroKeyField, [this](const InputEvent&) {
        m_controls->control(C::ValueField)->setText(m_host.keyCapture().lastKeyName());
    });

    m_controls->find<ui::RadioButton>(C::RecordedDelay)->setChecked(true);
    m_controls->find<ui::RadioButton>(C::PlayCount)->setChecked(true);
    delay->setText(QStringLiteral("10"));
    delay->setEnabled(false);
    count->setText(QStringLiteral("1"));
    applyTexts();
}

void MacroPage::layout(const QRect& /*area*/, double /*uiScale*/) {}

void MacroPage::applyTexts() {
    if (!m_controls)
        return;
    // A language change reloads the page: what is being recorded is kept first.
    stopRecording();
    for (const TextBinding& binding : kTexts) {
        ui::Control* target = m_controls->control(binding.control);
        if (binding.text > 0) {
            target->setText(lookup(binding.text));
            target->setAccessibleText(lookup(binding.text));
        }
        if (binding.tip > 0) {
            target->setToolTip(lookup(binding.tip));
            target->setAccessibleText(lookup(binding.tip));
        }
    }
    for (const NameBinding& binding : kNames)
        m_controls->control(binding.control)->setAccessibleText(lookup(binding.text));
    auto* buttons = m_controls->find<ui::ComboBox>(C::ButtonSelector);
    for (int i = 0; i < buttons->count(); ++i) {
        for (const auto& [data, label] : kButtonItems) {
            if (buttons->itemData(i) == data)
                buttons->setItemText(i, lookup(label));
        }
    }
    setRecordingLook(false);
    if (m_loaded)
        loadPage();
}

} // namespace corvane::pages
