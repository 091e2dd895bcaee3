#include "framework/Dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <algorithm>

namespace {

// A message box centred on the window it belongs to each time it shows, once it has its size.
class TMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        CentreOver(this, parentWidget() ? parentWidget()->window() : nullptr);
    }
};

std::optional<QString> RunFileDialog(QWidget* parent, const QString& title, const QString& nameFilters,
                                     const QString& initialDir, const QString& fileName, QFileDialog::AcceptMode mode)
{
    QFileDialog fileDialog(parent, title);
    // Qt's own dialog looks and speaks like the program under every desktop.
    fileDialog.setOption(QFileDialog::DontUseNativeDialog);
    fileDialog.setAcceptMode(mode);
    fileDialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    fileDialog.setNameFilter(nameFilters);
    if (!initialDir.isEmpty())
        fileDialog.setDirectory(initialDir);
    if (!fileName.isEmpty())
        fileDialog.selectFile(fileName);
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty())
        return std::nullopt;
    return fileDialog.selectedFiles().front();
}

std::optional<QString> DesktopOpenFile(QWidget* parent, const TOpenDialog& dialog)
{
    return RunFileDialog(parent, dialog.Title, dialog.NameFilters(), dialog.InitialDir, dialog.FileName, QFileDialog::AcceptOpen);
}

std::optional<QString> DesktopSaveFile(QWidget* parent, const TSaveDialog& dialog)
{
    TOpenDialog filters;
    filters.Filter = dialog.Filter;
    return RunFileDialog(parent, dialog.Title, filters.NameFilters(), QString(), dialog.FileName, QFileDialog::AcceptSave);
}

void DesktopErrorBox(QWidget* parent, const QString& message)
{
    TMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), message, QMessageBox::Ok, parent);
    box.exec();
}

TAnswer DesktopQuestionBox(QWidget* parent, const TQuestion& question)
{
    TMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), question.Text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setInformativeText(question.Details);
    if (!question.DontAskAgain.isEmpty())
        box.setCheckBox(new QCheckBox(question.DontAskAgain, &box));
    box.setDefaultButton(question.YesByDefault ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    const bool yes = box.exec() == QMessageBox::Yes;
    return {yes, box.checkBox() && box.checkBox()->isChecked()};
}

// Waits for a modal window to hide, then tries the deferred call again.
class TAfterModal : public QObject {
public:
    TAfterModal(QWidget* modal, QObject* context, std::function<void()> show)
        : QObject(modal), context_(context), show_(std::move(show))
    {
        modal->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && watched == parent()) {
            watched->removeEventFilter(this);
            if (context_)
                QTimer::singleShot(0, context_, [context = context_.data(), show = std::move(show_)] {
                    WhenNoDialogIsOpen(context, show);
                });
            deleteLater();
        }
        return false;
    }

private:
    QPointer<QObject> context_;
    std::function<void()> show_;
};

OpenFileFunction& OpenFile()
{
    static OpenFileFunction function = DesktopOpenFile;
    return function;
}

SaveFileFunction& SaveFile()
{
    static SaveFileFunction function = DesktopSaveFile;
    return function;
}

ErrorBoxFunction& ErrorBox()
{
    static ErrorBoxFunction function = DesktopErrorBox;
    return function;
}

QuestionBoxFunction& QuestionBox()
{
    static QuestionBoxFunction function = DesktopQuestionBox;
    return function;
}

// Along one axis: the start that puts the middle of `length` at the middle of the span over,
// moved into the area where it fits there.
int CentredStart(int overStart, int overLength, int length, int areaStart, int areaLength)
{
    const int start = overStart + overLength / 2 - length / 2;
    return length > areaLength ? start : std::clamp(start, areaStart, areaStart + areaLength - length);
}

} // namespace

bool TOpenDialog::Execute(QWidget* parent)
{
    const std::optional<QString> chosen = OpenFile()(parent, *this);
    if (!chosen)
        return false;
    FileName = *chosen;
    return true;
}

bool TSaveDialog::Execute(QWidget* parent)
{
    const std::optional<QString> chosen = SaveFile()(parent, *this);
    if (!chosen)
        return false;
    FileName = *chosen;
    return true;
}

QString TOpenDialog::NameFilters() const
{
    const QStringList parts = Filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        // A description that already ends with its pattern in brackets is the dialog's own form.
        if (description.endsWith(QLatin1Char(')')) && description.contains(pattern.trimmed()))
            filters << description;
        else
            filters << QStringLiteral("%1 (%2)").arg(description, pattern);
    }
    return filters.join(QStringLiteral(";;"));
}

OpenFileFunction SetOpenFileFunction(OpenFileFunction function)
{
    OpenFileFunction previous = std::move(OpenFile());
    OpenFile() = function ? std::move(function) : OpenFileFunction(DesktopOpenFile);
    return previous;
}

SaveFileFunction SetSaveFileFunction(SaveFileFunction function)
{
    SaveFileFunction previous = std::move(SaveFile());
    SaveFile() = function ? std::move(function) : SaveFileFunction(DesktopSaveFile);
    return previous;
}

void WhenNoDialogIsOpen(QObject* context, std::function<void()> show)
{
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible())
        new TAfterModal(modal, context, std::move(show));
    else
        show();
}

void ShowErrorBox(QWidget* parent, const QString& message)
{
    // Raised while a dialog is open, the box belongs to that dialog, so that the desktop keeps it
    // above the dialog it blocks.
    QWidget* modal = QApplication::activeModalWidget();
    ErrorBox()(modal && modal->isVisible() ? modal : parent, message);
}

ErrorBoxFunction SetErrorBoxFunction(ErrorBoxFunction function)
{
    ErrorBoxFunction previous = std::move(ErrorBox());
    ErrorBox() = function ? std::move(function) : ErrorBoxFunction(DesktopErrorBox);
    return previous;
}

TAnswer AskQuestion(QWidget* parent, const TQuestion& question)
{
    return QuestionBox()(parent, question);
}

QuestionBoxFunction SetQuestionBoxFunction(QuestionBoxFunction function)
{
    QuestionBoxFunction previous = std::move(QuestionBox());
    QuestionBox() = function ? std::move(function) : QuestionBoxFunction(DesktopQuestionBox);
    return previous;
}

QPoint CentredOver(const QRect& over, const QSize& frame, const QRect& area)
{
    return {CentredStart(over.left(), over.width(), frame.width(), area.left(), area.width()),
            CentredStart(over.top(), over.height(), frame.height(), area.top(), area.height())};
}

void CentreOver(QWidget* window, const QWidget* over)
{
    const QScreen* screen = over ? over->screen() : window->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame = window->frameGeometry();
    // Before the desktop has framed it, its frame is taken to be as wide as the window's it goes over.
    if (over && frame.topLeft() == window->geometry().topLeft()) {
        const QRect overFrame = over->frameGeometry(), overClient = over->geometry();
        frame = window->geometry().adjusted(overFrame.left() - overClient.left(), overFrame.top() - overClient.top(),
                                            overFrame.right() - overClient.right(), overFrame.bottom() - overClient.bottom());
    }
    const QPoint place = CentredOver(over ? over->frameGeometry() : QRect(area.center(), QSize(0, 0)), frame.size(), area);
    // The window itself goes where its frame leaves it, whether the desktop has framed it yet or not.
    window->setGeometry(QRect(place + (window->geometry().topLeft() - frame.topLeft()), window->size()));
}
