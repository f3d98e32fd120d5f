#include "app/Translations.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTranslator>
#include <gtest/gtest.h>

#include <memory>

namespace {

// The captions of the menu a right click on a text box opens.
QStringList contextMenuCaptions() {
    QLineEdit line;
    line.setText(QStringLiteral("東京"));
    const std::unique_ptr<QMenu> menu(line.createStandardContextMenu());
    QStringList captions;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator())
            captions << action->text().section(QLatin1Char('\t'), 0, 0); // without "\tCtrl+Z"
    }
    return captions;
}

TEST(QtTranslations, TextBoxMenusSpeakTheUsersLanguage) {
    const struct {
        const char* locale;
        const char* undo; // first caption of the menu
    } rows[] = {
        {"ja_JP", "元に戻す(&U)"},
        {"ko_KR", "실행 취소(&U)"},
        {"de_DE", "&Rückgängig"},
        {"en_US", "&Undo"},
    };
    for (const auto& row : rows) {
        QTranslator* translator = app::installQtTranslations(
            *QApplication::instance(), QLocale(QString::fromUtf8(row.locale)));
        const QStringList captions = contextMenuCaptions();
        ASSERT_FALSE(captions.isEmpty()) << row.locale;
        EXPECT_EQ(captions.first(), QString::fromUtf8(row.undo)) << row.locale;
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
    // A language Qt has no translation for keeps its English.
    EXPECT_EQ(app::installQtTranslations(*QApplication::instance(), QLocale(QLocale::Swahili)),
              nullptr);
    EXPECT_EQ(contextMenuCaptions().first(), QStringLiteral("&Undo"));
}

} // namespace
