// Writes a PNG of each window, and of each message box met on the way, into the folder
// given as the first argument. Runs on the offscreen platform with a sample installation
// on fake services, so the pictures are the same on every machine.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <string>

#include "support/qt_helpers.h"

using namespace zonvex;
using namespace zonvex::testing;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    qt::Application application(argc, argv);
    QtTestProgram t;
    t.files.addFile("C:\\游戏\\穿越火线\\crossfire.exe");
    t.files.addDirectory("C:\\游戏\\穿越火线\\RUDE\\config");

    int boxes = 0;
    QTimer boxWatcher;
    QObject::connect(&boxWatcher, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        box->grab().save(folder + QStringLiteral("/message-%1.png").arg(++boxes));
        box->done(QMessageBox::Ok);
    });
    boxWatcher.start(20);

    auto save = [&](Window w, const char* name) {
        WaitFor([] { return false; });  // let layout and painting settle
        t.ui.widget(w)->grab().save(folder + "/" + name + ".png");
    };
    t.ui.open(Window::Start);
    save(Window::Start, "start");
    t.ui.setText(Window::Start, "编辑框1", "C:\\游戏\\穿越火线");
    save(Window::Main, "main");
    t.ui.open(Window::Download);
    save(Window::Download, "download");
    std::printf("wrote %d windows and %d message boxes to %s\n", 3, boxes, argv[1]);
    return 0;
}
