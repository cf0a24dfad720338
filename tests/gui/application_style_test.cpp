// The application's style must look exactly like the style it stands in for.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QImage>
#include <QRadioButton>
#include <QStyleFactory>
#include <QVBoxLayout>
#include <memory>

#include "gui/application_style.h"

namespace {

QImage render(QStyle* style, const QString& title, bool checkable) {
    QGroupBox box(title);
    box.setStyle(style);
    box.setCheckable(checkable);
    auto* radio = new QRadioButton(QStringLiteral(u"３０秒"), &box);
    radio->setStyle(style);
    (new QVBoxLayout(&box))->addWidget(radio);
    box.resize(160, 70);
    return box.grab().toImage();
}

TEST(ApplicationStyle, GroupBoxFramesMatchFusionPixelForPixel) {
    std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
    hayate::gui::ApplicationStyle ours(QStyleFactory::create(QStringLiteral("fusion")));
    struct Case {
        QString title;
        bool checkable;
    } const cases[] = {{QString(), false},
                       {QStringLiteral(u"入力カーソル色"), false},
                       {QStringLiteral(u"入力カーソル色"), true}};
    for (const Case& c : cases) {
        const QImage want = render(fusion.get(), c.title, c.checkable);
        const QImage got = render(&ours, c.title, c.checkable);
        ASSERT_FALSE(want.isNull());
        EXPECT_EQ(got, want) << c.title.toStdString() << " checkable " << c.checkable;
    }
}

TEST(ApplicationStyle, MenuOverflowIconIsTheStylesOwnOnceDrawn) {
    std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
    hayate::gui::ApplicationStyle ours(QStyleFactory::create(QStringLiteral("fusion")));
    for (auto icon : {QStyle::SP_ToolBarHorizontalExtensionButton,
                      QStyle::SP_ToolBarVerticalExtensionButton}) {
        const QIcon got = ours.standardIcon(icon);
        EXPECT_FALSE(got.isNull());
        const QImage want = fusion->standardIcon(icon).pixmap(16, 16).toImage();
        ASSERT_FALSE(want.isNull());
        EXPECT_EQ(got.pixmap(16, 16).toImage(), want);
        EXPECT_EQ(got.actualSize(QSize(64, 64)), fusion->standardIcon(icon).actualSize(QSize(64, 64)));
    }
}

}  // namespace
