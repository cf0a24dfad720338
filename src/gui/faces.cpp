#include "gui/faces.h"

namespace hayate::gui {

QString faceName(Face which) {
    switch (which) {
        case Face::Mincho:
            return QStringLiteral(u"ＭＳ 明朝");
        case Face::Gothic:
            return QStringLiteral(u"ＭＳ ゴシック");
        case Face::PGothic:
            return QStringLiteral(u"ＭＳ Ｐゴシック");
    }
    return {};
}

QFont face(Face which) {
    QFont f;
    f.setFamilies(QStringList{faceName(which)});
    return f;
}

}  // namespace hayate::gui
