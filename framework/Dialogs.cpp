#include "framework/Dialogs.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

namespace {

std::optional<QString> RunFileDialog(QWidget* parent, const QString& title, const QString& nameFilters,
                                     const QString& fileName, QFileDialog::AcceptMode mode)
{
    QFileDialog fileDialog(parent, title);
    // Qt's own dialog looks and speaks like the program under every desktop.
    fileDialog.setOption(QFileDialog::DontUseNativeDialog);
    fileDialog.setAcceptMode(mode);
    fileDialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    fileDialog.setNameFilter(nameFilters);
    if (!fileName.isEmpty())
        fileDialog.selectFile(fileName);
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty())
        return std::nullopt;
    return fileDialog.selectedFiles().front();
}

std::optional<QString> DesktopOpenFile(QWidget* parent, const TOpenDialog& dialog)
{
    return RunFileDialog(parent, dialog.Title, dialog.NameFilters(), dialog.FileName, QFileDialog::AcceptOpen);
}

std::optional<QString> DesktopSaveFile(QWidget* parent, const TSaveDialog& dialog)
{
    TOpenDialog filters;
    filters.Filter = dialog.Filter;
    return RunFileDialog(parent, dialog.Title, filters.NameFilters(), dialog.FileName, QFileDialog::AcceptSave);
}

void DesktopErrorBox(QWidget* parent, const QString& message)
{
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), message, QMessageBox::Ok, parent);
    box.exec();
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
