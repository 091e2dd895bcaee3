#include "tests/support/TestSupport.h"

#include <QColor>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTest>

QPalette TestPalette()
{
    QPalette palette;
    const QColor face(0xC0, 0xC0, 0xC0);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, face);
        palette.setColor(group, QPalette::Button, face);
        palette.setColor(group, QPalette::Dark, QColor(0x80, 0x80, 0x80));
        palette.setColor(group, QPalette::Mid, QColor(0xA0, 0xA0, 0xA0));
        palette.setColor(group, QPalette::Light, Qt::white);
        palette.setColor(group, QPalette::Midlight, QColor(0xE0, 0xE0, 0xE0));
        palette.setColor(group, QPalette::Shadow, QColor(0x00, 0x80, 0x80));
        palette.setColor(group, QPalette::Base, Qt::white);
        palette.setColor(group, QPalette::Text, Qt::black);
        palette.setColor(group, QPalette::WindowText, Qt::black);
        palette.setColor(group, QPalette::ButtonText, Qt::black);
        palette.setColor(group, QPalette::Highlight, QColor(0x00, 0x00, 0x80));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
        palette.setColor(group, QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
        palette.setColor(group, QPalette::ToolTipText, Qt::black);
    }
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    return palette;
}

QString TestDataPath(const QString& relative)
{
    return QStringLiteral(MOZIK_TEST_DATA_DIR "/") + relative;
}

TColor PixelAt(const QImage& image, int x, int y)
{
    return FromQColor(image.pixelColor(x, y));
}

ScopedOpenFile::ScopedOpenFile(QStringList answers) : answers_(std::move(answers))
{
    previous_ = SetOpenFileFunction([this](QWidget*, const TOpenDialog& dialog) -> std::optional<QString> {
        ++calls_;
        lastDefaultName_ = dialog.FileName;
        lastFilter_ = dialog.Filter;
        if (answers_.isEmpty())
            return std::nullopt;
        const QString answer = answers_.takeFirst();
        if (answer.isNull())
            return std::nullopt;
        return answer;
    });
}

ScopedOpenFile::~ScopedOpenFile()
{
    SetOpenFileFunction(previous_);
}

ScopedErrorBoxes::ScopedErrorBoxes()
{
    previous_ = SetErrorBoxFunction([this](QWidget*, const QString& message) { messages_ << message; });
}

ScopedErrorBoxes::~ScopedErrorBoxes()
{
    SetErrorBoxFunction(previous_);
}

ScopedCurrentDir::ScopedCurrentDir(const QString& path)
    : previous_(QDir::currentPath()), previousDataHome_(qgetenv("XDG_DATA_HOME")),
      hadDataHome_(qEnvironmentVariableIsSet("XDG_DATA_HOME"))
{
    QDir::setCurrent(path);
    qputenv("XDG_DATA_HOME", QFile::encodeName(QDir(path).absoluteFilePath("data")));
}

ScopedCurrentDir::~ScopedCurrentDir()
{
    QDir::setCurrent(previous_);
    if (hadDataHome_)
        qputenv("XDG_DATA_HOME", previousDataHome_);
    else
        qunsetenv("XDG_DATA_HOME");
}

ModalDriver::ModalDriver()
{
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
}

void ModalDriver::Expect(std::function<void(QWidget*)> handler)
{
    handlers_.push_back(std::move(handler));
}

void ModalDriver::Poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    if (handlers_.empty()) {
        ++unexpected_;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        return;
    }
    auto handler = std::move(handlers_.front());
    handlers_.pop_front();
    ++handled_;
    handler(modal);
    if (modal->isVisible()) {  // a handler that forgot to close must not hang the test
        ++unexpected_;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    }
}

void TypeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}
