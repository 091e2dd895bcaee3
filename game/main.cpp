// Start-up: the application, the generator seeded from the clock, then the windows, of which
// only the main window is shown; the program ends when the main window closes.

#include "framework/Font.h"
#include "framework/Random.h"
#include "game/Unit1.h"
#include "game/Unit3.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mozik"));
    RegisterFontSubstitutions();
    Randomize();

    Form1 = new TForm1;  // the first window made becomes the main window
    Form2 = new TForm2(Form1);
    Form1->show();
    const int result = QApplication::exec();
    delete Form1;  // and the dialogs it owns
    Form1 = nullptr;
    Form2 = nullptr;
    return result;
}
