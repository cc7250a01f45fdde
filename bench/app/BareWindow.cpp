// The yardstick for the window's start and memory: a QLabel in a frameless window of the
// main window's size, and nothing else.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Corvane"));
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.resize(1300, 788);
    window.show();
    return app.exec();
}
