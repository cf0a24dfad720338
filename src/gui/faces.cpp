#include "gui/faces.h"

#include <QFontDatabase>
#include <QHash>

#include "platform/font_config.h"

namespace hayate::gui {

namespace {

// Asked of fontconfig by name, which knows every name of a face (its
// localized one too) whatever its foundry, as Qt's matching does; once per
// name, as the font database does not change under a running window.
// Elsewhere Qt's own database answers.
bool installed(const QString& family) {
    static QHash<QString, bool> known;
    const QString key = family.toCaseFolded();
    if (const auto it = known.constFind(key); it != known.cend()) return *it;
    const std::optional<bool> listed = fontFamilyInstalled(family.toStdString());
    const bool result = listed ? *listed : QFontDatabase::hasFamily(family);
    known.insert(key, result);
    return result;
}

}  // namespace

QStringList installedFaces(const QStringList& requested) {
    if (requested.isEmpty()) return requested;
    // What Qt tries, in its order: the requested faces, then their substitutes.
    QStringList order = requested;
    for (const QString& family : requested) order += QFont::substitutes(family);
    if (installed(order.front())) return requested;
    for (qsizetype i = 1; i < order.size(); ++i) {
        if (installed(order[i])) return QStringList{order[i]} + order.mid(1);
    }
    return requested;
}

QFont face(const QString& requested) {
    QFont f;
    f.setFamilies(installedFaces({requested}));
    f.setHintingPreference(windowHinting);
    return f;
}

}  // namespace hayate::gui
