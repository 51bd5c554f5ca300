// Keeps a flag true while a widget has the keyboard focus (the character lists' flags, which
// the main window reads on tab changes).
#pragma once

#include <QObject>

namespace sw::ui {

class FocusTracker : public QObject {
public:
    FocusTracker(QWidget* widget, bool* hasFocus);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool* m_hasFocus;
};

}  // namespace sw::ui
