#include "pages/dialogs/ColourChannels.h"

#include "ui/controls/TextField.h"

#include <algorithm>

namespace corvane::pages {

void makeColourChannel(ui::NumberField& field) {
    // The field's own range lets a minus sign through; the channel limits afterwards.
    field.setRange(-255, 255);
    field.setMaxDigits(3);
    field.setAlignment(Qt::AlignCenter);
    field.setText(QStringLiteral("255"));
}

int channelValue(const ui::NumberField& field) {
    return std::clamp(field.value(), 0, 255);
}

bool limitColourChannel(ui::NumberField& field) {
    const int limited = channelValue(field);
    if (limited == field.value())
        return false;
    field.setValue(limited);
    return true;
}

} // namespace corvane::pages
