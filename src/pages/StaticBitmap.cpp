#include "StaticBitmap.h"

#include <QMouseEvent>
#include <QPainter>

#include "DialogTemplate.h"

namespace sw::ui {

StaticBitmap::StaticBitmap(QWidget* page, int bitmapId, QPoint topLeft) : QLabel(page) {
    m_picture = ResourcePicture(QStringLiteral("bitmap/%1").arg(bitmapId), "BMP");
    setPixmap(m_picture);
    setGeometry(QRect(topLeft, m_picture.size()));
    setFocusPolicy(Qt::NoFocus);
}

void StaticBitmap::paintEvent(QPaintEvent*) {
    if (!isEnabled() && m_dimmed.isNull() && !m_picture.isNull()) {
        // Each pixel a third of the way from the background to its own colour.
        QImage image = m_picture.toImage().convertToFormat(QImage::Format_RGB32);
        const QColor background = image.pixelColor(0, 0);
        const auto dim = [](int from, int to) { return from + (to - from) / 3; };
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                image.setPixelColor(
                    x, y,
                    QColor(dim(background.red(), c.red()), dim(background.green(), c.green()),
                           dim(background.blue(), c.blue())));
            }
        }
        m_dimmed = QPixmap::fromImage(image);
    }
    QPainter(this).drawPixmap(0, 0, isEnabled() ? m_picture : m_dimmed);
}

void StaticBitmap::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
    QLabel::mousePressEvent(event);
}

}  // namespace sw::ui
