// The real program, stopped at a chosen point so that its start-up time and memory can be
// measured from outside (bench/startup.py):
//   zonvex_startup_probe start          ends once StartWindow is shown (skin attached)
//   zonvex_startup_probe main FOLDER    opens MainWindow on the installation, closes the
//                                       announcement, runs the first tick, then ends
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstring>

#include "app/bindings.h"
#include "app/run.h"

using namespace zonvex;

int main(int argc, char** argv) {
    const bool toMain = argc == 3 && std::strcmp(argv[1], "main") == 0;
    const Text folder = toMain ? Text(argv[2]) : Text();
    return RunZonvex(1, argv, [&](Program& p) {
        if (toMain) {
            QTimer* boxes = new QTimer(qApp);
            QObject::connect(boxes, &QTimer::timeout, [] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->done(QMessageBox::Ok);
            });
            boxes->start(1);
            p.ui.setText(Window::Start, "编辑框1", folder);
            Dispatch(p, Window::Main, "时钟1", Event::Tick);
        }
        QTimer::singleShot(0, [] { QApplication::exit(0); });
    });
}
