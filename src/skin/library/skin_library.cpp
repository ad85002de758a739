// The window-skinning library: a shared object loaded by the program at run time, which
// draws every window of the application in a skin handed to it. It owns nothing of the
// caller's: the skin is unpacked into its own memory before anything changes.
#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QString>

#include <span>

#include "skin/format/color_shift.h"
#include "skin/format/she_format.h"
#include "skin/format/skin_content.h"

namespace {

using zonvex::skin::Rgb;

// The shared shift, on Qt's colours; alpha stays as it is.
struct Shift {
    zonvex::skin::ColorShift shift;

    QColor operator()(Rgb c) const {
        const Rgb out = shift(c);
        return QColor(out.r, out.g, out.b);
    }
    QColor operator()(QColor c) const {
        if (shift.none()) return c;
        QColor out = (*this)(Rgb{static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()), static_cast<uint8_t>(c.blue())});
        out.setAlpha(c.alpha());
        return out;
    }
};

QString Css(const QColor& c) { return c.name(QColor::HexRgb); }

QString StyleSheet(const zonvex::skin::SkinContent& skin, const Shift& shift) {
    const QColor button = shift(skin.button);
    const QString radius = QString::number(skin.radius) + QStringLiteral("px");
    QColor groupFill = shift(skin.base);
    groupFill.setAlpha(110);
    // Group boxes keep their caption on the frame line, where the layouts expect it.
    return QStringLiteral(
               "QLabel { color: %1; }"
               "QLabel[zonvexHyperlink=\"true\"] { color: %2; }"
               "QGroupBox { color: %1; border: 1px solid %3; border-radius: %4; margin-top: 6px;"
               " background-color: %5; }"
               "QGroupBox::title { subcontrol-origin: margin; left: 7px; padding: 0 2px; color: %6; }"
               "QPushButton { color: %7; border: 1px solid %3; border-radius: %4; padding: 1px 0;"
               " background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %8, stop:1 %9); }"
               "QPushButton:hover { border-color: %6; }"
               "QPushButton:pressed { background-color: %10; }"
               "QLineEdit { color: %1; background-color: %11; border: 1px solid %3; border-radius: %4;"
               " padding: 1px 4px; selection-background-color: %6; }"
               "QLineEdit:focus { border-color: %6; }")
        .arg(Css(shift(skin.text)), Css(shift(skin.link)), Css(shift(skin.frame)), radius,
             groupFill.name(QColor::HexArgb), Css(shift(skin.accent)), Css(shift(skin.buttonText)),
             Css(button.lighter(112)), Css(button), Css(button.darker(112)), Css(shift(skin.base)));
}

QPixmap Picture(const zonvex::skin::SkinContent& skin, const Shift& shift) {
    QImage image(skin.pictureWidth, skin.pictureHeight, QImage::Format_RGBA8888);
    const unsigned char* p = skin.picture.data();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x, p += 4) image.setPixelColor(x, y, shift(QColor(p[0], p[1], p[2], p[3])));
    return QPixmap::fromImage(image);
}

}  // namespace

// Draws the application's windows, open now or opened later, in the skin. The password is
// for encrypted skins, which this library does not make; hue, saturation and brightness
// shift every colour of the skin. 1 when the skin was applied; 0 when it is damaged (or no
// application is running), with the look left as it was.
extern "C" __attribute__((visibility("default"))) int SkinH_AttachRes(const unsigned char* skin, int size,
                                                                      const char* /*password*/, int hue,
                                                                      int saturation, int brightness) {
    if (!skin || size <= 0) return 0;
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app) return 0;
    auto content = zonvex::skin::Unpack(std::span(skin, static_cast<size_t>(size)));
    if (!content) return 0;
    auto parsed = zonvex::skin::Parse(*content);
    if (!parsed) return 0;
    const Shift shift{zonvex::skin::ColorShift::Clamped(hue, saturation, brightness)};

    QPalette palette = QApplication::palette();
    palette.setBrush(QPalette::Window, QBrush(shift(parsed->window), Picture(*parsed, shift)));
    palette.setColor(QPalette::WindowText, shift(parsed->text));
    palette.setColor(QPalette::Base, shift(parsed->base));
    palette.setColor(QPalette::Text, shift(parsed->text));
    palette.setColor(QPalette::Button, shift(parsed->button));
    palette.setColor(QPalette::ButtonText, shift(parsed->buttonText));
    palette.setColor(QPalette::Highlight, shift(parsed->accent));
    palette.setColor(QPalette::Link, shift(parsed->link));
    palette.setColor(QPalette::Mid, shift(parsed->frame));
    QApplication::setPalette(palette);
    app->setStyleSheet(StyleSheet(*parsed, shift));
    return 1;
}
