#include "pages/dialogs/MousePaletteDlg.h"

#include "i18n/LanguageTexts.h"
#include "pages/dialogs/ColourChannels.h"
#include "ui/base/Colour.h"
#include "ui/base/Skin.h"
#include "ui/controls/PushButton.h"
#include "ui/controls/StaticText.h"
#include "ui/controls/TextField.h"
#include "ui/views/ColourPalette.h"
#include "ui/views/ColourSwatch.h"
#include "ui/views/Picture.h"

#include <QKeyEvent>

namespace corvane::pages {
namespace {

constexpr int kTextOk = 22;
constexpr int kTextClose = 5;
constexpr int kPresets[MousePaletteDlg::kPresetCount] = {
    0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0xFF00FF, 0xFFFFFF,
};
const char* const kChannelNames[] = {"R:", "G:", "B:"};

} // namespace

MousePaletteDlg::MousePaletteDlg(int initialColour) : m_colour(initialColour & 0xFFFFFF) {
    setBackgroundColours(ui::skin::windowColour(), ui::skin::borderColour());
}

std::optional<int> MousePaletteDlg::exec(QWidget* parent) {
    QWidget* owner = parent ? parent->window() : nullptr;
    if (!create(owner, QString::fromLatin1(kPaletteTitle), ui::StylePopup, ui::ExToolWindow,
                QRect(0, 0, kWidth, kHeight)))
        return std::nullopt;
    centre();
    m_accepted = false;
    runModal();
    if (!m_accepted)
        return std::nullopt;
    return m_colour;
}

void MousePaletteDlg::InitUI(const QRect& /*client*/) {
    const auto text = [](int id) { return i18n::lookupText(i18n::kTextSection, id); };
    auto* close = add<ui::PushButton>(kCloseId, {});
    close->setImages(QStringLiteral("sysbtn_close.png"));
    close->setGlyph(ui::Glyph::Close);
    close->setToolTip(text(kTextClose));
    close->setAccessibleText(text(kTextClose));

    add<ui::ColourPalette>(kPaletteId, {})->setAccessibleText(text(271));
    auto* preview = add<ui::Picture>(kPreviewId, {});
    preview->setFillColour(ui::colourFromBgr(m_colour));

    for (int i = 0; i < 3; ++i) {
        auto* label = add<ui::StaticText>(kFirstLabelId + i, {});
        label->setText(QString::fromLatin1(kChannelNames[i]));
        label->setWordWrap(false);
        auto* field = add<ui::NumberField>(kFirstFieldId + i, {});
        makeColourChannel(*field);
        field->setAccessibleText(QString::fromLatin1(kChannelNames[i]).left(1));
    }
    for (int i = 0; i < kPresetCount; ++i) {
        auto* preset = add<ui::ColourSwatch>(kFirstPresetId + i, {});
        preset->setColour(ui::colourFromBgr(kPresets[i]));
        preset->setAccessibleText(ui::colourFromBgr(kPresets[i]).name());
    }
    auto* ok = add<ui::PushButton>(kOkId, {});
    ok->setImages(QStringLiteral("img_button.png"));
    ok->setText(text(kTextOk));
    ok->setAccessibleText(text(kTextOk));

    showColour(m_colour, true);
}

void MousePaletteDlg::UISize(const QRect& client) {
    const int w = client.width();
    const int h = client.height();
    control(kCloseId)->setGeometry(ui::ltrb(w - 50, 15, w - 20, 45));
    control(kPaletteId)->setGeometry(ui::ltrb(30, 60, 200, 220));
    control(kPreviewId)->setGeometry(ui::ltrb(210, 60, 300, 110));
    for (int i = 0; i < 3; ++i) {
        control(kFirstLabelId + i)->setGeometry(ui::ltrb(210, 120 + 30 * i, 240, 145 + 30 * i));
        control(kFirstFieldId + i)->setGeometry(ui::ltrb(240, 120 + 30 * i, 300, 145 + 30 * i));
    }
    for (int i = 0; i < kPresetCount; ++i)
        control(kFirstPresetId + i)->setGeometry(ui::ltrb(30 + 35 * i, 230, 56 + 35 * i, 256));
    control(kOkId)->setGeometry(ui::ltrb(w - 120, h - 50, w - 20, h - 20));
}

void MousePaletteDlg::showColour(int colour, bool moveMarker) {
    m_colour = colour & 0xFFFFFF;
    for (int i = 0; i < 3; ++i) {
        if (auto* field = find<ui::NumberField>(kFirstFieldId + i))
            field->setValue((m_colour >> (8 * i)) & 0xFF);
    }
    if (auto* preview = find<ui::Picture>(kPreviewId))
        preview->setFillColour(ui::colourFromBgr(m_colour));
    if (moveMarker) {
        if (auto* palette = find<ui::ColourPalette>(kPaletteId))
            palette->setColour(ui::colourFromBgr(m_colour));
    }
}

int MousePaletteDlg::colourOfFields() const {
    int colour = 0;
    for (int i = 0; i < 3; ++i) {
        if (const auto* field = find<ui::NumberField>(kFirstFieldId + i))
            colour |= channelValue(*field) << (8 * i);
    }
    return colour;
}

int MousePaletteDlg::OnMessage(int controlId, int code, int param1, int /*param2*/) {
    if (controlId == kPaletteId &&
        (code == ui::Notify::ColourPicked || code == ui::Notify::Click)) {
        showColour(param1, false);
    } else if (controlId >= kFirstFieldId && controlId < kFirstFieldId + 3 &&
               code == ui::Notify::TextChanged) {
        // Out of range is limited and written back, never refused.
        limitColourChannel(*find<ui::NumberField>(controlId));
        const int colour = colourOfFields();
        m_colour = colour;
        if (auto* preview = find<ui::Picture>(kPreviewId))
            preview->setFillColour(ui::colourFromBgr(colour));
        if (auto* palette = find<ui::ColourPalette>(kPaletteId))
            palette->setColour(ui::colourFromBgr(colour));
    } else if (controlId >= kFirstPresetId && controlId < kFirstPresetId + kPresetCount &&
               code == ui::Notify::Click) {
        showColour(kPresets[controlId - kFirstPresetId], true);
    } else if (controlId == kOkId && code == ui::Notify::Click) {
        m_accepted = true;
        endModal(ui::ResultFirst);
    } else if (controlId == kCloseId && code == ui::Notify::Click) {
        endModal(ui::ResultSecond);
    }
    return 0;
}

int MousePaletteDlg::OnWindowMessage(int message, int wParam, int lParam) {
    if (message == ui::Message::Close)
        m_accepted = false;
    return ui::Dialog::OnWindowMessage(message, wParam, lParam);
}

void MousePaletteDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        endModal(ui::ResultSecond);
        return;
    }
    ui::Dialog::keyPressEvent(event);
}

std::optional<int> pickColour(QWidget* parent, int initial) {
    MousePaletteDlg picker(initial);
    return picker.exec(parent);
}

} // namespace corvane::pages
