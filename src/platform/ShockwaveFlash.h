// Stands in for the Shockwave Flash control with the same calls, playing our animated GIF
// movies with QMovie: "ShowAll" fits the movie into the control, quality "high" scales
// smoothly and "low" fast, Zoom(50) shows half the movie at twice the size, Pan moves the view.
#pragma once

#include <QPointF>
#include <QWidget>
#include <memory>

class QMovie;

namespace sw::ui {

class ShockwaveFlash : public QWidget {
    Q_OBJECT
public:
    explicit ShockwaveFlash(QWidget* parent);
    ~ShockwaveFlash() override;

    void Stop();
    // Plays the movie file from its start; a path that does not exist empties the control.
    void LoadMovie(int layer, const QString& path);
    void SetQuality2(const QString& quality);
    // Relative zoom in percent: 50 zooms in to twice the size; 0 shows the whole movie again.
    void Zoom(int factor);
    // Moves the view by x, y pixels (mode 0) or percent of the control (mode 1).
    void Pan(int x, int y, int mode);

    QString MoviePath() const { return m_moviePath; }
    bool IsPlaying() const;
    bool SmoothQuality() const { return m_smooth; }
    double ZoomScale() const { return m_zoom; }
    QPointF PanOffset() const { return m_pan; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<QMovie> m_movie;
    QString m_moviePath;
    bool m_smooth = true;  // the control starts at quality "High"
    double m_zoom = 1.0;
    QPointF m_pan;
};

}  // namespace sw::ui
