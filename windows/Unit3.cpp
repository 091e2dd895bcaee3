#include "windows/Unit3.h"

#include "framework/HintWindow.h"
#include "framework/Hints.h"
#include "framework/Texts.h"
#include "game/ShownName.h"
#include "windows/DialogLayout.h"
#include "label/LblEffct.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <algorithm>

TForm2* Form2 = nullptr;

namespace {

// Keeps the name box to what the score file can hold, typed or pasted: no line breaks or other
// control characters, only characters of code page 1251. A letter outside it becomes its nearest
// neighbour inside as it is typed, so that the box shows what will be kept; one that has none is
// refused, and a balloon at the box says why.
class NameValidator : public QValidator {
public:
    explicit NameValidator(QLineEdit* edit) : QValidator(edit), edit_(edit) {}
    State validate(QString& input, int& position) const override
    {
        const TStorableName storable = MakeStorable(input);
        if (storable.Name != input) {
            position = std::clamp(position - int(input.size() - storable.Name.size()), 0, int(storable.Name.size()));
            input = storable.Name;
        }
        if (!storable.Refused.isEmpty())
            ShowHintAt(edit_->mapToGlobal(QPoint(edit_->width() / 2, edit_->height())),
                       TForm2::tr("«%1» не сохранить в таблице результатов: такой буквы в ней нет.").arg(ShownName(storable.Refused)));
        return Acceptable;
    }

private:
    QLineEdit* edit_;
};

// The time of the game, in red in a box of its own.
const TFont kTimeFont = MakeFont(QStringLiteral("MS Sans Serif"), 16, clRed, true);
constexpr int kTimeWidth = 41;

// The word after the time, in the number's form where the language has one.
QString SecondsText(int seconds)
{
    return TForm2::tr("секунд(ы) .", nullptr, seconds);
}

} // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent)
{
    SetUpDialog(this, "Form2", QT_TR_NOOP("Message"), 426, 129);
    auto boldFont = [](int pixels, TColor colour) { return MakeFont(QStringLiteral("MS Sans Serif"), pixels, colour, true); };

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(176, 64, 233, 24);
    Edit1->setMaxLength(35);
    Edit1->setFont(boldFont(13, clBlack).ToQFont());
    Edit1->setValidator(new NameValidator(Edit1));
    SetTranslatedHint(Edit1, "TForm2", QT_TR_NOOP("Наберите фамилию, имя и т. д."));
    SetShowHint(Edit1, true);

    // The caption: silver letters with a white highlight above-left and a red shadow below-right,
    // set in the order a layout loads them.
    LabelEffect1 = new TLabelEffect(this);
    LabelEffect1->setObjectName(QStringLiteral("LabelEffect1"));
    LabelEffect1->setGeometry(120, 0, 198, 33);
    LabelEffect1->SetColourShadow(clRed);
    LabelEffect1->SetGraduateFrom(clWindowText);
    LabelEffect1->SetColourScheme(csCustom);
    LabelEffect1->SetAlignment(taCenter);
    LabelEffect1->SetCaption(tr("Поздравляю !!!"));
    LabelEffect1->SetFont(MakeFont(QStringLiteral("Times New Roman"), 27, clSilver));

    Label1 = MakeLabel(this, "Label1", QRect(48, 32, 210, 20), QT_TR_NOOP("Вы собрали картинку за "),
                       boldFont(16, clBlack));
    Label2 = MakeLabel(this, "Label2", QRect(256, 32, kTimeWidth, 20), QStringLiteral("000"), kTimeFont,
                       Qt::AlignHCenter | Qt::AlignTop);
    Label3 = MakeLabel(this, "Label3", QRect(296, 32, 93, 20), SecondsText(0), boldFont(16, clBlack));

    Button1 = MakeOkButton(this, QRect(176, 96, 75, 25));  // the default button: Enter in the name box presses it
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);

    Label4 = MakeLabel(this, "Label4", QRect(16, 64, 145, 16), QT_TR_NOOP("Введите выше имя :"),
                       boldFont(13, clBlack), Qt::AlignHCenter | Qt::AlignTop);

    // Below the name label, where an ordinary game shows nothing.
    const QRect underName(8, 86, 160, 40);
    Label5 = MakeLabel(this, "Label5", underName, QT_TR_NOOP("С подсказками результат не входит в десятку лучших."),
                       MakeFont(QStringLiteral("MS Sans Serif"), 11, clBlack), Qt::AlignHCenter | Qt::AlignTop);
    Label5->setWordWrap(true);
    Label5->setGeometry(underName);  // wrapped, it keeps to its place
    Label5->hide();

    setTabOrder(Edit1, Button1);
}

void TForm2::Present(const TScoreTable& scores, int boardSize, int seconds, bool hinted)
{
    scores_ = scores;
    hinted_ = hinted;
    boardSize_ = boardSize;
    seconds_ = seconds;
    // A time too long for its box is condensed to fit, so that all of its digits show.
    const QString time = QString::number(seconds);
    Label2->setFont(FittingFont(kTimeFont, time, kTimeWidth).ToQFont());
    Label2->setText(time);
    Label3->setText(SecondsText(seconds));
}

void TForm2::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    RetranslateTexts(this);
    LabelEffect1->SetCaption(tr("Поздравляю !!!"));
    Label3->setText(SecondsText(seconds_));
}

bool TForm2::Qualifies() const
{
    return !hinted_ && TScoreTable::HasSize(boardSize_) && scores_.Qualifies(boardSize_, seconds_);
}

void TForm2::FormShow()
{
    const bool qualifies = Qualifies();
    Label4->setEnabled(qualifies);
    Edit1->setEnabled(qualifies);
    Label5->setVisible(hinted_);
}

void TForm2::showEvent(QShowEvent* event)
{
    FormShow();
    CentreOnMainWindow(this);  // wherever the main window is now
    QDialog::showEvent(event);
    // The focus returns to the control that had it when the dialog last closed, if it can
    // take it; otherwise it goes to the first control that can.
    QWidget* focus = lastFocus_ && lastFocus_->isEnabled() ? lastFocus_.data() : nullptr;
    if (!focus)
        focus = Edit1->isEnabled() ? static_cast<QWidget*>(Edit1) : Button1;
    focus->setFocus(Qt::OtherFocusReason);
}

void TForm2::hideEvent(QHideEvent* event)
{
    lastFocus_ = focusWidget();
    QDialog::hideEvent(event);
}

void TForm2::Button1Click()
{
    // The button closes the dialog whatever the name; an empty name records nothing.
    const QString name = Edit1->text();
    if (!name.isEmpty() && Qualifies())
        emit NameEntered(name);
    accept();
}
