#pragma once
// The R, G and B number fields of the colour editors: what is typed is limited to 0..255
// and written back when it was outside, never refused (a minus sign can be typed and
// gives 0).

namespace corvane::ui {
class NumberField;
}

namespace corvane::pages {

// Makes a field a colour channel: up to three digits, a minus sign allowed, "255".
void makeColourChannel(ui::NumberField& field);
// The field's number limited to 0..255.
int channelValue(const ui::NumberField& field);
// Limits the field's number to 0..255 and writes it back when that changed it; true then.
bool limitColourChannel(ui::NumberField& field);

} // namespace corvane::pages
