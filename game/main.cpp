// Start-up: the application, the generator seeded from the clock, then the windows, of which
// only the main window is shown; the program ends when the main window closes.

#include "framework/Application.h"
#include "framework/Font.h"
#include "framework/Random.h"
#include "framework/StartupProbe.h"
#include "game/BuiltinPicture.h"
#include "game/Icon.h"
#include "game/StateReport.h"
#include "game/Unit1.h"
#include "game/Unit2.h"
#include "game/Unit3.h"
#include "game/Unit4.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char** argv)
{
    StartBuiltinPicture();  // while the application and the windows are made
    QApplication application(argc, argv);
    BuiltinPictureMayPaint();
    QApplication::setApplicationName(QStringLiteral("Mozik"));
    QApplication::setDesktopFileName(QStringLiteral(MOZIK_APP_ID));
    // The windows set black text on the face colour: the light look keeps them readable under
    // any desktop theme.
    UseLightLook();
    UseRussianQtTexts();
    RegisterFontSubstitutions();

    QCommandLineParser parser;
    parser.addHelpOption();
    // For tests that drive the real program from outside: what the window shows of the game.
    const QCommandLineOption stateFile(QStringLiteral("state-file"),
                                       QStringLiteral("Writes the state of the game to FILE after every change (for tests)."),
                                       QStringLiteral("FILE"));
    parser.addOption(stateFile);
    // For the start-up benchmark: report the first paint and end.
    const QCommandLineOption startupProbe(QStringLiteral("startup-probe"),
                                          QStringLiteral("Reports when the window is first painted, then ends (for benchmarks)."));
    parser.addOption(startupProbe);
    parser.addPositionalArgument(QStringLiteral("picture"), QStringLiteral("A picture to play with instead of the built-in one."),
                                 QStringLiteral("[picture]"));
    parser.process(application);

    ProgramRandom().Randomize();
    // For the end-to-end tests: picture reads wait at this named pipe, so that a test can change
    // the file between the check of its length and its reading.
    if (const QString gate = qEnvironmentVariable("MOZIK_TEST_PICTURE_GATE"); !gate.isEmpty())
        GatePictureReadsAt(gate);

    Form1 = new TForm1;  // the first window made becomes the main window
    if (const QString picture = parser.positionalArguments().value(0); !picture.isEmpty())
        Form1->OpenPictureAtStart(picture);
    // The dialogs follow once the main window is on the screen: nobody can open one before.
    QObject::connect(Form1, &TForm1::Started, Form1, [] {
        QApplication::setWindowIcon(ProgramIcon());  // every window and dialog carries it
        About = new TAbout(Form1);
        Form2 = new TForm2(Form1);
        Form3 = new TForm3(Form1);
    });
    if (parser.isSet(stateFile))
        ReportGameTo(*Form1, parser.value(stateFile));
    if (parser.isSet(startupProbe))
        ReportFirstPaintAndQuit(Form1);
    Form1->show();
    const int result = QApplication::exec();
    delete Form1;  // and the dialogs it owns
    Form1 = nullptr;
    About = nullptr;
    Form2 = nullptr;
    Form3 = nullptr;
    return result;
}
