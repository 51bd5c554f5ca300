#include "EditorStyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPointer>
#include <QStyleFactory>

namespace sw::ui {
namespace {

// An icon of a style's standard pixmaps that asks the style for it at the first size, pixmap
// or paint request.
class DeferredIconEngine : public QIconEngine {
public:
    DeferredIconEngine(const QStyle* style, QStyle::StandardPixmap which)
        : m_style(style), m_which(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return Icon().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Icon().availableSizes(mode, state);
    }
    // Asked while layouts are made; answered without making the picture.
    bool isNull() override { return m_made ? m_icon.isNull() : m_style.isNull(); }
    QString key() const override { return QStringLiteral("DeferredIconEngine"); }
    QIconEngine* clone() const override { return new DeferredIconEngine(*this); }

private:
    const QIcon& Icon() {
        if (!m_made) {
            m_made = true;
            if (m_style != nullptr) {
                m_icon = m_style->standardIcon(m_which);
            }
        }
        return m_icon;
    }

    QPointer<const QStyle> m_style;  // the base style, gone when the application's style changes
    QStyle::StandardPixmap m_which;
    bool m_made = false;
    QIcon m_icon;
};

}  // namespace

QIcon EditorStyle::standardIcon(StandardPixmap which, const QStyleOption* option,
                                const QWidget* widget) const {
    if (which == SP_ToolBarHorizontalExtensionButton) {
        return QIcon(new DeferredIconEngine(baseStyle(), which));
    }
    return QProxyStyle::standardIcon(which, option, widget);
}

void UseEditorStyle() {
    // The base is a style of the name Qt chose, made anew: a proxy takes ownership of its base,
    // and the application's current style is deleted as it is replaced.
    QStyle* base = QStyleFactory::create(QApplication::style()->name());
    QApplication::setStyle(new EditorStyle(base));
}

}  // namespace sw::ui
