#include "UserFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QStandardPaths>

namespace sw::ui {

QString UserDataFolder() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty()) {
        return {};
    }
    const QString folder = base + QStringLiteral("/statewright/");
    return QDir().mkpath(folder) ? folder : QString();
}

std::optional<QFont> OrangeKidFont() {
    static const std::optional<QFont> font = []() -> std::optional<QFont> {
        const QString fileName = QStringLiteral("Orangeki.ttf");
        QStringList candidates;
        const QString dataBase =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        if (!dataBase.isEmpty()) {
            candidates << dataBase + QStringLiteral("/statewright/FONTS/") + fileName;
        }
        const QString fonts = QStandardPaths::writableLocation(QStandardPaths::FontsLocation);
        if (!fonts.isEmpty()) {
            candidates << fonts + QLatin1Char('/') + fileName;
        }
        for (const QString& path : std::as_const(candidates)) {
            if (QFileInfo(path).isFile() && QFontDatabase::addApplicationFont(path) >= 0) {
                return QFont(QStringLiteral("Orange Kid"), 9);
            }
        }
        return std::nullopt;  // the list keeps the dialog font, silently
    }();
    return font;
}

}  // namespace sw::ui
