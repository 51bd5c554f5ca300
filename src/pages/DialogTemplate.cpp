#include "DialogTemplate.h"

#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace sw::ui {
namespace {

// A group box as the templates draw it: the frame line runs through the middle of the title,
// which interrupts it near the left end. The line's colour lies between the window's and its
// text's, so that it shows on light and dark palettes alike, and follows a palette change.
// Set on the box alone: a sheet on the whole window would send every control's polish
// through the style sheet machinery.
class TemplateGroupBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

    void Restyle() {
        const QColor window = palette().color(QPalette::Window);
        const QColor text = palette().color(QPalette::WindowText);
        const auto mix = [](int a, int b) { return (a * 3 + b * 2) / 5; };
        const QColor line(mix(window.red(), text.red()), mix(window.green(), text.green()),
                          mix(window.blue(), text.blue()));
        const QString sheet =
            QStringLiteral(
                "QGroupBox { border: 1px solid %1; border-radius: 2px; margin-top: 0.5em; }"
                "QGroupBox::title { subcontrol-origin: margin; left: 5px; padding: 0 2px; }")
                .arg(line.name());
        if (sheet != styleSheet() && !m_restyling) {
            // A style sheet of the application's sets the palette as the box's sheet is
            // applied, which would call this again from within.
            m_restyling = true;
            setStyleSheet(sheet);
            m_restyling = false;
        }
    }

protected:
    void changeEvent(QEvent* event) override {
        QGroupBox::changeEvent(event);
        if (event->type() == QEvent::PaletteChange) {
            Restyle();
        }
    }

private:
    bool m_restyling = false;
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
    const auto fits = [](QFont font, double points) {
        font.setPointSizeF(points);
        return QFontMetricsF(font).horizontalAdvance(alphabet) / 52.0 <= 6.0;
    };
    QFont font = base;
    font.setPointSizeF(8.0);
    const double at8 = QFontMetricsF(font).horizontalAdvance(alphabet) / 52.0;
    if (at8 <= 6.0) {
        return font;
    }
    // Widths grow about in proportion to the size: start where that puts the answer, then
    // settle (each size measured costs a font engine, which start-up pays for).
    double points = std::clamp(std::floor(8.0 * 6.0 / at8 * 4.0) / 4.0, 6.5, 7.75);
    while (points > 6.5 && !fits(font, points)) {
        points -= 0.25;
    }
    while (points < 7.75 && fits(font, points + 0.25)) {
        points += 0.25;
    }
    font.setPointSizeF(points);
    return font;
}

void ApplyDialogFont(QWidget* widget) {
    widget->setFont(DialogFont(widget->font()));
}

QString IdName(int id) {
    return QString::number(id);
}

QGroupBox* AddGroupBox(QWidget* page, const QString& title, QRect dlu) {
    auto* box = new TemplateGroupBox(title, page);
    box->Restyle();
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
