// A picture of a page at its own size, as a template's static bitmap; one that reports clicks
// (the goods window's arrows) emits `clicked` for a left click while enabled.
#pragma once

#include <QLabel>

namespace sw::ui {

class StaticBitmap : public QLabel {
    Q_OBJECT
public:
    // `bitmapId` names the resource ":/bitmap/<id>"; the control's top left is `topLeft`.
    StaticBitmap(QWidget* page, int bitmapId, QPoint topLeft);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace sw::ui
