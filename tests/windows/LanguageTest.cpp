#include "framework/Language.h"
#include "game/Settings.h"
#include "solver/Messages.h"
#include "tests/windows/WindowTestSupport.h"

#include <QFontMetrics>
#include <QTranslator>

namespace {

// Each kind of locale variable is told end to end through mozik --help (tests/e2e/language.sh), and
// the command line's answers in both languages there and in tests/e2e/cmdline.sh; here the edges
// of the lists the locale variables give.
TEST(LanguageChoice, TheFirstRussianOrEnglishLocaleDecidesAndEveryOtherSpeaksEnglish)
{
    const std::pair<QStringList, TLanguage> cases[] = {
        {{}, TLanguage::English},
        {{"ru-UA", "uk-UA"}, TLanguage::Russian},
        {{"rup"}, TLanguage::English}};  // Aromanian is no Russian
    for (const auto& [locales, language] : cases)
        EXPECT_EQ(LanguageOfLocales(locales), language) << locales.join(',').toStdString();
    EXPECT_EQ(LanguageOfKey("fr"), TLanguage::Automatic);  // a settings file's unknown language
}

// mozik-solve keeps its texts in a table of its own, without Qt: its English is the translation
// files' English of its Russian texts.
TEST(LanguageChoice, TheSolversTextsAreTheTranslationFilesAndItChoosesTheLanguageAsTheGameDoes)
{
    QTranslator english;
    ASSERT_TRUE(english.load(":/translations/mozik_en.qm"));
    for (const TSolverTextPair& text : SolverTexts())
        EXPECT_EQ(english.translate("MozikSolve", text.Russian), QString::fromUtf8(text.English)) << text.Russian;
    const std::tuple<const char*, const char*, const char*, const char*, bool> environments[] = {
        {"", "", "", "ru_RU.UTF-8", true},          {"", "", "", "en_US.UTF-8", false},
        {nullptr, nullptr, nullptr, "de_DE.UTF-8", false}, {"", "", "", "C.UTF-8", false},
        {"de:ru", "", "", "de_DE.UTF-8", true},     {"en", "", "", "ru_RU.UTF-8", false},
        {"", "ru_RU.UTF-8", "en_US.UTF-8", "en_US.UTF-8", true}, {"", "", "ru_UA.UTF-8", "en_US.UTF-8", true},
        {"", "C", "ru_RU.UTF-8", "", false},        {nullptr, nullptr, nullptr, nullptr, false}};
    for (const auto& [language, all, messages, lang, russian] : environments)
        EXPECT_EQ(EnvironmentSpeaksRussian(language, all, messages, lang), russian) << (lang ? lang : "-");
}

// The main window and the three dialogs, all shown, in a fresh folder.
class LanguageTest : public TWindowTest {
protected:
    LanguageTest()
    {
        TFXGraphic::SetRevealTime(0);  // the effects drawn at once: a grab shows them whole
        form.FinishStart();
        result.Present(TScoreTable(), 4, 1);
        scores.Present(TScoreTable(), 5);
        for (QWidget* window : Windows())
            window->show();
        QApplication::processEvents();
    }
    ~LanguageTest() override
    {
        UseLanguage(TLanguage::Automatic);
        TFXGraphic::SetRevealTime(500);
    }

    QList<QWidget*> Windows() { return {&form, &result, &scores, &about}; }
    QList<QImage> Grabs()
    {
        QApplication::processEvents();
        QList<QImage> grabs;
        for (QWidget* window : Windows())
            grabs << window->grab().toImage();
        return grabs;
    }
    // The windows are told of the new language by events posted to them.
    void Choose(const char* item)
    {
        Item(item)->trigger();
        QApplication::processEvents();
    }

