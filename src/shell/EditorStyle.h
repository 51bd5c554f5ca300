// The editor's style: the platform's own, with one picture made only when it is first drawn.
#pragma once

#include <QProxyStyle>

namespace sw::ui {

class EditorStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    // The menu bar's overflow button is made with every window, but it shows only when the
    // menus do not fit. Its picture is a file whose format Qt learns by loading every image
    // plugin there is, a twentieth of the start-up; so the icon asks the base style for it on
    // first use.
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override;
};

// Makes the editor's style the application's, over the one Qt chose for this desktop (or the
// one given by -style or QT_STYLE_OVERRIDE).
void UseEditorStyle();

}  // namespace sw::ui
