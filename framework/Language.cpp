#include "framework/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace {

struct TLanguageState {
    TLanguage Chosen = TLanguage::Automatic;
    TLanguage InForce = TLanguage::Russian;  // the texts as written, until a language is chosen
    bool Loaded = false;                     // the translators below are for the language in force
    bool Installed = false;                  // and are the application's
    std::unique_ptr<QTranslator> Program;    // the English texts, or the Russian plural forms
    std::unique_ptr<QTranslator> QtTexts;    // Qt's Russian texts
};

TLanguageState& State()
{
    static TLanguageState state;
    return state;
}

// The translation files are built into the program, under this resource folder.
std::unique_ptr<QTranslator> ProgramTranslator(TLanguage language)
{
    auto translator = std::make_unique<QTranslator>();
    const QString name = language == TLanguage::English ? QStringLiteral("mozik_en") : QStringLiteral("mozik_ru");
    if (!translator->load(name, QStringLiteral(":/translations")))
        return nullptr;
    return translator;
}

std::unique_ptr<QTranslator> QtTranslator(TLanguage language)
{
    if (language != TLanguage::Russian)
        return nullptr;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    return translator;
}

void Uninstall(TLanguageState& state)
{
    if (!state.Installed)
        return;
    for (const auto& translator : {state.Program.get(), state.QtTexts.get()})
        if (translator)
            QCoreApplication::removeTranslator(translator);
    state.Installed = false;
}

} // namespace

TLanguage LanguageOfLocales(const QStringList& uiLanguages)
{
    for (const QString& name : uiLanguages) {
        const QLocale::Language language = QLocale(name).language();
        if (name.startsWith(QLatin1String("ru"), Qt::CaseInsensitive) && language == QLocale::Russian)
            return TLanguage::Russian;
        if (name.startsWith(QLatin1String("en"), Qt::CaseInsensitive) && language == QLocale::English)
            return TLanguage::English;
    }
    return TLanguage::English;
}

TLanguage SystemLanguage()
{
    return LanguageOfLocales(QLocale::system().uiLanguages());
}

void UseLanguage(TLanguage chosen)
{
    TLanguageState& state = State();
    const TLanguage language = chosen == TLanguage::Automatic ? SystemLanguage() : chosen;
    state.Chosen = chosen;
    const bool application = QCoreApplication::instance() != nullptr;
    if (language == state.InForce && state.Loaded && (state.Installed || !application))
        return;
    Uninstall(state);
    state.InForce = language;
    state.Program = ProgramTranslator(language);
    state.QtTexts = QtTranslator(language);
    state.Loaded = true;
    QLocale::setDefault(language == TLanguage::Russian ? QLocale(QLocale::Russian, QLocale::Russia)
                                                       : QLocale(QLocale::English, QLocale::UnitedStates));
    if (!application)
        return;
    // Each installation tells every window to put its texts in the new language.
    for (const auto& translator : {state.Program.get(), state.QtTexts.get()})
        if (translator)
            QCoreApplication::installTranslator(translator);
    state.Installed = true;
}

TLanguage ChosenLanguage()
{
    return State().Chosen;
}

TLanguage LanguageInForce()
{
    return State().InForce;
}

QString TextInLanguage(const char* context, const char* source)
{
    if (QCoreApplication::instance())
        return QCoreApplication::translate(context, source);
    const QTranslator* translator = State().Program.get();
    const QString translated = translator ? translator->translate(context, source) : QString();
    return translated.isEmpty() ? QString::fromUtf8(source) : translated;
}

QString LanguageKey(TLanguage language)
{
    switch (language) {
    case TLanguage::Russian: return QStringLiteral("ru");
    case TLanguage::English: return QStringLiteral("en");
    case TLanguage::Automatic: break;
    }
    return QStringLiteral("auto");
}

TLanguage LanguageOfKey(const QString& key)
{
    if (key == QLatin1String("ru"))
        return TLanguage::Russian;
    if (key == QLatin1String("en"))
        return TLanguage::English;
    return TLanguage::Automatic;
}
