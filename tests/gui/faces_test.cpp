// The classic faces asked for by an installed name: the same face and the
// same glyphs, fallbacks included, as when Qt resolves the missing name.
#include "gui/faces.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include "gui/cell_font.h"
#include "gui/main_window.h"

namespace hayate::gui {
namespace {

QImage drawn(const QStringList& families, const QString& text) {
    QFont f;
    f.setFamilies(families);
    f.setPixelSize(16);
    QImage image(16 * static_cast<int>(text.size()) + 8, 24, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(f);
    p.drawText(2, 18, text);
    return image;
}

TEST(Faces, TheInstalledNameDrawsWhatTheClassicNameDrew) {
    installFontSubstitutes();
    // Kana, kanji, ASCII, the cells' confusable pairs, and symbols the IPA
    // faces lack (∑ came from another face when the fallbacks were lost).
    const QString sample = QString::fromUtf16(
        u"あア字問題Ag1lIＩｌ｜１Ｏ０ー－‘’｀∑∮⊿≒①㈱♪ｶﾅ");
    const QStringList cases[] = {
        {QStringLiteral(u"ＭＳ 明朝")},
        {QStringLiteral(u"ＭＳ ゴシック")},
        {QStringLiteral(u"ＭＳ Ｐゴシック")},
        cellFontFamilies(),
        // The face Qt settles on is known by its localized name only.
        {QStringLiteral("No Such Face At All"), QStringLiteral(u"IPAゴシック"),
         QStringLiteral("Noto Sans Mono CJK JP")},
        {QStringLiteral("IPAGothic")},            // installed as asked
        {QStringLiteral("No Such Face At All")},  // nothing to stand in
    };
    for (const QStringList& requested : cases) {
        SCOPED_TRACE(requested.join(u',').toStdString());
        const QStringList asked = installedFaces(requested);
        QStringList order = requested;
        for (const QString& family : requested) order += QFont::substitutes(family);
        if (QFontDatabase::hasFamily(requested.front()) || asked == requested) {
            EXPECT_EQ(asked, requested);
        } else {
            EXPECT_NE(asked.front(), requested.front());
            EXPECT_EQ(asked.mid(1), order.mid(1));
        }
        QFont before, after;
        before.setFamilies(requested);
        after.setFamilies(asked);
        EXPECT_EQ(QFontInfo(before).family(), QFontInfo(after).family());
        EXPECT_TRUE(drawn(requested, sample) == drawn(asked, sample)) << "drawn differently";
    }
    // Where a substitute is installed, the classic names are asked for by it.
    if (QFontDatabase::hasFamily(QStringLiteral("IPAexMincho"))) {
        EXPECT_NE(installedFaces({QStringLiteral(u"ＭＳ 明朝")}).front(), QStringLiteral(u"ＭＳ 明朝"));
    }
}

}  // namespace
}  // namespace hayate::gui
