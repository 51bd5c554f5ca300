#include "DialogTemplate.h"

#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace sw::ui {
namespace {

// The palette's colours for a widget as it stands: disabled, or in an active or inactive window.
QPalette::ColorGroup ColourGroupOf(const QWidget& widget) {
    if (!widget.isEnabled()) {
        return QPalette::Disabled;
    }
    return widget.isActiveWindow() ? QPalette::Active : QPalette::Inactive;
}

// A group box as the templates draw it: the frame line runs through the middle of the title,
// which interrupts it near the left end. The line's colour lies between the window's and its
// text's, so that it shows on light and dark palettes alike; it is taken from the palette at
// every paint, so it follows a palette change. Drawn here rather than by a style sheet: a sheet
// costs a tenth of the window's start-up, parsed and polished for every box.
class TemplateGroupBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QFontMetrics metrics = fontMetrics();
        const QPalette::ColorGroup group = ColourGroupOf(*this);
        const QColor window = palette().color(group, QPalette::Window);
        const QColor text = palette().color(group, QPalette::WindowText);
        const auto mix = [](int a, int b) { return (a * 3 + b * 2) / 5; };
        const QColor line(mix(window.red(), text.red()), mix(window.green(), text.green()),
                          mix(window.blue(), text.blue()));
        const QRect titleArea(kTitleLeft, 0, metrics.horizontalAdvance(title()) + 2 * kTitlePadding,
                              metrics.height());
        if (!title().isEmpty()) {
            painter.setClipRegion(QRegion(rect()).subtracted(titleArea));
        }
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(line);
        const int top = metrics.height() / 2;
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, top + 0.5, -0.5, -0.5), 2, 2);
        if (!title().isEmpty()) {
            painter.setClipping(false);
            painter.setPen(text);
            painter.drawText(titleArea, Qt::AlignCenter | Qt::TextSingleLine, title());
        }
    }

private:
    static constexpr int kTitleLeft = 5;
    static constexpr int kTitlePadding = 3;
};

// A flat button as the templates mean it: a face with a one-pixel frame, which hides a group
// box's frame line behind the button. Face, frame and text all come from the palette, so that
// an application style sheet's text colour never lands on a face of ours in the same colour.
class FlatButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QPalette::ColorGroup group = ColourGroupOf(*this);
        const QPalette& colours = palette();
        painter.fillRect(rect(), colours.color(group, isDown() ? QPalette::Mid : QPalette::Button));
        painter.setPen(colours.color(group, hasFocus() ? QPalette::Highlight : QPalette::Dark));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        painter.setPen(colours.color(group, QPalette::ButtonText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine,
                         text());
    }
};

}  // namespace

QRect DluRect(int x, int y, int width, int height) {
    const auto px = [](double units, double scale) {
        return static_cast<int>(std::lround(units * scale));
    };
    const int left = px(x, kPixelsPerUnitX);
    const int top = px(y, kPixelsPerUnitY);
    return {left, top, px(x + width, kPixelsPerUnitX) - left,
            px(y + height, kPixelsPerUnitY) - top};
}

QFont DialogFont(const QFont& base) {
    // The templates were laid out for a font whose average character is 6 px wide at 8 pt;
    // this platform's sans serif is often wider, so take the largest quarter point from 8 pt
    // down to 6.5 pt at which it fits the same boxes.
    static const QString alphabet =
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const auto average = [](const QFont& font) {
        return QFontMetricsF(font).horizontalAdvance(alphabet) / 52.0;
    };
    QFont font = base;
    const auto fits = [&](double points) {
        font.setPointSizeF(points);
        return average(font) <= 6.0;
    };
    // Each size measured costs a font engine, which start-up pays for. Widths grow about in
    // proportion to the size, so the base font (whose engine the menus load anyway) tells where
    // the answer lies; the steps below then settle it at exactly the sizes the answer depends on.
    const double basePoints = base.pointSizeF() > 0 ? base.pointSizeF() : 8.0;
    const double perPoint = average(base) / basePoints;
    double points = std::clamp(std::floor(6.0 / perPoint * 4.0) / 4.0, 6.5, 8.0);
    while (points > 6.5 && !fits(points)) {
        points -= 0.25;
    }
    while (points < 8.0 && fits(points + 0.25)) {
        points += 0.25;
    }
    font.setPointSizeF(points);
    return font;
}

void ApplyDialogFont(QWidget* widget) {
    widget->setFont(DialogFont(widget->font()));
}

QPixmap ResourcePicture(const QString& name, const char* format) {
    QImageReader reader(QLatin1Char(':') + name, format);
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QString IdName(int id) {
    return QString::number(id);
}

QGroupBox* AddGroupBox(QWidget* page, const QString& title, QRect dlu) {
    auto* box = new TemplateGroupBox(title, page);
    box->setGeometry(dlu);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QLabel* AddLabel(QWidget* page, const QString& text, QRect dlu, Qt::Alignment alignment) {
    auto* label = new QLabel(text, page);
    // As tall as the font's lines at least: a box of the template's height cuts the tail of a
    // "g" in fonts with deep descenders. The text is top-aligned, so it does not move.
    dlu.setHeight(std::max(dlu.height(), label->fontMetrics().height()));
    label->setGeometry(dlu);
    label->setAlignment(alignment | Qt::AlignTop);
    // Labels draw no background of their own; clicks pass through to the page.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

QLineEdit* AddEdit(QWidget* page, int id, QRect dlu) {
    auto* edit = new QLineEdit(page);
    edit->setObjectName(IdName(id));
    edit->setGeometry(dlu);
    edit->setEnabled(false);
    return edit;
}

QComboBox* AddDropDownList(QWidget* page, int id, QRect dlu) {
    auto* combo = new QComboBox(page);
    combo->setObjectName(IdName(id));
    // The template's height includes the dropped-down list; the closed box is one line.
    combo->setGeometry(dlu.x(), dlu.y(), dlu.width(), combo->sizeHint().height());
    combo->setEnabled(false);
    return combo;
}

QPushButton* AddButton(QWidget* page, int id, const QString& text, QRect dlu) {
    auto* button = new QPushButton(text, page);
    button->setObjectName(IdName(id));
    button->setGeometry(dlu);
    return button;
}

QPushButton* AddFlatButton(QWidget* page, int id, const QString& text, QRect dlu) {
    auto* button = new FlatButton(text, page);
    button->setFlat(true);
    button->setObjectName(IdName(id));
    button->setGeometry(dlu);
    return button;
}

void KeepSelectionShown(QWidget* widget) {
    QPalette colours = widget->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    }
    widget->setPalette(colours);
}

void FitFontToWidth(QWidget* control, const QString& text, int room) {
    QFont font = control->font();
    while (font.pointSizeF() > 6.0 && QFontMetricsF(font).horizontalAdvance(text) > room) {
        font.setPointSizeF(font.pointSizeF() - 0.25);
    }
    control->setFont(font);
}

void AddOkCancel(QDialog* dialog, const QString& okText, QRect okDlu, const QString& cancelText,
                 QRect cancelDlu) {
    QPushButton* ok = AddButton(dialog, 1, okText, okDlu);
    ok->setDefault(true);
    QPushButton* cancel = AddButton(dialog, 2, cancelText, cancelDlu);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

void FillEdit(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    edit->setCursorPosition(0);  // setText leaves it at the end, which scrolls the start away
}

void ReplaceItemsSilently(QComboBox* combo, const QStringList& items) {
    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->addItems(items);
}

void SelectSilently(QComboBox* combo, int index) {
    const QSignalBlocker blocker(combo);
    combo->setCurrentIndex(index);
}

}  // namespace sw::ui
