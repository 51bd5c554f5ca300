#include "FocusTracker.h"

#include <QEvent>
#include <QWidget>

namespace sw::ui {

FocusTracker::FocusTracker(QWidget* widget, bool* hasFocus)
    : QObject(widget), m_hasFocus(hasFocus) {
    widget->installEventFilter(this);
}

bool FocusTracker::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        *m_hasFocus = true;
    } else if (event->type() == QEvent::FocusOut) {
        *m_hasFocus = false;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace sw::ui
