// An invisible rectangle of a page over which the pointer becomes the pointing hand and where a
// left click is reported; the click then goes on to the page underneath as usual.
#pragma once

#include <QWidget>

namespace sw::ui {

class HotArea : public QWidget {
    Q_OBJECT
public:
    // `rect` in page pixels: left and top inclusive, right and bottom exclusive.
    HotArea(QWidget* page, const QRect& rect);

    static const QCursor& HandCursor();  // cursor 147, hot spot (11, 4)

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    // The hand is set as the pointer first enters: decoding the cursor file at start-up would
    // delay the window for a picture that many sessions never show.
    void enterEvent(QEnterEvent* event) override;
};

}  // namespace sw::ui