    TForm2 result{&form};
    TForm3 scores{&form};
    TAbout about{&form};
};

TEST_F(LanguageTest, TheMenuPutsEveryOpenWindowAndEveryNewOneInEnglishThatFitsTheLayoutAndBackPixelForPixelAndIsKept)
{
    const QList<QImage> russian = Grabs();
    for (QWidget* window : Windows())
        ASSERT_FALSE(RussianTexts(*window).isEmpty()) << window->objectName().toStdString();
    EXPECT_TRUE(Item("LanguageAutomatic1")->isChecked());
    Choose("LanguageEnglish1");
    EXPECT_EQ(LanguageInForce(), TLanguage::English);
    EXPECT_TRUE(Item("LanguageEnglish1")->isChecked() && !Item("LanguageAutomatic1")->isChecked());
    EXPECT_EQ(TSettings(TSettings::DefaultPath()).Language(), QString("en"));

    // Each text, drawn in its font, against the width the layout gives its label.
    const auto width = [](const TFont& font, const QString& text) { return QFontMetrics(font.ToQFont()).horizontalAdvance(text); };
    const auto label = [](const QLabel* label) { return QFontMetrics(label->font()).horizontalAdvance(label->text()); };
    const auto* clockLabel = Part<TFxLabel>(form, "Label1");
    const std::tuple<const char*, int, int> texts[] = {
        {"main window clock", width(MakeFont("Arial", 21, clBtnFace, true), clockLabel->Caption()), clockLabel->width() - 2},
        {"result caption", width(result.LabelEffect1->Font(), result.LabelEffect1->Caption()), 198},
        {"result Label1", label(result.Label1), 256 - 48},  // up to the time
        {"result Label3", label(result.Label3), 93},
        {"result Label3, plural", QFontMetrics(result.Label3->font()).horizontalAdvance("seconds."), 93},
        {"result Label4", label(result.Label4), 145},
        {"scores title", width(scores.FxLabel21->Font(), scores.FxLabel21->Caption()), 377},
        {"scores empty row", width(scores.FxLabel(1)->Font(), scores.FxLabel(1)->Caption()), 265 - 4},
        {"about Label1", label(about.Label1), 175},
        {"about Label2", label(about.Label2), 94},
        {"about Label3", label(about.Label3), 80},
        {"about Label4", label(about.Label4), 232 - 160},  // up to the author's name
        {"Ok", QFontMetrics(result.Button1->font()).horizontalAdvance(result.Button1->text()), 75 - 8}};
    for (const auto& [what, drawn, room] : texts)
        EXPECT_LE(drawn, room) << what;
    // The labels keep the layout's places: none was widened over its neighbour.
    EXPECT_EQ((QList<QRect>{result.Label1->geometry(), result.Label3->geometry(), result.Label4->geometry(), about.Label3->geometry()}),
              (QList<QRect>{QRect(48, 32, 210, 20), QRect(296, 32, 93, 20), QRect(16, 64, 145, 16), QRect(192, 64, 80, 16)}));
    // Every text of every window has its English (the translation check holds which), none left Russian.
    for (QWidget* window : Windows())
        EXPECT_EQ(RussianTexts(*window), QStringList()) << window->objectName().toStdString();
    // A window made after the choice speaks it, as the next start does; a game goes on in it.
    TForm1 next(clock);
    EXPECT_TRUE(Part<QAction>(next, "LanguageEnglish1")->isChecked());
    next.Start();
    next.SpeedButton4Click();
    EXPECT_EQ(std::pair(RussianTexts(next) + RussianTexts(TAbout(&next)), next.Session().StatusText()), std::pair(QStringList(), QString("Moves: 0  ·  Paused")));

    Choose("LanguageRussian1");
    EXPECT_EQ(Grabs(), russian);
    EXPECT_EQ(TSettings(TSettings::DefaultPath()).Language(), QString("ru"));
    Choose("LanguageAutomatic1");  // the tests' locale is Russian
    EXPECT_EQ(std::pair(LanguageInForce(), TSettings(TSettings::DefaultPath()).Language()), std::pair(TLanguage::Russian, QString("auto")));
}

TEST_F(LanguageTest, ANameBoxLetterTheFileCannotHoldBecomesItsNeighbourOrIsRefusedWithABalloon)
{
    ResetHints(NewHintWindow<TNewHint>, false);
    result.Present(TScoreTable(), 4, 33);
    result.FormShow();
    TypeText(result.Edit1, QString::fromUtf8("Zoë Straße"));
    EXPECT_EQ(result.Edit1->text(), QString("Zoe Strasse"));
    EXPECT_FALSE(HintWindow()->isVisible());
    TypeText(result.Edit1, QString::fromUtf8("中"));
    EXPECT_EQ(result.Edit1->text(), QString("Zoe Strasse"));
    EXPECT_TRUE(HintWindow()->isVisible());
    EXPECT_EQ(HintWindow()->Caption(), QString::fromUtf8("«中» не сохранить в таблице результатов: такой буквы в ней нет."));
    EXPECT_EQ(HintWindow()->Pointer(), result.Edit1->mapToGlobal(QPoint(result.Edit1->width() / 2, result.Edit1->height())));
    TypeText(result.Edit1, "!");  // the next key takes the balloon away
    EXPECT_FALSE(HintWindow()->isVisible());
    result.Edit1->insert(QString::fromUtf8("Ли\r\n🙂"));  // pasted
    EXPECT_EQ(std::pair(result.Edit1->text(), HintWindow()->Caption()),
              std::pair(QString("Zoe Strasse!Ли  "), QString::fromUtf8("«🙂» не сохранить в таблице результатов: такой буквы в ней нет.")));
    ResetHints(nullptr, true);
}

} // namespace
