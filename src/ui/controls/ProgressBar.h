#pragma once
// Progress bar over an integer range; it never notifies.

#include "ui/base/Control.h"

class QProgressBar;

namespace corvane::ui {

class ProgressBar : public Control {
public:
    ProgressBar(int id, QWidget* parent);

    void setRange(int minimum, int maximum);
    // Pulled into the range.
    void setPosition(int position);
    int position() const;
    int minimum() const;
    int maximum() const;

private:
    QProgressBar* m_bar;
};

} // namespace corvane::ui
