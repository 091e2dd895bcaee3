// Start-up: the command line first, then the application, the generator seeded from the clock,
// then the windows, of which only the main window is shown; the program ends when the main window
// closes, which a signal to end (SIGTERM, SIGINT, SIGHUP) does too. A picture named on the command
// line, or else the game kept from the last run on its picture, or else the picture remembered, is
// read while the windows are made, and waited for a little, so that the window's first frame
// shows it; one that takes longer comes when it is read. A picture named on the command line wins
// over a kept game, which stays kept for a later start: the player asked for that picture.

#include "art/BuiltinPicture.h"
#include "art/Icon.h"
#include "framework/Application.h"
#include "framework/Font.h"
#include "framework/Language.h"
#include "framework/QuitSignals.h"
#include "framework/Random.h"
#include "framework/StartupProbe.h"
#include "game/CommandLine.h"
#include "game/PictureReading.h"
#include "windows/BoardPanel.h"
#include "windows/ClientArea.h"
#include "windows/GameKeeping.h"
#include "windows/StateReport.h"
#include "windows/WindowSettings.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"
#include "windows/Unit4.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace {

// How long after its start the program may hold its window back for the picture it was given.
constexpr std::chrono::milliseconds kStartPictureWait{500};

// The application's names, look, language and fonts, and the generator seeded from the clock.
void DressApplication()
{
    QApplication::setApplicationName(QStringLiteral("Mozik"));
    QApplication::setDesktopFileName(QStringLiteral(MOZIK_APP_ID));
    // The windows set black text on the face colour: the light look keeps them readable under
    // any desktop theme.
    UseLightLook();
    UseLanguage(TLanguage::Automatic);  // now for the application; the settings may choose another
    RegisterFontSubstitutions();
    ProgramRandom().Randomize();
    // For the end-to-end tests: slides this slow, to be photographed on their way.
    if (const QString slide = qEnvironmentVariable("MOZIK_TEST_SLIDE_MS"); !slide.isEmpty())
        SetSlideDuration(slide.toInt());
}

void MakeDialogs()
{
    QApplication::setWindowIcon(ProgramIcon());  // every window and dialog carries it
    About = new TAbout(Form1);
    Form2 = new TForm2(Form1);
    Form3 = new TForm3(Form1);
}

} // namespace

int main(int argc, char** argv)
{
    const auto launched = std::chrono::steady_clock::now();
    // Read before anything starts: a command line that ends the program leaves nothing running;
    // it is answered in the environment's language.
    UseLanguage(TLanguage::Automatic);
    const TCommandLine command = ParseCommandLine(argc, argv);
    if (command.Action != TCommandLine::TAction::Play)
        return AnswerCommandLine(command, stdout, stderr);

    StartBuiltinPicture();  // while the application and the windows are made
    // Qt is handed the program's name alone: the arguments are the game's, and were read above.
    static char programName[] = "mozik";
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 && argv[0] ? argv[0] : programName, nullptr};
    AnswerFailedStartWith(NoWindowAnswer(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"), std::getenv("QT_QPA_PLATFORM")));
    QApplication application(qtArgc, qtArgv);
    ApplicationStarted();
    // Dressed before any work starts on another thread: the language must be in force before
    // a picture's reading can put a refusal into words.
    DressApplication();
    // For the end-to-end tests: picture reads wait at this named pipe, so that a test can change
    // the file between the check of its length and its reading, or hold the reading up.
    if (const QString gate = qEnvironmentVariable("MOZIK_TEST_PICTURE_GATE"); !gate.isEmpty())
        GatePictureReadsAt(gate);
    std::unique_ptr<TPictureReading> picture;
    if (command.Picture)
        picture = std::make_unique<TPictureReading>(QByteArray::fromStdString(*command.Picture), LargestBoardSide());
    BuiltinPictureMayPaint();

    Form1 = new TForm1;  // the first window made becomes the main window
    if (picture)
        Form1->Session().OpenPicture(std::move(picture));
    else if (!Form1->findChild<TGameKeeping*>()->Resume())  // the game left, or the picture
        Form1->findChild<TWindowSettings*>()->OpenRememberedPicture();
    // Shown with the busy cursor and the built-in picture when it takes longer; one that cannot be
    // used is told once the window is there.
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - launched);
    Form1->Session().WaitForPicture(std::max(kStartPictureWait - waited, std::chrono::milliseconds(0)));
    // The dialogs follow once the main window is on the screen: nobody can open one before.
    QObject::connect(Form1, &TForm1::Started, Form1, MakeDialogs);
    if (command.StateFile)
        ReportGameTo(*Form1, QByteArray::fromStdString(*command.StateFile));
    if (command.StartupProbe)
        ReportFirstPaintAndQuit(Form1);
    // Ended as by its close, the game kept; the loops of dialogs open then end too.
    const TQuitSignals quitSignals;
    QObject::connect(&quitSignals, &TQuitSignals::Received, Form1, [] {
        Form1->close();
        QApplication::exit(0);
    });
    Form1->show();
    const int result = QApplication::exec();
    delete Form1;  // and the dialogs it owns
    Form1 = nullptr;
    About = nullptr;
    Form2 = nullptr;
    Form3 = nullptr;
    return result;
}
