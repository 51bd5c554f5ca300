// Builds pages the way the dialog templates lay them out: every rectangle is given in dialog
// units and converted with the dialog font's base units (1.5 x 1.625 px per unit at 96 dpi;
// Qt scales logical pixels by the screen's device pixel ratio).
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>
#include <Qt>

class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPixmap;
class QPushButton;
class QWidget;

namespace sw::ui {

inline constexpr double kPixelsPerUnitX = 1.5;
inline constexpr double kPixelsPerUnitY = 1.625;

// x, y, width, height in dialog units to logical pixels.
QRect DluRect(int x, int y, int width, int height);

// The font the templates ask for ("MS Sans Serif" 8 pt) as this platform offers it: the given
// family at 8 pt or a little smaller, so that its average character is at most 6 px wide.
QFont DialogFont(const QFont& base);
// Sets that font on a window.
void ApplyDialogFont(QWidget* widget);

// Controls of a template, created as children of `page` in template order (later ones lie on
// top). Controls with an id get it as their objectName, so the layout and tests find them.
QGroupBox* AddGroupBox(QWidget* page, const QString& title, QRect dlu);
QLabel* AddLabel(QWidget* page, const QString& text, QRect dlu, Qt::Alignment alignment);
QLineEdit* AddEdit(QWidget* page, int id, QRect dlu);
QComboBox* AddDropDownList(QWidget* page, int id, QRect dlu);
QPushButton* AddButton(QWidget* page, int id, const QString& text, QRect dlu);
// A flat button: its face and a one-pixel frame, in the palette's colours.
QPushButton* AddFlatButton(QWidget* page, int id, const QString& text, QRect dlu);
// Shrinks a control's font in quarter points, down to 6 pt, until `text` fits `room` pixels:
// a few texts are still too wide for their boxes in the dialog font.
void FitFontToWidth(QWidget* control, const QString& text, int room);
// A small dialog's OK (id 1, the default button) and Cancel (id 2) buttons, wired to accept()
// and reject().
void AddOkCancel(QDialog* dialog, const QString& okText, QRect okDlu, const QString& cancelText,
                 QRect cancelDlu);

// A list or text box whose selection stays shown while it does not have the focus.
void KeepSelectionShown(QWidget* widget);

// An edit box's text as the program fills it: shown from its beginning, however long.
void FillEdit(QLineEdit* edit, const QString& text);

// Filling and selecting by the program, which must not look like the user's choice.
void ReplaceItemsSilently(QComboBox* combo, const QStringList& items);
void SelectSilently(QComboBox* combo, int index);

// One of the program's pictures, ":/<name>" in `format` ("PNG", "BMP"). The resource names have
// no suffix, so the format is named; and no image plugin is asked, since Qt would otherwise load
// every plugin there is to learn whether one reads that format (a tenth of the start-up).
QPixmap ResourcePicture(const QString& name, const char* format);

// objectName of a control id.
QString IdName(int id);

}  // namespace sw::ui
