// A picture of a page at its own size, as a template's static bitmap; one that reports clicks
// (the goods window's arrows) emits `clicked` for a left click while enabled. Disabled, the
// picture is drawn dimmed towards its own background (its top left pixel), so that an arrow
// fades into the frame instead of turning into a grey block.
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
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
    QPixmap m_dimmed;  // made when first drawn disabled
};

}  // namespace sw::ui
