#include "ui/controls/ComboBox.h"

#include <QComboBox>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <algorithm>

namespace corvane::ui {
namespace {

// The wheel is turned over this window all the time, often with a game's habits: a closed
// box never changes its choice under it (that would store and send a new setting). The
// event goes on to the parents, so a scrolling page still scrolls. The open list is a
// widget of its own and keeps scrolling.
class WheelPassingBox : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void wheelEvent(QWheelEvent* event) override { event->ignore(); }
};

} // namespace

ComboBox::ComboBox(int id, QWidget* parent)
    : Control(id, parent), m_box(new WheelPassingBox(this)) {
    m_box->setFocusPolicy(Qt::StrongFocus);
    host(m_box);
    // `activated` is emitted for the user's choices only, never for changes made in code.
    QObject::connect(m_box, &QComboBox::activated, this,
                     [this](int index) { notify(Notify::Click, index, itemData(index)); });
}

int ComboBox::addItem(const QString& text, int data, const QColor& mark) {
    const QSignalBlocker block(m_box);
    if (mark.isValid()) {
        // Drawn at 1x and 2x, so the mark stays sharp whichever screen shows the list.
        QIcon icon;
        for (const qreal ratio : {1.0, 2.0, std::max<qreal>(1.0, devicePixelRatioF())}) {
            QPixmap dot(QSize(12, 12) * ratio);
            dot.setDevicePixelRatio(ratio);
            dot.fill(Qt::transparent);
            QPainter p(&dot);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(mark);
            p.drawEllipse(1, 1, 10, 10);
            p.end();
            icon.addPixmap(dot);
        }
        m_box->addItem(icon, text, data);
    } else {
        m_box->addItem(text, data);
    }
    return m_box->count() - 1;
}

void ComboBox::clear() {
    const QSignalBlocker block(m_box);
    m_box->clear();
}

int ComboBox::count() const {
    return m_box->count();
}
int ComboBox::currentIndex() const {
    return m_box->currentIndex();
}

void ComboBox::setCurrentIndex(int index) {
    const QSignalBlocker block(m_box);
    m_box->setCurrentIndex(index >= 0 && index < m_box->count() ? index : -1);
}

int ComboBox::currentData() const {
    return m_box->currentIndex() < 0 ? 0 : m_box->currentData().toInt();
}

bool ComboBox::selectData(int data) {
    const int index = findData(data);
    if (index < 0)
        return false;
    setCurrentIndex(index);
    return true;
}

int ComboBox::findData(int data) const {
    return m_box->findData(data);
}

int ComboBox::itemData(int index) const {
    return index >= 0 && index < m_box->count() ? m_box->itemData(index).toInt() : 0;
}

QString ComboBox::itemText(int index) const {
    return m_box->itemText(index);
}

void ComboBox::setItemText(int index, const QString& text) {
    const QSignalBlocker block(m_box);
    m_box->setItemText(index, text);
}

QString ComboBox::text() const {
    return m_box->currentText();
}

} // namespace corvane::ui
