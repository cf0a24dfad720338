#include "gui/faces.h"

#include <QFontDatabase>
#include <QHash>
#include <QSet>

namespace hayate::gui {

namespace {

// The installed families by name, read once: hasFamily() would list them
// all and ask fontconfig for an alias at every call.
bool installed(const QString& family) {
    static const QSet<QString> names = [] {
        QSet<QString> set;
        for (const QString& name : QFontDatabase::families()) set.insert(name.toCaseFolded());
        return set;
    }();
    return names.contains(family.toCaseFolded());
}

}  // namespace

QStringList installedFaces(const QStringList& requested) {
    if (requested.isEmpty()) return requested;
    // Asked once per list: the font database does not change under a running window.
    static QHash<QString, QStringList> known;
    const QString key = requested.join(QChar(u'\n'));
    if (const auto it = known.constFind(key); it != known.cend()) return *it;

    // What Qt tries, in its order: the requested faces, then their substitutes.
    QStringList order = requested;
    for (const QString& family : requested) order += QFont::substitutes(family);
    QStringList result = requested;
    if (!installed(order.front())) {
        for (qsizetype i = 1; i < order.size(); ++i) {
            if (installed(order[i])) {
                result = QStringList{order[i]} + order.mid(1);
                break;
            }
        }
    }
    known.insert(key, result);
    return result;
}

QFont face(const QString& requested) {
    QFont f;
    f.setFamilies(installedFaces({requested}));
    return f;
}

}  // namespace hayate::gui
