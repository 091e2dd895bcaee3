#include "windows/WindowModes.h"

#include "windows/BoardPanel.h"
#include "windows/ClientArea.h"
#include "windows/DialogLayout.h"
#include "windows/GameSounds.h"
#include "windows/MainLayout.h"
#include "windows/PeekPanel.h"

#include "framework/MenuStyle.h"
#include "framework/Texts.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QMenu>
#include <QWidget>

TWindowModes::TWindowModes(QWidget* window, QMenu* gameMenu, TClientArea* client, TGameSounds* sounds)
    : QObject(window), window_(window)
{
    Named(gameMenu->addSeparator(), "N2");
    TBoardPanel* board = client->Board();
    animation_ = AddSwitch(gameMenu, "Animation1", QT_TR_NOOP("&Animation"), board->Animated(),
                           [board](bool on) { board->SetAnimated(on); });
    fullScreen_ = MakeItem(gameMenu, "FullScreen1", "TWindowModes", QT_TR_NOOP("&Full Screen"), QKeySequence(Qt::Key_F11));
    fullScreen_->setCheckable(true);
    statusLine_ = AddSwitch(gameMenu, "StatusLine1", QT_TR_NOOP("&Status Line"), client->StatusLineShown(),
                            [client](bool on) { client->SetStatusLineShown(on); });
    keepProportions_ = AddSwitch(gameMenu, "KeepProportions1", QT_TR_NOOP("&Keep Proportions"), board->KeepProportions(),
                                 [board, peek = client->Peek()](bool on) {
                                     board->SetKeepProportions(on);
                                     peek->SetKeepProportions(on);
                                 });
    numbers_ = AddSwitch(gameMenu, "Numbers1", QT_TR_NOOP("&Numbers"), board->Numbers(),
                         [board](bool on) { board->SetNumbers(on); });
    sound_ = AddSwitch(gameMenu, "Sound1", QT_TR_NOOP("&Sound"), sounds->On(), [sounds](bool on) { sounds->SetOn(on); });
    AddLanguageMenu(gameMenu);
    leaveFullScreen_ = Named(new QAction(window), "LeaveFullScreen");
    leaveFullScreen_->setShortcut(QKeySequence(Qt::Key_Escape));
    leaveFullScreen_->setEnabled(false);
    window->addAction(leaveFullScreen_);

    connect(fullScreen_, &QAction::triggered, this, &TWindowModes::SetFullScreen);
    connect(leaveFullScreen_, &QAction::triggered, this, [this] { SetFullScreen(false); });
    window->installEventFilter(this);
}

QAction* TWindowModes::AddSwitch(QMenu* menu, const char* name, const char* caption, bool on,
                                 const std::function<void(bool)>& apply)
{
    QAction* item = MakeItem(menu, name, "TWindowModes", caption);
    item->setCheckable(true);
    item->setChecked(on);
    connect(item, &QAction::toggled, this, [this, apply](bool checked) {
        apply(checked);
        emit Changed();
    });
    return item;
}

void TWindowModes::AddLanguageMenu(QMenu* gameMenu)
{
    QMenu* menu = Named(new QMenu(gameMenu), "Language1");
    SetTranslatedText(menu->menuAction(), "TWindowModes", QT_TR_NOOP("&Language"));
    gameMenu->addMenu(menu);
    UseClassicMenuLook(menu, window_->font());
    auto* group = new QActionGroup(this);
    // Each language's name in its own words, whatever the language in force.
    const std::pair<TLanguage, QAction*> choices[] = {
        {TLanguage::Automatic, MakeItem(menu, "LanguageAutomatic1", "TWindowModes", QT_TR_NOOP("&Automatic"))},
        {TLanguage::Russian, Named(menu->addAction(QStringLiteral("Русский")), "LanguageRussian1")},
        {TLanguage::English, Named(menu->addAction(QStringLiteral("English")), "LanguageEnglish1")}};
    for (const auto& [language, item] : choices) {
        item->setCheckable(true);
        item->setChecked(language == ChosenLanguage());
        group->addAction(item);
        languages_[size_t(language)] = item;
        connect(item, &QAction::triggered, this, [this, language] { SetLanguage(language); });
    }
}

void TWindowModes::SetLanguage(TLanguage language)
{
    languages_[size_t(language)]->setChecked(true);
    if (language == ChosenLanguage())
        return;
    UseLanguage(language);
    emit LanguageChosen(language);
}

void TWindowModes::SetFullScreen(bool on)
{
    // Maximised stays in the state beneath, to come back to.
    window_->setWindowState(on ? window_->windowState() | Qt::WindowFullScreen
                               : window_->windowState() & ~Qt::WindowFullScreen);
}

bool TWindowModes::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == QEvent::WindowStateChange) {
        const bool full = window_->isFullScreen();
        fullScreen_->setChecked(full);
        leaveFullScreen_->setEnabled(full);
        emit Changed();
    }
    return false;
}
