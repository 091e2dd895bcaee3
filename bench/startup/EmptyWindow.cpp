// The yardstick of the game's start-up: an empty main window of the game's client size (the
// 5 x 5 board under its menu), with the same Qt set-up as the game, that reports its first
// paint and ends.

#include "framework/Application.h"
#include "framework/Font.h"
#include "framework/Language.h"
#include "framework/StartupProbe.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mozik"));
    UseLightLook();
    UseLanguage(TLanguage::Automatic);
    RegisterFontSubstitutions();
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"));
    auto* client = new QWidget(&window);
    client->setFixedSize(276, 316);
    window.setCentralWidget(client);
    ReportFirstPaintAndQuit(&window);
    window.show();
    return QApplication::exec();
}
