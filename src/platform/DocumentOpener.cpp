#include "DocumentOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace sw::ui {

bool DesktopDocumentOpener::Open(const QString& path) {
    // The desktop's handler runs in its own process; the program does not wait for it.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace sw::ui
