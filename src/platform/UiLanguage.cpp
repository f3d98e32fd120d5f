#include "platform/UiLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <atomic>
#include <optional>

namespace platform {

namespace {

std::atomic<int> gLanguage{-1}; // -1: not chosen yet

} // namespace

UiLanguage systemUiLanguage() {
    const QStringList languages = QLocale::system().uiLanguages();
    const QString first = languages.isEmpty() ? QString() : languages.first();
    return first == QLatin1String("ja") || first.startsWith(QLatin1String("ja-")) ||
                   first.startsWith(QLatin1String("ja_"))
               ? UiLanguage::Japanese
               : UiLanguage::English;
}

UiLanguage uiLanguage() {
    const int chosen = gLanguage.load(std::memory_order_relaxed);
    if (chosen >= 0)
        return UiLanguage(chosen);
    const UiLanguage language = systemUiLanguage();
    gLanguage.store(int(language), std::memory_order_relaxed);
    return language;
}

void setUiLanguage(UiLanguage language) {
    gLanguage.store(int(language), std::memory_order_relaxed);
}

QString translationsFolder() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString beside = programFolder + QStringLiteral("/translations");
    if (QFileInfo(beside).isDir())
        return beside;
    return QDir::cleanPath(programFolder + QStringLiteral("/../share/scrivlet/translations"));
}

UiLanguage installTranslations(QCoreApplication& application) {
    const UiLanguage language = systemUiLanguage();
    setUiLanguage(language);
    const QString code =
        language == UiLanguage::Japanese ? QStringLiteral("ja") : QStringLiteral("en");
    // Qt's own texts (standard buttons, file dialogs); a missing file leaves Qt's English.
    auto* qt = new QTranslator(&application);
    if (qt->load(QStringLiteral("qtbase_") + code,
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    if (language == UiLanguage::English) {
        auto* own = new QTranslator(&application);
        if (own->load(QStringLiteral("scrivlet_en"), translationsFolder()))
            QCoreApplication::installTranslator(own);
        else
            delete own;
    }
    return language;
}

} // namespace platform
