#include "script/widgets/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

TEST(QtClipboard, WorksOnTheApplicationClipboard) {
    script::QtClipboard clipboard;
    clipboard.setText(QStringLiteral("計算 1+1"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("計算 1+1"));
    EXPECT_TRUE(clipboard.hasText());
    EXPECT_EQ(clipboard.text(), QStringLiteral("計算 1+1"));
    clipboard.clear();
    EXPECT_FALSE(clipboard.hasText());
    EXPECT_EQ(clipboard.text(), QString());
}
