#include "gui/faces.h"

namespace hayate::gui {

QFont face(const QString& requested) {
    QFont f;
    f.setFamilies(QStringList{requested});
    return f;
}

}  // namespace hayate::gui
