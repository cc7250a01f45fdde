#pragma once
// Base class of every window. A window is a Dialog subclass that overrides the hooks it
// needs; Dialog::create makes the window, runs OnInitDialog, which creates the controls
// (InitUI) and lays them out (UISize). All of it runs on the UI thread, except
// postMessage, which any thread may call.

#include "ui/base/Control.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <type_traits>

class QTimer;

namespace corvane::ui {

// Message numbers with a meaning to the base class; any other number is the program's own.
namespace Message {
constexpr int Close = 16;    // ends the modal run with result wParam (0 means the second
                             // result), or destroys the window when it is not modal
constexpr int Command = 273; // a pop-up menu command; wParam = command id
} // namespace Message

// Style bits for create(); the values are the classic window style bits.
enum Style : unsigned {
    StyleChild = 0x40000000u,   // embedded in the parent, positioned in its coordinates
    StylePopup = 0x80000000u,   // a frameless top-level window (the default without Child)
    StyleVisible = 0x10000000u, // shown when create() returns
};
enum ExStyle : unsigned {
    ExTopMost = 0x8u,     // stays above other windows
    ExToolWindow = 0x80u, // no task bar entry
    ExLayered = 0x80000u, // translucent: the background image's alpha shows through
};

enum class Show { Hide, Normal, Minimised, Maximised };

// The two results of a modal run (a first and a second button).
constexpr int ResultFirst = 1;
constexpr int ResultSecond = 2;

class Dialog : public QWidget {
public:
    Dialog();
    ~Dialog() override;

    // Makes the window: parent (may be null), title, Style and ExStyle bits, rectangle (in
    // the parent's coordinates for StyleChild, else on the screen). Then OnInitDialog runs,
    // and the window is shown when StyleVisible is set. False when the window exists
    // already. A window destroyed before may be created again; its old controls go.
    bool create(QWidget* parent, const QString& title, unsigned style, unsigned exStyle,
                const QRect& rect);
    bool isCreated() const { return m_created; }
    QString title() const { return windowTitle(); }

    // Centres the window over its parent window, or on its screen when it has none.
    void centre();

    // Shows the window as the show command says and blocks the caller in a nested event
    // loop until the window is destroyed; returns the result (ResultSecond unless endModal
    // gave another). Returns 0 when the window does not exist or is already running.
    // While it runs, a window with a parent blocks input to the parent's window; one
    // without a parent blocks nothing (the main window runs this way for its whole life).
    int runModal(Show show = Show::Normal);
    bool isRunningModal() const { return m_modal != nullptr; }
    // Stores the result and destroys the window, which ends the modal run.
    void endModal(int result);

    // Queues a numbered message for OnWindowMessage. Any thread may call it; it never
    // blocks and never runs the hook inline. Dropped when no QCoreApplication exists or
    // when the window was destroyed by the time it arrives. The caller keeps the Dialog
    // alive for the call itself.
    void postMessage(int message, int wParam = 0, int lParam = 0);
    // Calls OnWindowMessage at once and returns its result. UI thread only; called from
    // another thread it posts the message instead and returns 0.
    int sendMessage(int message, int wParam = 0, int lParam = 0);

    // Repeating timer by id, delivered to OnTimer(id) until stopped; starting a running id
    // restarts it with the new interval. False when the window does not exist.
    bool setTimer(int timerId, int intervalMs);
    void stopTimer(int timerId);
    bool isTimerRunning(int timerId) const;

    // Background: the skin image scaled to the window; drawn in the fill colour (rounded
    // with a border for layered windows) when the image is missing or none is given.
    void setBackgroundImage(const QString& name);
    void setBackgroundColours(const QColor& fill, const QColor& border = {});

    // A press in the top `pixels` of a top-level window's own surface moves the window
    // (40 by default; 0 turns it off).
    void setCaptionHeight(int pixels) { m_captionHeight = pixels; }
    // A double click in the caption maximises the window, or restores it when maximised.
    void setCaptionMaximises(bool on) { m_captionMaximises = on; }

    // Draws the whole window at `scale` times its design size: the hooks lay out in
    // design pixels (InitUI and UISize get the client in design pixels), and every
    // control's rectangle and font are drawn scaled. 1 by default.
    void setInterfaceScale(double scale);
    double interfaceScale() const { return m_scale; }
    // The client rectangle in design pixels.
    QRect designClient() const;
    // Draws the controls whose rectangles were set since the last pass at the interface
    // scale. The base runs it after InitUI and UISize; a window that lays out outside
    // those hooks calls it afterwards.
    void scaleControls();
    // Puts every control drawn by the last pass back at its design rectangle. A layout
    // outside the hooks calls it first, so that a new design rectangle that happens to
    // equal a rectangle drawn before is not taken for the drawn one (and left unscaled).
    void restoreDesignRects();

    // Creates a control of kind T with its id and rectangle inside this dialog, or inside
    // `container` (a widget within this dialog, such as a Panel). Ids above 0 must be
    // unique within the dialog: a taken id gives nullptr. Ids of 0 or below are not
    // registered (decorations).
    template <class T> T* add(int id, const QRect& rect, QWidget* container = nullptr);

    // The control with that id, or nullptr.
    Control* control(int id) const;
    template <class T> T* find(int id) const { return dynamic_cast<T*>(control(id)); }

    // Every created top-level window, oldest first (to close pop-ups by title).
    static QList<Dialog*> windows();

    // ---- Hooks, in their order. Overrides call the base where the base does work. ----

    // Numbered messages (postMessage, sendMessage, Message::*). The base handles
    // Message::Close and returns 0 for everything else.
    virtual int OnWindowMessage(int message, int wParam, int lParam);
    // Start-up of the window. The base runs InitUI and then UISize with the client
    // rectangle; call it first. (If an override does not, create runs them afterwards.)
    virtual bool OnInitDialog();
    // Creates the controls.
    virtual void InitUI(const QRect& client);
    // Lays the controls out; runs again whenever the window's size changes.
    virtual void UISize(const QRect& client);
    // Control notifications: control id, Notify code, two parameters.
    virtual int OnMessage(int controlId, int code, int param1, int param2);
    // The window became active (true) or inactive (false).
    virtual int OnNcActivate(bool active);
    virtual void OnTimer(int timerId);
    // Stops the timers, hides the window, ends a modal run. The object and its controls
    // stay (values can still be read) until it is deleted or created again.
    virtual void DestroyWindow();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    friend class Control;
    struct ModalRun;

    bool idAvailable(int id) const;
    void placeControl(Control* control, const QRect& rect);
    void deliverNotification(int controlId, int code, int p1, int p2);
    void buildUi();
    void clearControls();
    void finishModal();

    bool m_created = false;
    bool m_uiBuilt = false;
    bool m_inInitDialog = false;
    QSize m_laidOutSize;
    QHash<int, QPointer<Control>> m_controls;
    QHash<int, QTimer*> m_timers;
    ModalRun* m_modal = nullptr;
    int m_result = ResultSecond;
    QString m_backgroundImage;
    QColor m_fill;
    QColor m_border;
    int m_captionHeight = 40;
    bool m_captionMaximises = false;
    double m_scale = 1.0;
    bool m_dragging = false;
    QPoint m_dragOffset;
};

template <class T> T* Dialog::add(int id, const QRect& rect, QWidget* container) {
    static_assert(std::is_base_of_v<Control, T>, "controls derive from ui::Control");
    if (!idAvailable(id))
        return nullptr;
    T* control = new T(id, container ? container : this);
    placeControl(control, rect);
    return control;
}

} // namespace corvane::ui
