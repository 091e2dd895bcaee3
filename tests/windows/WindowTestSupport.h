#pragma once
// What the tests of the game's windows share: the windows and their components, Qt's test tools,
// and a main window of its own on a clock the test steps, working in a fresh folder.

#include "balloon/Zelhint.h"
#include "effects/FxImage.h"
#include "framework/Hints.h"
#include "framework/Image.h"
#include "framework/SpeedButton.h"
#include "framework/TabSet.h"
#include "label/LblEffct.h"
#include "tests/game/GameTestSupport.h"
#include "tests/support/TestSupport.h"
#include "windows/BoardPanel.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"
#include "windows/Unit4.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// A component of a window, found by its layout name.
template <typename T = QWidget>
T* Part(const QObject& window, const char* name)
{
    T* part = window.findChild<T*>(QLatin1String(name));
    EXPECT_TRUE(part) << name;
    return part;
}

// The texts in Cyrillic that a window shows, its parts' hints included.
inline QStringList RussianTexts(const QWidget& window)
{
    QStringList texts{window.windowTitle()};
    for (const QWidget* part : window.findChildren<QWidget*>()) {
        const auto* fx = qobject_cast<const TFxLabel*>(part);
        const auto* effect = qobject_cast<const TLabelEffect*>(part);
        texts << Hint(part) << part->property("text").toString() << (fx ? fx->Caption() : effect ? effect->Caption() : QString());
    }
    return texts.filter(QRegularExpression("[А-яЁё]"));
}

// Drags the data onto the window and drops it there, if the window takes it; whether it did.
inline bool DropOn(QWidget& window, const QMimeData& data)
{
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&window, &enter);
    if (enter.isAccepted()) {
        QDropEvent dropped(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window, &dropped);
    }
    return enter.isAccepted();
}

// The result and score dialogs that the end of a game opens, while alive, and a driver to answer them.
struct TEndDialogs {
    explicit TEndDialogs(QWidget* owner) : result(owner), scores(owner) { Form2 = &result, Form3 = &scores; }
    ~TEndDialogs() { Form2 = nullptr, Form3 = nullptr; }
    TForm2 result;
    TForm3 scores;
    ModalDriver answers;
};

// The score file and the data folder of the window go to the fresh folder.
class TWindowTest : public ::testing::Test {
protected:
    QAction* Item(const char* name) const { return Part<QAction>(form, name); }
    TBoardPanel* Board() const { return Part<TBoardPanel>(form, "Panel1"); }
    TTile* TileAt(int p) const { return Board()->TileAt(p); }
    void Click(int p) { QTest::mouseClick(TileAt(p), Qt::LeftButton, {}, QPoint(3, 3)); }
    QString Time() const { return Part<TFxLabel>(form, "Label1")->Caption(); }
    void ResizeClient(QSize client)
    {
        form.resize(form.size() + client - form.centralWidget()->size());
        QCoreApplication::processEvents();
    }

    QTemporaryDir dir;
    ScopedCurrentDir workIn{dir.path()};
    TManualClock clock;
    TForm1 form{clock};
};

// The window on the screen and active, where shortcuts act, its start finished.
class TShownWindowTest : public TWindowTest {
protected:
    TShownWindowTest()
    {
        form.FinishStart();
        form.show();
        QApplication::setActiveWindow(&form);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    }
};
