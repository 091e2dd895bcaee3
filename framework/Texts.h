#pragma once
// The program's own texts on its controls, kept as their Russian source (or English, for the
// menus' captions), so that they can be put in another language while the windows are open:
// every window calls RetranslateTexts on itself when the language changes (Qt's LanguageChange
// event). A source is marked for the translation files where it is written, with
// QT_TRANSLATE_NOOP(context, "...").

class QObject;
class QWidget;

// Sets the text, in the language in force, of a menu item (QAction), a menu (its title), a label,
// a button or a window (its caption), and keeps its source.
void SetTranslatedText(QObject* target, const char* context, const char* source);
// Sets a control's hint (framework/Hints.h) the same way, and its name for screen readers.
void SetTranslatedHint(QWidget* control, const char* context, const char* source);
void SetTranslatedName(QWidget* control, const char* context, const char* source);
// Puts every kept text of `root` and of everything it owns in the language in force.
void RetranslateTexts(QObject* root);
