#include "HotArea.h"

#include <QCursor>
#include <QFile>
#include <QMouseEvent>
#include <QPixmap>

namespace sw::ui {
namespace {

// The hot spot is stored in the cursor file's directory entry (bytes 10-13).
QPoint CursorHotSpot(const QByteArray& cur) {
    if (cur.size() < 14) {
        return {0, 0};
    }
    const auto word = [&cur](int at) {
        return static_cast<unsigned char>(cur[at]) | static_cast<unsigned char>(cur[at + 1]) << 8;
    };
    return {word(10), word(12)};
}

}  // namespace

HotArea::HotArea(QWidget* page, const QRect& rect) : QWidget(page) {
    setGeometry(rect);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

const QCursor& HotArea::HandCursor() {
    static const QCursor cursor = [] {
        QFile file(QStringLiteral(":/cursor/147"));
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        QPixmap pixmap;
        if (!pixmap.loadFromData(bytes, "CUR") && !pixmap.loadFromData(bytes)) {
            return QCursor(Qt::PointingHandCursor);
        }
        const QPoint hotSpot = CursorHotSpot(bytes);
        return QCursor(pixmap, hotSpot.x(), hotSpot.y());
    }();
    return cursor;
}

void HotArea::enterEvent(QEnterEvent* event) {
    if (!testAttribute(Qt::WA_SetCursor)) {
        setCursor(HandCursor());
    }
    QWidget::enterEvent(event);
}

void HotArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit clicked();
    }
    event->ignore();  // the page underneath still gets the click
}

}  // namespace sw::ui
