// Writes a PNG of each window, and of each message box met on the way, into the folder
// given as the first argument. Runs on the offscreen platform with a sample installation
// on fake services, so the pictures are the same on every machine.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <dlfcn.h>

#include <QImage>
#include <QPainter>

#include <cstdio>
#include <string>

#include "client_config/stamp.h"
#include "client_location/install_paths.h"
#include "skin/skin.h"
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

    // The windows in the skin the program attaches, drawn by the skin library the build made.
    void* library = dlopen(ZONVEX_SKIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    auto attach = library ? reinterpret_cast<int (*)(const unsigned char*, int, const char*, int, int, int)>(
                                dlsym(library, "SkinH_AttachRes"))
                          : nullptr;
    if (!attach) {
        std::fprintf(stderr, "cannot load %s\n", ZONVEX_SKIN_LIBRARY);
        return 1;
    }
    auto attachSkin = [&](int number) {
        std::span<const unsigned char> skin = BuiltInSkin(number);
        attach(skin.data(), static_cast<int>(skin.size()), "", 0, 0, 0);
    };

    // StartWindow in every built-in skin, side by side at half size.
    {
        t.ui.open(Window::Start);
        QWidget* start = t.ui.widget(Window::Start);
        const QSize cell = start->size() / 2;
        QImage sheet(cell.width() * 6, cell.height() * 6, QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        for (int n = 1; n <= kBuiltInSkinCount; ++n) {
            attachSkin(n);
            QTest::qWait(30);
            QPoint at(((n - 1) % 6) * cell.width(), ((n - 1) / 6) * cell.height());
            painter.drawPixmap(at, start->grab().scaled(cell, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            painter.drawText(at + QPoint(4, 14), QString::number(n));
        }
        painter.end();
        sheet.save(folder + "/skins.png");
        t.ui.close(Window::Start);
        WaitFor([&] { return !t.ui.isOpen(Window::Start); });
    }
    attachSkin(kStartWindowSkin);

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
    std::printf("wrote %d windows, %d message boxes and the skins to %s\n", 7, boxes, argv[1]);
    return 0;
}
