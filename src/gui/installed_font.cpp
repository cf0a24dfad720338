#include "gui/installed_font.h"

#include <QFontInfo>
#include <QHash>

namespace hayate::gui {

QFont installedFont(const QStringList& families, int pixelSize) {
    static QHash<QStringList, QString> found;
    auto it = found.constFind(families);
    if (it == found.constEnd()) {
        QFont requested;
        requested.setFamilies(families);
        requested.setPixelSize(pixelSize);
        it = found.insert(families, QFontInfo(requested).family());
    }
    QFont font(*it);
    font.setPixelSize(pixelSize);
    return font;
}

QFont installedFont(const QString& family, int pixelSize) {
    return installedFont(QStringList{family}, pixelSize);
}

}  // namespace hayate::gui
