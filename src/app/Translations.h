#pragma once

#include <QLocale>

class QCoreApplication;
class QTranslator;

namespace app {

// Loads Qt's own translations (the context menus of the text boxes, the standard dialogs) for the
// user's language, so that a Japanese window does not offer "Undo" and "Paste". Returns the
// installed translator (owned by the application), or null: a language Qt has none for keeps
// Qt's English.
QTranslator* installQtTranslations(QCoreApplication& application,
                                   const QLocale& locale = QLocale::system());

} // namespace app
