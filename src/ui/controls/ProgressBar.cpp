#include "ui/controls/ProgressBar.h"

#include <QProgressBar>

#include <algorithm>

namespace corvane::ui {

ProgressBar::ProgressBar(int id, QWidget* parent)
    : Control(id, parent), m_bar(new QProgressBar(this)) {
    m_bar->setTextVisible(false);
    m_bar->setFocusPolicy(Qt::NoFocus);
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    host(m_bar);
    setFocusPolicy(Qt::NoFocus);
}

void ProgressBar::setRange(int minimum, int maximum) {
    m_bar->setRange(minimum, std::max(minimum, maximum));
}

void ProgressBar::setPosition(int position) {
    m_bar->setValue(std::clamp(position, m_bar->minimum(), m_bar->maximum()));
}

int ProgressBar::position() const {
    return m_bar->value();
}
int ProgressBar::minimum() const {
    return m_bar->minimum();
}
int ProgressBar::maximum() const {
    return m_bar->maximum();
}

} // namespace corvane::ui
