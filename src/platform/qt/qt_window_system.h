#pragma once
// The window system on Qt 6 Widgets: windows are built from their layout tables and every
// widget's objectName is its control name, so tests and tools can find it.
#include <map>
#include <memory>
#include <span>

#include "platform/window_system.h"

class QWidget;
class QTimer;
class QString;

namespace zonvex::qt {

QString ToQString(const Text& text);
Text FromQString(const QString& text);
// The objectName of a window's top-level widget ("StartWindow", "MainWindow", ...).
QString WindowObjectName(Window window);

// The Qt application: Chinese translations, a font with CJK glyphs, and an event loop that
// ends when the window system says the last window has gone. One per process.
class Application {
public:
    Application(int& argc, char** argv);
    ~Application();
    int run();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

class QtWindowSystem final : public WindowSystem {
public:
    QtWindowSystem(std::span<const WindowLayout> layouts, Dispatcher dispatch);
    ~QtWindowSystem() override;

    void open(Window) override;
    void close(Window) override;
    bool isOpen(Window) const override;
    Text text(Window, std::string_view control) const override;
    void setText(Window, std::string_view control, const Text&) override;
    void setTimerPeriod(Window, std::string_view timer, int ms) override;
    void message(const Text&) override;
    std::optional<Text> browseFolder(const Text& prompt) override;
    [[noreturn]] void fatal(const Text&) override;

    // The top-level widget of an open window, or nullptr.
    QWidget* widget(Window) const;

private:
    struct OpenWindow {
        QWidget* widget = nullptr;
        std::map<std::string, QWidget*, std::less<>> controls;
        std::map<std::string, QTimer*, std::less<>> timers;
    };
    const WindowLayout& layout(Window) const;
    void build(Window);
    QWidget* control(Window, std::string_view name) const;
    void windowDestroyed(Window, QWidget*);

    std::span<const WindowLayout> layouts_;
    Dispatcher dispatch_;
    std::map<Window, OpenWindow> open_;
    int alive_ = 0;  // windows built and not yet destroyed, closing ones included
};

}  // namespace zonvex::qt
