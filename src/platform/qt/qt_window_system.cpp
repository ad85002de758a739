#include "platform/qt/qt_window_system.h"

#include <QApplication>
#include <QFileDialog>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "platform/message_box_text.h"
#include "platform/qt/pictures.h"

namespace zonvex::qt {

QString ToQString(const Text& text) { return QString::fromStdString(GbkToUtf8(text)); }
Text FromQString(const QString& text) { return Utf8ToGbk(text.toStdString()); }

QString WindowObjectName(Window window) {
    switch (window) {
        case Window::Start: return QStringLiteral("StartWindow");
        case Window::Main: return QStringLiteral("MainWindow");
        case Window::Download: return QStringLiteral("DownloadWindow");
    }
    return {};
}

namespace {

// Where a caption is kept for controls whose widget shows it in another form.
constexpr const char* kCaptionProperty = "zonvexCaption";

// A hyperlink acts when the left button goes down on it, not when it is released.
class Hyperlink final : public QLabel {
public:
    Hyperlink(QWidget* parent, std::function<void()> onPress) : QLabel(parent), onPress_(std::move(onPress)) {
        setProperty("zonvexHyperlink", true);  // for skins to colour links apart from labels
        QFont f = font();
        f.setUnderline(true);
        setFont(f);
        QPalette p = palette();
        p.setColor(QPalette::WindowText, QColor(0, 70, 200));
        setPalette(p);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) onPress_();
        QLabel::mousePressEvent(event);
    }

private:
    std::function<void()> onPress_;
};

// Captions may hold CR LF line breaks.
QString DisplayText(const Text& caption) {
    QString text = ToQString(caption);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

// A label's lines stand 12 pixels apart, as the layouts expect, whatever the font's own
// spacing. Some captions come from web pages: they are escaped and never read as markup.
QString LabelMarkup(const Text& caption) {
    QString html = DisplayText(caption).toHtmlEscaped();
    html.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    return QStringLiteral("<p style=\"-qt-line-height-type:fixed; line-height:12px; margin:0; white-space:pre-wrap\">") + html + QStringLiteral("</p>");
}

// A label grows downwards when its font needs more room than the layout gives its lines.
void FitLabel(QLabel* label, int height) {
    label->resize(label->width(), std::max(height, label->heightForWidth(label->width())));
}

// The client area of a window whose outer rectangle, frame included, is width x height.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 29;

}  // namespace

struct Application::Impl {
    QApplication app;
    QTranslator translator;
    Impl(int& argc, char** argv) : app(argc, argv) {
        QApplication::setQuitOnLastWindowClosed(false);  // the window system decides
        if (translator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(&translator);
        QFont font(QStringLiteral("WenQuanYi Micro Hei"));
        font.setPixelSize(12);
        QApplication::setFont(font);
        // Group boxes draw their caption on the frame line, leaving the room inside to the
        // controls the layouts place there.
        app.setStyleSheet(QStringLiteral(
            "QGroupBox { border: 1px solid palette(mid); border-radius: 3px; margin-top: 6px; }"
            "QGroupBox::title { subcontrol-origin: margin; left: 7px; padding: 0 2px; }"));
    }
};

Application::Application(int& argc, char** argv) : impl_(std::make_unique<Impl>(argc, argv)) {}
Application::~Application() = default;
int Application::run() { return QApplication::exec(); }

QtWindowSystem::QtWindowSystem(std::span<const WindowLayout> layouts, Dispatcher dispatch)
    : layouts_(layouts), dispatch_(std::move(dispatch)) {}

QtWindowSystem::~QtWindowSystem() {
    for (auto& [window, open] : open_) {
        QObject::disconnect(open.widget, &QObject::destroyed, nullptr, nullptr);
        delete open.widget;
    }
}

const WindowLayout& QtWindowSystem::layout(Window window) const {
    for (const auto& l : layouts_)
        if (l.window == window) return l;
    std::abort();  // every window has a layout
}

QWidget* QtWindowSystem::widget(Window window) const {
    auto it = open_.find(window);
    return it == open_.end() ? nullptr : it->second.widget;
}

QWidget* QtWindowSystem::control(Window window, std::string_view name) const {
    auto it = open_.find(window);
    if (it == open_.end()) return nullptr;
    auto c = it->second.controls.find(name);
    return c == it->second.controls.end() ? nullptr : c->second;
}

void QtWindowSystem::build(Window window) {
    const WindowLayout& l = layout(window);
    static const QCursor pointer = CustomPointer();
    auto* top = new QWidget(nullptr);
    top->setObjectName(WindowObjectName(window));
    top->setAttribute(Qt::WA_DeleteOnClose);
    top->setWindowTitle(ToQString(Text(l.title)));
    top->setFixedSize(l.width - kFrameWidth, l.height - kFrameHeight);
    top->move(l.left, l.top);
    top->setCursor(pointer);
    OpenWindow& open = open_[window];
    open.widget = top;
    ++alive_;
    QObject::connect(top, &QObject::destroyed, [this, window, top] { windowDestroyed(window, top); });

    auto name = [](const ControlLayout& c) { return std::string(c.name); };
    // Group boxes first, so the controls inside them have their parent.
    for (int pass = 0; pass < 2; ++pass) {
        for (const ControlLayout& c : l.controls) {
            if ((c.kind == ControlKind::GroupBox) != (pass == 0)) continue;
            QWidget* parent = c.group.empty() ? top : open.controls.at(std::string(c.group));
            QWidget* w = nullptr;
            std::string_view controlName = c.name;
            switch (c.kind) {
                case ControlKind::EditBox: {
                    auto* edit = new QLineEdit(parent);
                    QObject::connect(edit, &QLineEdit::textChanged, [this, window, controlName] {
                        dispatch_(window, controlName, Event::TextChanged);
                    });
                    w = edit;
                    break;
                }
                case ControlKind::Button: {
                    auto* button = new QPushButton(DisplayText(Text(c.caption)), parent);
                    QObject::connect(button, &QPushButton::clicked, [this, window, controlName] {
                        dispatch_(window, controlName, Event::Clicked);
                    });
                    w = button;
                    break;
                }
                case ControlKind::PictureButton: {
                    auto* button = new QPushButton(parent);
                    button->setFlat(true);
                    button->setIcon(GroupJoinPicture());
                    button->setIconSize(QSize(c.width, c.height));
                    button->setStyleSheet(QStringLiteral("QPushButton { border: none; padding: 0; background: transparent; }"));
                    QObject::connect(button, &QPushButton::clicked, [this, window, controlName] {
                        dispatch_(window, controlName, Event::Clicked);
                    });
                    w = button;
                    break;
                }
                case ControlKind::TransparentLabel: {
                    auto* label = new QLabel(LabelMarkup(Text(c.caption)), parent);
                    label->setTextFormat(Qt::RichText);
                    label->setWordWrap(true);
                    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                    w = label;
                    break;
                }
                case ControlKind::Hyperlink: {
                    auto* link = new Hyperlink(parent, [this, window, controlName] {
                        dispatch_(window, controlName, Event::Pressed);
                    });
                    link->setText(DisplayText(Text(c.caption)));
                    link->setTextFormat(Qt::PlainText);
                    w = link;
                    break;
                }
                case ControlKind::GroupBox: {
                    w = new QGroupBox(DisplayText(Text(c.caption)), parent);
                    break;
                }
                case ControlKind::Timer: {
                    auto* timer = new QTimer(top);
                    timer->setObjectName(ToQString(name(c)));
                    QObject::connect(timer, &QTimer::timeout, [this, window, controlName] {
                        dispatch_(window, controlName, Event::Tick);
                    });
                    open.timers.emplace(name(c), timer);
                    continue;
                }
            }
            w->setObjectName(ToQString(name(c)));
            w->setProperty(kCaptionProperty, QByteArray::fromStdString(std::string(c.caption)));
            w->setGeometry(c.left, c.top, c.width, c.height);
            if (c.kind == ControlKind::TransparentLabel) FitLabel(static_cast<QLabel*>(w), c.height);
            switch (c.pointer) {
                case Pointer::Custom: w->setCursor(pointer); break;
                case Pointer::Hand: w->setCursor(Qt::PointingHandCursor); break;
                // The system's own: the text I-beam over an edit box, the arrow elsewhere.
                case Pointer::Default: w->setCursor(c.kind == ControlKind::EditBox ? Qt::IBeamCursor : Qt::ArrowCursor); break;
            }
            open.controls.emplace(name(c), w);
        }
    }
}

void QtWindowSystem::open(Window window) {
    if (QWidget* existing = widget(window)) {
        if (existing->isMinimized()) existing->showNormal();
        existing->raise();
        existing->activateWindow();
        return;
    }
    build(window);
    QWidget* top = widget(window);
    top->show();
    top->activateWindow();
    dispatch_(window, {}, Event::Created);
}

void QtWindowSystem::close(Window window) {
    auto it = open_.find(window);
    if (it == open_.end()) return;
    QWidget* top = it->second.widget;
    open_.erase(it);
    for (QTimer* timer : top->findChildren<QTimer*>()) timer->stop();
    top->deleteLater();  // once the running handler has returned to the event loop
}

bool QtWindowSystem::isOpen(Window window) const { return open_.contains(window); }

void QtWindowSystem::windowDestroyed(Window window, QWidget* top) {
    auto it = open_.find(window);
    if (it != open_.end() && it->second.widget == top) open_.erase(it);
    if (--alive_ == 0) QCoreApplication::quit();
}

Text QtWindowSystem::text(Window window, std::string_view name) const {
    QWidget* w = control(window, name);
    if (!w) return {};
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return FromQString(edit->text());
    return w->property(kCaptionProperty).toByteArray().toStdString();
}

void QtWindowSystem::setText(Window window, std::string_view name, const Text& text) {
    QWidget* w = control(window, name);
    if (!w) return;
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        QString value = ToQString(text);
        // Writing the same text again still counts as a change, as typing over it would.
        if (edit->text() == value) dispatch_(window, name, Event::TextChanged);
        else edit->setText(value);
        return;
    }
    w->setProperty(kCaptionProperty, QByteArray::fromStdString(text));
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (dynamic_cast<Hyperlink*>(w)) {
            label->setText(DisplayText(text));
        } else {
            label->setText(LabelMarkup(text));
            FitLabel(label, layout(window).control(name)->height);
        }
    }
    else if (auto* button = qobject_cast<QPushButton*>(w)) button->setText(DisplayText(text));
    else if (auto* group = qobject_cast<QGroupBox*>(w)) group->setTitle(DisplayText(text));
}

void QtWindowSystem::setTimerPeriod(Window window, std::string_view name, int ms) {
    auto it = open_.find(window);
    if (it == open_.end()) return;
    auto t = it->second.timers.find(name);
    if (t == it->second.timers.end()) return;
    QTimer* timer = t->second;
    if (ms <= 0) timer->stop();
    else if (!timer->isActive() || timer->interval() != ms) timer->start(ms);
}

void QtWindowSystem::message(const Text& text) {
    QMessageBox box(QMessageBox::NoIcon, ToQString("信息："), ToQString(ShortenedForMessageBox(text)), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

std::optional<Text> QtWindowSystem::browseFolder(const Text& prompt) {
    QString folder = QFileDialog::getExistingDirectory(QApplication::activeWindow(), ToQString(prompt), QString(),
                                                       QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) return std::nullopt;
    return FromQString(folder);
}

void QtWindowSystem::fatal(const Text& text) {
    QMessageBox box(QMessageBox::Critical, ToQString("信息："), ToQString(text), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    std::_Exit(EXIT_FAILURE);
}

}  // namespace zonvex::qt
