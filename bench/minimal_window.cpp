// The floor for start-up and memory: a Qt Widgets program that shows one empty window and
// ends, the same way the probe does.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(475, 207);
    window.show();
    QTimer::singleShot(0, [] { QApplication::exit(0); });
    return app.exec();
}
