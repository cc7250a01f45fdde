#pragma once
// The picture of the mouse with a callout per key: a line from a point on the mouse to a
// label button that names the key. One callout can be selected.

#include "ui/views/ItemControl.h"

#include <QList>

namespace corvane::ui {

class MousePicture : public ItemControl {
public:
    MousePicture(int id, QWidget* parent);

    // Skin image of the mouse, drawn at its own size at the top left (a drawn outline of a
    // mouse when it is missing).
    void setImage(const QString& name);
    QString image() const { return m_image; }
    // The image's own size; empty when it is missing.
    QSize imageSize() const;

    // Adds a callout; returns its index. The line runs from `start` to `end` (control
    // coordinates, dashed when asked); the label sits at `end`, to its left for direction 0,
    // to its right for 1, and for other values on the side the line points to.
    int addCallout(const QString& text, int keyValue, int direction, const QPoint& start,
                   const QPoint& end, bool dashed);
    void clearCallouts();
    int count() const { return int(m_callouts.size()); }

    QString calloutText(int index) const;
    void setCalloutText(int index, const QString& text);
    int keyValue(int index) const; // -1 for a bad index
    int indexOfKey(int keyValue) const;
    // The label button's rectangle (kept inside the control).
    QRect calloutRect(int index) const;

    // -1 when none. Never notify.
    int selectedIndex() const { return m_selected; }
    void select(int index);

    // A click on a label (also the selected one) selects it and notifies Click with
    // param1 = index, param2 = key value.

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    int itemAt(const QPoint& point) const override;

private:
    struct Callout {
        QString text;
        int keyValue;
        int direction;
        QPoint start;
        QPoint end;
        bool dashed;
    };

    QString m_image;
    QList<Callout> m_callouts;
    int m_selected = -1;
};

} // namespace corvane::ui
