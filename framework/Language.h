#pragma once
// The language the program speaks: Russian, in which its texts are written, or English, from the
// translation built into the program. Chosen by the player, or (automatic) from the locale:
// Russian for a Russian locale, English for every other. Qt's own texts (the file dialog,
// standard buttons, context menus) follow: Qt's Russian translation for Russian, Qt's own English
// otherwise.

#include <QString>
#include <QStringList>

enum class TLanguage { Automatic, Russian, English };

// The language of a list of locale names, most wanted first (as QLocale::uiLanguages gives them
// from LANGUAGE, LC_ALL, LC_MESSAGES and LANG): the first name that is Russian or English decides;
// English when neither comes.
TLanguage LanguageOfLocales(const QStringList& uiLanguages);
// The language of the system's locale.
TLanguage SystemLanguage();

// The texts of the program, Qt's and the default locale in `chosen` (automatic: the system's).
// With an application, every window is told of the change at once (a LanguageChange event).
// Before one exists only TextInLanguage follows; call it again once there is one.
void UseLanguage(TLanguage chosen);
// What the player chose, and the language in force (Russian or English).
TLanguage ChosenLanguage();
TLanguage LanguageInForce();

// A text of the program in the language in force, also before the application exists (the
// command line is answered before); `source` is the Russian text, marked for the translation
// files with QT_TRANSLATE_NOOP(context, ...).
QString TextInLanguage(const char* context, const char* source);

// How the choice is kept in the settings file: "auto", "ru", "en"; anything else is automatic.
QString LanguageKey(TLanguage language);
TLanguage LanguageOfKey(const QString& key);
