#pragma once
// What the tests of the game's windows share: the windows and their components, Qt's test tools,
// and a main window of its own working in a fresh folder.

#include "effects/FxImage.h"
#include "framework/Bevel.h"
#include "framework/Hints.h"
#include "framework/Image.h"
#include "framework/Panel.h"
#include "framework/SpeedButton.h"
#include "framework/TabSet.h"
#include "game/Unit1.h"
#include "game/Unit2.h"
#include "game/Unit3.h"
#include "game/Unit4.h"
#include "tests/game/GameTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// The score file and the data folder of the window go to the fresh folder.
class TWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScopedCurrentDir workIn{dir.path()};
    TForm1 form;
};
