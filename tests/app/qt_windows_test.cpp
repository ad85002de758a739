#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/message_box_text.h"
#include "support/qt_helpers.h"
#include "support/utf8.h"

namespace zonvex {
namespace {

using namespace testing;
using qt::FromQString;
using qt::ToQString;

TEST(QtWindowsTest, EveryWindowIsBuiltFromItsTable) {
    struct {
        qt::QtWindowSystem ui{Layouts(), [](Window, std::string_view, Event) {}};  // no handlers: captions as laid out
    } t;
    for (const WindowLayout& layout : Layouts()) {
        t.ui.open(layout.window);
        QWidget* top = t.ui.widget(layout.window);
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(top->windowTitle(), ToQString(Text(layout.title)));
        EXPECT_EQ(top->objectName(), qt::WindowObjectName(layout.window));
        EXPECT_EQ(top->cursor().shape(), Qt::BitmapCursor);
        EXPECT_EQ(top->cursor().hotSpot(), QPoint(1, 1));
        EXPECT_EQ(top->cursor().pixmap().size(), QSize(32, 32));
        for (const ControlLayout& c : layout.controls) {
            if (c.kind == ControlKind::Timer) continue;
            auto* w = Control<QWidget>(t.ui, layout.window, Text(c.name));
            ASSERT_NE(w, nullptr) << c.name;
            EXPECT_EQ(w->pos(), QPoint(c.left, c.top)) << c.name;
            EXPECT_EQ(w->width(), c.width) << c.name;
            EXPECT_GE(w->height(), c.height) << c.name;
            QWidget* expectedParent = c.group.empty() ? top : Control<QWidget>(t.ui, layout.window, Text(c.group));
            EXPECT_EQ(w->parentWidget(), expectedParent) << c.name;
            EXPECT_EQ(t.ui.text(layout.window, c.name), Text(c.caption)) << c.name;
            // A control that keeps the system's pointer shows the one of its kind.
            Qt::CursorShape expected = c.pointer == Pointer::Custom       ? Qt::BitmapCursor
                                       : c.pointer == Pointer::Hand       ? Qt::PointingHandCursor
                                       : c.kind == ControlKind::EditBox   ? Qt::IBeamCursor
                                                                          : Qt::ArrowCursor;
            EXPECT_EQ(w->cursor().shape(), expected) << c.name;
        }
    }
    auto* rows = Control<QLabel>(t.ui, Window::Main, "透明标签10");
    EXPECT_EQ(rows->text().count(QStringLiteral("<br>")), 6) << "seven lines";
    EXPECT_EQ(Control<QPushButton>(t.ui, Window::Main, "按钮5")->text(), ToQString("还原到正式服"));
    EXPECT_EQ(Control<QGroupBox>(t.ui, Window::Download, "分组框3")->title(), ToQString("体验服三区"));
}

TEST(QtWindowsTest, WritingTheEditBoxRaisesTheCheck) {
    QtTestProgram t;
    MessageDismisser announcement;
    t.files.addFile("D:\\穿越火线\\crossfire.exe");
    t.ui.open(Window::Start);
    t.ui.setText(Window::Start, "编辑框1", "D:\\穿越火线");
    EXPECT_TRUE(t.ui.isOpen(Window::Main));
    EXPECT_FALSE(t.ui.isOpen(Window::Start));
    EXPECT_EQ(t.program.state.ClientDir, Text("D:\\穿越火线"));
}

TEST(QtWindowsTest, TypingTheSameTextAgainStillChecks) {
    QtTestProgram t;
    MessageDismisser announcement;
    t.ui.open(Window::Start);
    t.ui.setText(Window::Start, "编辑框1", "D:\\cf");
    t.files.addFile("D:\\cf\\crossfire.exe");
    t.ui.setText(Window::Start, "编辑框1", "D:\\cf");
    EXPECT_TRUE(t.ui.isOpen(Window::Main));
}

TEST(QtWindowsTest, TypedKeysAreChecked) {
    QtTestProgram t;
    MessageDismisser announcement;
    t.files.addFile("cf\\crossfire.exe");
    t.ui.open(Window::Start);
    QTest::keyClicks(Control<QLineEdit>(t.ui, Window::Start, "编辑框1"), "cf");
    EXPECT_EQ(t.program.state.ClientDir, "cf");
}

TEST(QtWindowsTest, HyperlinksActOnPressAndOpeningAgainActivates) {
    QtTestProgram t;
    t.ui.open(Window::Start);
    auto* link = Control<QLabel>(t.ui, Window::Start, "超级链接框5");
    QTest::mousePress(link, Qt::LeftButton);
    ASSERT_TRUE(t.ui.isOpen(Window::Download));
    QWidget* download = t.ui.widget(Window::Download);
    download->showMinimized();
    QTest::mouseRelease(link, Qt::LeftButton);
    QTest::mousePress(link, Qt::RightButton);
    QTest::mousePress(link, Qt::LeftButton);
    EXPECT_EQ(t.ui.widget(Window::Download), download) << "no second window";
    EXPECT_FALSE(download->isMinimized());
}

TEST(QtWindowsTest, MessageBoxHasTheTitleAndAChineseOkButton) {
    QtTestProgram t;
    MessageDismisser dismisser;
    t.ui.message("转换失败！");
    ASSERT_EQ(dismisser.seen().size(), 1u);
    EXPECT_EQ(dismisser.seen()[0].title, ToQString("信息："));
    EXPECT_EQ(dismisser.seen()[0].text, ToQString("转换失败！"));
    EXPECT_EQ(dismisser.seen()[0].button, ToQString("确定"));
    EXPECT_FALSE(dismisser.seen()[0].hasIcon);
}

// A page's announcement of megabytes is what the program keeps; the box shows its
// beginning, so it appears at once instead of after a minute of laying out text.
TEST(QtWindowsTest, AHugeAnnouncementIsShownShortened) {
    QtTestProgram t;
    t.files.addFile("C:\\cf\\crossfire.exe");
    std::string huge;
    for (int i = 0; i < 200000; ++i) huge += U8(u8"维护公告，") + std::to_string(i) + "\n";
    t.http.pages[kBulletinPage] = U8(u8"公告：（") + huge + U8(u8"）");
    MessageDismisser dismisser;
    t.ui.open(Window::Start);
    t.ui.setText(Window::Start, "编辑框1", "C:\\cf");
    ASSERT_EQ(dismisser.seen().size(), 1u);
    EXPECT_EQ(FromQString(dismisser.seen()[0].text), ShortenedForMessageBox(Utf8ToGbk(huge)));
    EXPECT_TRUE(dismisser.seen()[0].text.endsWith(ToQString("……")));
    EXPECT_EQ(t.program.state.AnnouncementText, Utf8ToGbk(huge)) << "the program keeps the whole text";
}

TEST(QtWindowsTest, TimersTickWhileAMessageBoxIsOpen) {
    QtTestProgram t;
    t.files.addFile("C:\\cf\\crossfire.exe");
    MessageDismisser dismisser;
    t.ui.open(Window::Start);
    t.ui.setText(Window::Start, "编辑框1", "C:\\cf");  // MainWindow's announcement is dismissed at once
    int ticks = 0;
    QTimer* timer = t.ui.widget(Window::Main)->findChild<QTimer*>(ToQString("时钟1"));
    ASSERT_NE(timer, nullptr);
    QObject::connect(timer, &QTimer::timeout, [&] { ++ticks; });
    t.ui.setTimerPeriod(Window::Main, "时钟1", 20);
    dismisser.dismissWhen = [&] { return ticks >= 3; };
    t.ui.message("x");
    EXPECT_GE(ticks, 3);
    t.ui.setTimerPeriod(Window::Main, "时钟1", 0);
    EXPECT_FALSE(timer->isActive());
}

TEST(QtWindowsTest, MainWindowAnnouncesThenItsTimerRefreshesTheRecommendations) {
    QtTestProgram t;
    t.files.addFile("C:\\cf\\crossfire.exe");
    t.http.pages[kBulletinPage] = U8(u8"公告：（今晚维护）");
    t.http.pages[kVersionsPage] = U8(u8"体验服三：1.0.3版本");
    MessageDismisser dismisser;
    t.ui.open(Window::Start);
    t.ui.setText(Window::Start, "编辑框1", "C:\\cf");
    ASSERT_EQ(dismisser.seen().size(), 1u);
    EXPECT_EQ(dismisser.seen()[0].text, ToQString("今晚维护"));
    QTimer* timer = t.ui.widget(Window::Main)->findChild<QTimer*>(ToQString("时钟1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 3000);
    t.ui.setTimerPeriod(Window::Main, "时钟1", 10);  // not to wait three seconds
    auto* zone3 = Control<QLabel>(t.ui, Window::Main, "透明标签6");
    EXPECT_TRUE(WaitFor([&] { return t.ui.text(Window::Main, "透明标签6") == "1.0.3"; }));
    EXPECT_EQ(t.ui.text(Window::Main, "透明标签9"), "");
    EXPECT_TRUE(zone3->text().contains(QStringLiteral("1.0.3")));
}

// Closing the first or the main window with its close box leaves the program running
// while the download window is open; it ends when that one is closed too.
TEST(QtWindowsTest, TheProgramEndsWhenItsLastWindowIsDestroyed) {
    for (Window first : {Window::Start, Window::Main}) {
        SCOPED_TRACE(qt::WindowObjectName(first).toStdString());
        QtTestProgram t;
        MessageDismisser announcement;
        t.ui.open(first);
        t.ui.open(Window::Download);
        bool quitEarly = false;
        QTimer::singleShot(0, [&] {
            t.ui.widget(first)->close();  // the close box
            QTimer::singleShot(50, [&] {
                quitEarly = !t.ui.isOpen(Window::Download);
                t.ui.close(Window::Download);
            });
        });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QApplication::exit(2); });
        guard.start(5000);
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_FALSE(quitEarly);
        EXPECT_FALSE(t.ui.isOpen(Window::Download));
    }
}

}  // namespace
}  // namespace zonvex
