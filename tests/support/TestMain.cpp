// Every suite that draws starts here: an application on the offscreen platform with a fixed
// palette and font names, so that pixels and sizes do not depend on the desktop, in folders of the
// run's own. Suites of widgets and windows (MOZIK_TEST_WIDGETS) get a widget application in a
// fixed style, where a question no test answers fails the test instead of waiting.

#include "framework/Font.h"
#include "framework/Language.h"
#include "tests/support/CoreSupport.h"
#include "tests/support/ScratchFolders.h"

#include <QPalette>
#include <gtest/gtest.h>
#ifdef MOZIK_TEST_WIDGETS
#include "framework/Dialogs.h"

#include <QApplication>
using TTestApplication = QApplication;
#else
#include <QGuiApplication>
using TTestApplication = QGuiApplication;
#endif

namespace {

// The classic desktop colours: a silver button face with grey and white 3-D edges, a navy selection, black text.
QPalette TestPalette()
{
    const QColor face(0xC0, 0xC0, 0xC0), white(Qt::white), black(Qt::black);
    const std::pair<QPalette::ColorRole, QColor> colours[] = {
        {QPalette::Window, face}, {QPalette::Button, face}, {QPalette::Dark, QColor(0x80, 0x80, 0x80)},
        {QPalette::Mid, QColor(0xA0, 0xA0, 0xA0)}, {QPalette::Light, white}, {QPalette::Midlight, QColor(0xE0, 0xE0, 0xE0)},
        {QPalette::Shadow, QColor(0x00, 0x80, 0x80)}, {QPalette::Base, white}, {QPalette::Text, black},
        {QPalette::WindowText, black}, {QPalette::ButtonText, black}, {QPalette::Highlight, QColor(0x00, 0x00, 0x80)},
        {QPalette::HighlightedText, white}, {QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1)}, {QPalette::ToolTipText, black}};
    QPalette palette;
    for (const auto& [role, colour] : colours)
        palette.setColor(role, colour);  // every group
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    return palette;
}

} // namespace

int main(int argc, char** argv)
{
    const TScratchUserFolders folders;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The tests read the texts in Russian, in which they are written, whatever the machine's
    // locale; the English ones switch the language themselves.
    qputenv("LANGUAGE", "ru");
#ifdef MOZIK_TEST_WIDGETS
    QApplication::setStyle(QStringLiteral("Fusion"));
#endif
    TTestApplication app(argc, argv);
    TTestApplication::setPalette(TestPalette());
    RegisterFontSubstitutions();
    UseLanguage(TLanguage::Automatic);
#ifdef MOZIK_TEST_WIDGETS
    // A question box would wait for an answer: a test that expects one answers it (ScopedQuestions).
    SetQuestionBoxFunction([](QWidget*, const TQuestion& question) {
        ADD_FAILURE() << "a question nobody answers: " << question.Text.toStdString();
        return TAnswer{true, false};
    });
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
