#include "framework/Application.h"

#include "files/ShownText.h"

#include <QApplication>
#include <QPointer>
#include <QStyle>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>
#include <vector>

namespace {

QPointer<QWidget>& MainFormPointer()
{
    static QPointer<QWidget> form;
    return form;
}

struct THeldMessage {
    QtMsgType Type;
    QByteArray Category;
    QString Text;
};

struct TStart {
    std::mutex Mutex;
    std::string Answer;
    QtMessageHandler Previous = nullptr;
    std::vector<THeldMessage> Held;
};

TStart& Start()
{
    static TStart start;
    return start;
}

// Qt's own words under the game's sentence, each line indented and shown as a message shows
// what came from outside (a display name is the environment's, and Qt repeats it).
std::string QtsOwnWords(const QString& message)
{
    std::string words;
    for (const QString& line : message.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        words += "  " + Shown(line.trimmed().toStdString()) + '\n';
    return words;
}

void HoldStartMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const std::lock_guard lock(Start().Mutex);
    if (type == QtFatalMsg) {
        // The game's sentence says what the player can do; Qt's warnings before the fatal message
        // and the message itself say what went wrong.
        std::string answer = Start().Answer + '\n';
        for (const THeldMessage& held : Start().Held)
            if (held.Type == QtWarningMsg || held.Type == QtCriticalMsg)
                answer += QtsOwnWords(held.Text);
        answer += QtsOwnWords(message);
        std::fputs(answer.c_str(), stderr);
        std::fflush(stderr);
        std::_Exit(1);  // threads started before may still wait for the application: nobody waits for them
    }
    Start().Held.push_back({type, context.category ? context.category : "default", message});
}

} // namespace

void SetMainForm(QWidget* form)
{
    MainFormPointer() = form;
}

QWidget* MainForm()
{
    return MainFormPointer().data();
}

QPalette LightPalette()
{
    // Fusion's light colours, written out: under a dark desktop theme Fusion itself hands out
    // dark ones.
    const QColor face(0xEF, 0xEF, 0xEF), grey(0xBE, 0xBE, 0xBE);
    QPalette palette(Qt::black, face, Qt::white, QColor(0x9F, 0x9F, 0x9F), QColor(0xB8, 0xB8, 0xB8), Qt::black,
                     Qt::white, Qt::white, face);
    palette.setColor(QPalette::Midlight, QColor(0xCA, 0xCA, 0xCA));
    palette.setColor(QPalette::Shadow, QColor(0x76, 0x76, 0x76));
    palette.setColor(QPalette::Highlight, QColor(0x30, 0x8C, 0xC6));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, Qt::blue);
    palette.setColor(QPalette::LinkVisited, Qt::magenta);
    palette.setColor(QPalette::AlternateBase, QColor(0xF7, 0xF7, 0xF7));
    palette.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xDC));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    palette.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 0x80));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Dark, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, grey);
    palette.setColor(QPalette::Disabled, QPalette::Base, face);
    palette.setColor(QPalette::Disabled, QPalette::Shadow, QColor(0xB1, 0xB1, 0xB1));
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x91, 0x91, 0x91));
    return palette;
}

void UseLightLook()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(LightPalette());
}

void AnswerFailedStartWith(std::string answer)
{
    Start().Answer = std::move(answer);
    Start().Previous = qInstallMessageHandler(HoldStartMessages);
}

void ApplicationStarted()
{
    qInstallMessageHandler(Start().Previous);
    const std::lock_guard lock(Start().Mutex);
    for (const THeldMessage& held : std::exchange(Start().Held, {}))
        Start().Previous(held.Type, QMessageLogContext(nullptr, 0, nullptr, held.Category.constData()), held.Text);
}
