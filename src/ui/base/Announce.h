#pragma once
// Tells assistive technology (a screen reader) about changes a control draws itself: a
// checked state, the current item of an item control. Cheap when none is listening.

class QWidget;

namespace corvane::ui {

// The checked state of `control` changed.
void announceChecked(QWidget* control);

// `item` became the current item of `control` (-1: none). Sent as a selection change and,
// while the control has the keyboard focus, as the focus moving to that item.
void announceCurrentItem(QWidget* control, int item);

} // namespace corvane::ui
