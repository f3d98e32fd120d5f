#include "app/AppInfo.h"

#include "platform/MessageBox.h"

#include <QList>

#include <gtest/gtest.h>

TEST(AppInfo, VersionTexts) {
    EXPECT_EQ(app::ProductName(), QStringLiteral("Scrivlet"));
    EXPECT_EQ(app::VersionText(false), QStringLiteral("Ver.1.73"));
    EXPECT_EQ(app::VersionText(true), QStringLiteral("Ver.1.73.0253"));
    EXPECT_EQ(app::AppTitleWithVersion(), QStringLiteral("Scrivlet Ver.1.73"));
}

TEST(AppInfo, VersionBox) {
    QList<platform::MessageBoxRequest> shown;
    auto previous = platform::setMessageBoxHandler([&](const platform::MessageBoxRequest& r) {
        shown << r;
        return int(platform::mb::OK);
    });
    app::ShowVersionBox();
    platform::setMessageBoxHandler(previous);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].title, QStringLiteral("Scrivlet のバージョン情報"));
    EXPECT_EQ(shown[0].style, int(platform::mb::OKOnly) | platform::mb::Information);
    EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral("Scrivlet Ver.1.73.0253\n")));
    EXPECT_EQ(shown[0].text.section(QLatin1Char('\n'), 1), app::LegalCopyright());
}
