#pragma once
// Escape pressed anywhere inside a widget (a pop-up panel) runs `close`, which says whether
// it took the key; a key it leaves goes on to the widget's parents as before.

#include <QObject>

#include <functional>

class QWidget;

namespace corvane::ui {

class EscapeCloses final : public QObject {
public:
    // Watches `panel` (and the keys its children pass up to it); lives as long as the panel.
    static void install(QWidget* panel, std::function<bool()> close);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EscapeCloses(QWidget* panel, std::function<bool()> close);
    std::function<bool()> m_close;
};

} // namespace corvane::ui
