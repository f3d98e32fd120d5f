#pragma once

class QCoreApplication;
class QString;

// The language the program speaks to its user. The Japanese texts are the source texts; every
// other desktop language gets the English translation. Regional behaviour (dates, number formats
// in scripts) does not follow it: that stays Japanese in every language.
namespace platform {

enum class UiLanguage { Japanese, English };

// The language chosen by installTranslations (or set by a test); before either, the one the
// desktop's first UI language gives.
UiLanguage uiLanguage();
void setUiLanguage(UiLanguage language);

// Japanese when the first of the desktop's UI languages (LANGUAGE, LC_ALL, LC_MESSAGES, LANG) is
// Japanese, English for any other.
UiLanguage systemUiLanguage();

// Chooses the language from the desktop and, for English, installs the program's translation
// (Qt's own texts are loaded apart, for the desktop's language). Returns the language.
UiLanguage installProgramTranslation(QCoreApplication& application);

// The folders searched for the program's translations: beside the executable (a build or an
// unpacked copy), then the installation's share/scrivlet/translations.
QString translationsFolder();

} // namespace platform
