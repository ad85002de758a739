#include "platform/qt/pictures.h"

#include <QImage>

#include "platform/pictures.h"

namespace zonvex::qt {

namespace {

QPixmap ToPixmap(const Picture& picture) {
    QImage image(picture.rgba.data(), picture.width, picture.height, picture.width * 4, QImage::Format_RGBA8888);
    return QPixmap::fromImage(image.copy());
}

}  // namespace

QCursor CustomPointer() { return QCursor(ToPixmap(PointerPicture()), kPointerHotSpotX, kPointerHotSpotY); }

QPixmap GroupJoinPicture() { return ToPixmap(zonvex::GroupJoinPicture()); }

}  // namespace zonvex::qt
