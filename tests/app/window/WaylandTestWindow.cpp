// A real Wayland client for the focus tests: one toplevel window whose app id and title
// are its two arguments. It stays until it is terminated.
#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>

namespace {

class PlainWindow : public QRasterWindow {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(QRect(QPoint(), size()), Qt::darkGray);
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    // The app id a Wayland compositor reports is the desktop file name.
    QGuiApplication::setDesktopFileName(QString::fromUtf8(argv[1]));
    QGuiApplication app(argc, argv);
    PlainWindow window;
    window.setTitle(QString::fromUtf8(argv[2]));
    window.resize(200, 150);
    window.show();
    return app.exec();
}
