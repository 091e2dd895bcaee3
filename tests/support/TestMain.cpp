// Every suite that draws starts here: an application on the offscreen platform with a fixed
// palette and font names, so that pixels and sizes do not depend on the desktop, in folders of the
// run's own. Suites of widgets and windows (MOZIK_TEST_WIDGETS) get a widget application in a
// fixed style.

#include "framework/Font.h"
#include "framework/Language.h"
#include "tests/support/CoreSupport.h"
#include "tests/support/ScratchFolders.h"

#include <gtest/gtest.h>
#ifdef MOZIK_TEST_WIDGETS
#include <QApplication>
using TTestApplication = QApplication;
#else
#include <QGuiApplication>
using TTestApplication = QGuiApplication;
#endif

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
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
