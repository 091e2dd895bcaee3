#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QTest>

ScopedOpenFile::ScopedOpenFile(QStringList answers) : answers_(std::move(answers))
{
    previous_ = SetOpenFileFunction([this](QWidget*, const TOpenDialog& dialog) -> std::optional<QString> {
        lastDefaultName_ = dialog.FileName;
        const QString answer = answers_.isEmpty() ? QString() : answers_.takeFirst();
        return answer.isNull() ? std::nullopt : std::optional(answer);
    });
}

ScopedErrorBoxes::ScopedErrorBoxes()
{
    previous_ = SetErrorBoxFunction([this](QWidget* owner, const QString& message) {
        messages_ << message;
        owners_ << owner;
    });
}

ScopedQuestions::ScopedQuestions(QList<TAnswer> answers) : answers_(std::move(answers))
{
    previous_ = SetQuestionBoxFunction([this](QWidget*, const TQuestion& question) {
        asked_ << question;
        return answers_.isEmpty() ? TAnswer() : answers_.takeFirst();
    });
}

ModalDriver::ModalDriver()
{
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
}

ModalDriver::~ModalDriver()
{
    EXPECT_TRUE(handlers_.empty()) << handlers_.size() << " modal windows expected never opened";
    EXPECT_EQ(unexpected_, 0) << "modal windows opened unexpected";
}

void ModalDriver::Poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    if (!handlers_.empty()) {
        auto handler = std::move(handlers_.front());
        handlers_.pop_front();
        handler(modal);
    }
    if (modal->isVisible()) {  // unexpected, or its handler forgot to close it: it must not hang the test
        ++unexpected_;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
}

void ExecAnswered(QDialog& dialog, const std::function<void()>& answer)
{
    ModalDriver driver;
    driver.Expect([&](QWidget* modal) {
        EXPECT_EQ(modal, &dialog);
        answer();
    });
    dialog.exec();
}

void ResetHints(THintWindowClass windowClass, bool clockRunning)
{
    CancelHint();
    SetHintClockRunning(clockRunning);
    SetHintWindowClass(windowClass);
    SetShowHints(false);
    SetShowHints(true);
    SetHintPause(kDefaultHintPause);
}

void TypeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}
