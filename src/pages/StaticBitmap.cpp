#include "StaticBitmap.h"

#include <QMouseEvent>

namespace sw::ui {

StaticBitmap::StaticBitmap(QWidget* page, int bitmapId, QPoint topLeft) : QLabel(page) {
    // The format is named: the resource names have no suffix, and probing the content would load
    // every image plugin there is.
    const QPixmap picture(QStringLiteral(":/bitmap/%1").arg(bitmapId), "BMP");
    setPixmap(picture);
    setGeometry(QRect(topLeft, picture.size()));
    setFocusPolicy(Qt::NoFocus);
}

void StaticBitmap::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
    QLabel::mousePressEvent(event);
}

}  // namespace sw::ui
