#include "ShockwaveFlash.h"

#include <QFileInfo>
#include <QMovie>
#include <QPainter>

namespace sw::ui {

ShockwaveFlash::ShockwaveFlash(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

ShockwaveFlash::~ShockwaveFlash() = default;

void ShockwaveFlash::Stop() {
    if (m_movie) {
        m_movie->stop();
    }
}

void ShockwaveFlash::LoadMovie(int /*layer: one movie at a time*/, const QString& path) {
    // A path with no file behind it (how a movie is emptied) needs no decoder: none is made, which
    // also keeps the GIF plugin unloaded until a movie is really shown.
    m_movie = QFileInfo::exists(path) ? std::make_unique<QMovie>(path, "GIF")  // animated GIFs
                                      : nullptr;
    m_moviePath = path;
    m_zoom = 1.0;
    m_pan = {};
    if (m_movie) {
        connect(m_movie.get(), &QMovie::frameChanged, this, qOverload<>(&QWidget::update));
        if (m_movie->isValid()) {
            m_movie->start();
        }
    }
    update();
}

void ShockwaveFlash::SetQuality2(const QString& quality) {
    m_smooth = quality.compare(QStringLiteral("low"), Qt::CaseInsensitive) != 0;
    update();
}

void ShockwaveFlash::Zoom(int factor) {
    m_zoom = factor <= 0 ? 1.0 : m_zoom * 100.0 / factor;
    update();
}

void ShockwaveFlash::Pan(int x, int y, int mode) {
    if (mode == 1) {
        m_pan += QPointF(width() * x / 100.0, height() * y / 100.0);
    } else {
        m_pan += QPointF(x, y);
    }
    update();
}

bool ShockwaveFlash::IsPlaying() const {
    return m_movie && m_movie->state() == QMovie::Running;
}

void ShockwaveFlash::paintEvent(QPaintEvent*) {
    if (!m_movie || !m_movie->isValid()) {
        return;
    }
    const QPixmap frame = m_movie->currentPixmap();
    if (frame.isNull()) {
        return;
    }
    // ShowAll: the whole movie fits, centred, its proportions kept; zoom about the centre.
    const QSizeF fitted = QSizeF(frame.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
    const QSizeF shown = fitted * m_zoom;
    // Panning moves the view, so the picture moves the other way.
    const QPointF topLeft =
        QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2) - m_pan;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_smooth);
    painter.setClipRect(rect());
    painter.drawPixmap(QRectF(topLeft, shown), frame, QRectF(frame.rect()));
}

}  // namespace sw::ui
