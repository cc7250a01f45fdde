// The macro page's controls: what it creates, where they go, and their texts.
#include "pages/host/PageControls.h"
#include "pages/host/PageHost.h"
#include "pages/host/PageTexts.h"
#include "pages/keys/KeyCapture.h"
#include "pages/macros/MacroPage.h"
#include "ui/base/Skin.h"
#include "ui/controls/ComboBox.h"
#include "ui/controls/GroupedButton.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/StaticText.h"
#include "ui/controls/TextField.h"

#include "i18n/LanguageTexts.h"

namespace corvane::pages {

namespace C = MacroControl;

namespace {

const QString kDelayGroup = QStringLiteral("IDC_MACRO_STC_DELAYSET");
const QString kPlayGroup = QStringLiteral("IDC_MACRO_RADIO_LOOP1");

// Texts of the page: the control, its text and its tooltip (0: none). Controls without a
// visible text of their own take the tooltip, or the text given, as their accessible name.
constexpr PageText kTexts[] = {
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
constexpr PageName kNames[] = {
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
    controls.add<ui::StaticText>(C::Caption, QRect(24, 10, 560, 40))
        ->setTextFont({}, 22, ui::FontBold);

    // The macros.
    caption(C::ListCaption, QRect(24, 56, 180, 28));
    controls.add<ui::PushButton>(C::MacroMore, QRect(210, 56, 34, 28))->setGlyph(ui::Glyph::Menu);
    auto* macros = controls.add<ui::ListBox>(C::MacroList, QRect(24, 88, 220, 288));
    macros->setEditable(true);
    controls.add<ui::PushButton>(C::NewMacro, QRect(24, 384, 108, 34));
    controls.add<ui::PushButton>(C::DeleteMacro, QRect(136, 384, 108, 34));

    // The steps.
    caption(C::EventsCaption, QRect(256, 56, 304, 28));
    controls.add<ui::PushButton>(C::EventMore, QRect(566, 56, 34, 28))->setGlyph(ui::Glyph::Menu);
    muted(C::ColumnNumber, QRect(262, 86, 60, 24));
    muted(C::ColumnAction, QRect(340, 86, 160, 24));
    muted(C::ColumnEdit, QRect(506, 86, 88, 24))->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    controls.add<ui::ListBox>(C::EventList, QRect(256, 112, 344, 264));
    controls.add<ui::PushButton>(C::Insert, QRect(256, 384, 112, 34));
    controls.add<ui::PushButton>(C::DeleteEntry, QRect(372, 384, 112, 34));
    controls.add<ui::PushButton>(C::ClearAll, QRect(488, 384, 112, 34));
    controls.add<ui::PushButton>(C::Record, QRect(256, 428, 344, 42))
        ->setTextFont({}, 15, ui::FontBold);

    // How recording puts delays in, and how the macro plays.
    caption(C::DelayCaption, QRect(24, 484, 270, 28));
    int y = 514;
    for (int id : {C::NoDelay, C::RecordedDelay, C::FixedDelay}) {
        auto* choice =
            controls.add<ui::RadioButton>(id, QRect(24, y, id == C::FixedDelay ? 230 : 320, 28));
        choice->setGroup(kDelayGroup);
        y += 30;
    }
    auto* delay = controls.add<ui::NumberField>(C::DelayField, QRect(260, 574, 60, 28));
    delay->setRange(1, kMaxDelayMs);
    delay->setMaxDigits(5);
    delay->setAlignment(Qt::AlignCenter);
    muted(C::DelayUnit, QRect(326, 574, 30, 28))->setText(QStringLiteral("ms"));

    caption(C::PlayCaption, QRect(370, 484, 340, 28));
    y = 514;
    for (int id : {C::PlayWhileHeld, C::PlayToggle, C::PlayCount}) {
        auto* choice =
            controls.add<ui::RadioButton>(id, QRect(370, y, id == C::PlayCount ? 264 : 360, 28));
        choice->setGroup(kPlayGroup);
        y += 30;
    }
    auto* count = controls.add<ui::NumberField>(C::CountField, QRect(640, 574, 60, 28));
    count->setRange(1, kMaxPlayTimes);
    count->setMaxDigits(3);
    count->setAlignment(Qt::AlignCenter);

    // The selected step, beside the steps.
    auto* panel = controls.add<ui::Panel>(C::EditPanel, QRect(612, 112, 466, 96));
    panel->setFillColour(ui::skin::windowColour());
    caption(C::TypeCaption, QRect(12, 10, 90, 30), panel);
    controls.add<ui::ComboBox>(C::TypeSelector, QRect(104, 10, 200, 30), panel);
    caption(C::ValueCaption, QRect(12, 52, 90, 30), panel);
    controls.add<ui::TextField>(C::ValueField, QRect(104, 52, 200, 30), panel);
    auto* buttons = controls.add<ui::ComboBox>(C::ButtonSelector, QRect(104, 52, 200, 30), panel);
    for (const auto& [data, label] : kButtonItems)
        buttons->addItem({}, data);
    controls.add<ui::PushButton>(C::MoveUp, QRect(320, 10, 138, 32), panel);
    controls.add<ui::PushButton>(C::MoveDown, QRect(320, 52, 138, 32), panel);
    panel->hide();

    KeyCapture& capture = m_host.keyCapture();
    capture.setConsumer(CaptureMode::MacroRecording,
                        [this](const InputEvent& event) { recordEvent(event); });
    capture.setConsumer(CaptureMode::MacroKeyField, [this](const InputEvent&) {
        m_controls->control(C::ValueField)->setText(m_host.keyCapture().lastKeyName());
    });

    watchContextMenus();

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
    applyPageTexts(*m_controls, kTexts, kNames);
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
