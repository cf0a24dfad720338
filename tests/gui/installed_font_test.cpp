// Asking by the installed face draws with the face the requested names give.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>

#include "gui/cell_font.h"
#include "gui/installed_font.h"

namespace {

TEST(InstalledFont, NamesTheFaceTheRequestedFamiliesResolveTo) {
    const QStringList requests[] = {{QStringLiteral(u"ＭＳ 明朝")},
                                    {QStringLiteral(u"ＭＳ ゴシック")},
                                    hayate::gui::cellFontFamilies()};
    const QStringList installed = QFontDatabase::families();
    for (const QStringList& families : requests) {
        for (int pixels : {11, 16, 33}) {
            QFont requested;
            requested.setFamilies(families);
            requested.setPixelSize(pixels);
            const QFont font = hayate::gui::installedFont(families, pixels);
            ASSERT_EQ(font.families().size(), 1);
            EXPECT_TRUE(installed.contains(font.families().front())) << font.families().front().toStdString();
            EXPECT_EQ(QFontInfo(font).family(), QFontInfo(requested).family())
                << families.front().toStdString() << " " << pixels;
            EXPECT_EQ(font.pixelSize(), pixels);
        }
    }
}

}  // namespace
