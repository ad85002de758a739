// Writes a PNG of each window, and of each message box met on the way, into the folder
// given as the first argument. Runs on the offscreen platform with a sample installation
// on fake services, so the pictures are the same on every machine.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <string>

#include "client_config/stamp.h"
#include "client_location/install_paths.h"
#include "support/qt_helpers.h"
#include "support/temp_dir.h"

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
    t.http.pages[kVersionsPage] = ReadFile(ZONVEX_SAMPLE_PAGES "/versions.html");
    t.http.pages[kBulletinPage] = ReadFile(ZONVEX_SAMPLE_PAGES "/bulletin.html");

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
        QTest::qWait(100);  // let layout and painting settle
        t.ui.widget(w)->grab().save(folder + "/" + name + ".png");
    };
    t.ui.open(Window::Start);
    save(Window::Start, "start");
    t.ui.setText(Window::Start, "编辑框1", "C:\\游戏\\穿越火线");  // the announcement box comes first
    Dispatch(t.program, Window::Main, "时钟1", Event::Tick);         // the recommendations of the first tick
    save(Window::Main, "main");
    t.ui.open(Window::Download);
    save(Window::Download, "download");
    t.ui.close(Window::Download);

    // MainWindow for an installation set to each zone.
    const char* names[] = {"main-zone1", "main-zone2", "main-zone3", "main-live"};
    for (ZoneProfile profile : kZoneProfiles) {
        const Text dir = "C:\\游戏\\穿越火线";
        t.files.addFile(dir + Text(kDirServerSuffix), std::string(FilesOf(profile).dirServer));
        t.files.addFile(dir + Text(kVersionDataSuffix), StampedVersionData("1.0.3" + std::to_string(static_cast<int>(profile))));
        t.ui.setTimerPeriod(Window::Main, "时钟1", 0);
        t.ui.open(Window::Start);
        t.ui.close(Window::Main);
        WaitFor([&] { return !t.ui.isOpen(Window::Main); });
        t.ui.setText(Window::Start, "编辑框1", dir);
        save(Window::Main, names[static_cast<int>(profile)]);
    }
    std::printf("wrote %d windows and %d message boxes to %s\n", 7, boxes, argv[1]);
    return 0;
}
