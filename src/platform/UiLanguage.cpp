#include "platform/UiLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTranslator>

#include <atomic>

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

UiLanguage installProgramTranslation(QCoreApplication& application) {
    const UiLanguage language = systemUiLanguage();
    setUiLanguage(language);
    if (language == UiLanguage::English) {
        // The translator lives as long as the application: Qt asks it whenever a text is shown.
        auto* translator = new QTranslator(&application);
        if (translator->load(QStringLiteral("scrivlet_en"), translationsFolder()))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
    return language;
}

} // namespace platform
