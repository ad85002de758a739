#pragma once
// Helpers for tests of the real Qt windows, offscreen.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>

#include "platform/qt/qt_window_system.h"
#include "support/fake_platform.h"

namespace zonvex::testing {

struct SeenMessage {
    QString title, text, button;
    bool hasIcon = false;
};

// Dismisses, from the box's own event loop, the message boxes that appear from now on, recording what each showed.
class MessageDismisser {
public:
    MessageDismisser() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible() || (dismissWhen && !dismissWhen())) return;
            SeenMessage seen{box->windowTitle(), box->text(), {}, !box->iconPixmap().isNull()};
            if (auto* ok = box->button(QMessageBox::Ok)) seen.button = ok->text();
            seen_.push_back(seen);
            if (onMessage) onMessage(seen);
            box->done(QMessageBox::Ok);
        });
        timer_.start();
    }
    const std::vector<SeenMessage>& seen() const { return seen_; }
    std::function<void(const SeenMessage&)> onMessage;
    // Leaves each box open until this holds; the box's own event loop runs meanwhile.
    std::function<bool()> dismissWhen;

private:
    QTimer timer_;
    std::vector<SeenMessage> seen_;
};

// A program on fake platform services with the real Qt windows.
struct QtTestProgram : FakeServices {
    qt::QtWindowSystem ui{Layouts(), [this](Window w, std::string_view c, Event e) { Dispatch(program, w, c, e); }};
    Program program{ui, platform, {kVersionsPage, kBulletinPage}, {}};
};

template <typename T>
T* Control(qt::QtWindowSystem& ui, Window w, const Text& name) {
    QWidget* top = ui.widget(w);
    return top ? top->findChild<T*>(qt::ToQString(name)) : nullptr;
}

// Runs the event loop (timers and deferred deletes included) until the condition holds
// or two seconds have passed.
inline bool WaitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 2000); }

}  // namespace zonvex::testing
