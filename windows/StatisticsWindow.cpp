#include "windows/StatisticsWindow.h"

#include "files/UserFile.h"
#include "framework/Dialogs.h"
#include "game/ScoreFile.h"
#include "game/ShownName.h"
#include "game/Statistics.h"
#include "windows/TimeChart.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <utility>

namespace {

constexpr int kLookMs = 1000;  // how often a shown window looks for games ended elsewhere
constexpr int kFigureColumns = 3;

const char* const kCaptions[] = {
    QT_TRANSLATE_NOOP("TStatisticsWindow", "Собрано игр:"),
    QT_TRANSLATE_NOOP("TStatisticsWindow", "Лучшее время:"),
    QT_TRANSLATE_NOOP("TStatisticsWindow", "Меньше всего ходов:"),
    QT_TRANSLATE_NOOP("TStatisticsWindow", "Среднее время:"),
    QT_TRANSLATE_NOOP("TStatisticsWindow", "Медиана времени:"),
    QT_TRANSLATE_NOOP("TStatisticsWindow", "Среднее из 5:"),
    QT_TRANSLATE_NOOP("TStatisticsWindow", "Среднее из 12:"),
    QT_TRANSLATE_NOOP("TStatisticsWindow", "Ходов в секунду:"),
    QT_TRANSLATE_NOOP("TStatisticsWindow", "Ходов на кратчайший:"),
};
static_assert(std::size(kCaptions) == TStatisticsWindow::FigureCount);

// The figures' names in the report.
const char* const kReportKeys[] = {"games", "best", "bestmoves", "mean", "median", "ao5", "ao12", "mps", "overshortest"};

QString Number(std::optional<double> value, int decimals)
{
    return value ? QLocale().toString(*value, 'f', decimals) : QStringLiteral("—");
}

QString Seconds(std::optional<double> value, int decimals)
{
    return value ? TStatisticsWindow::tr("%1 с").arg(Number(value, decimals)) : Number(value, decimals);
}

std::optional<double> Real(std::optional<int> value)
{
    return value ? std::optional<double>(*value) : std::nullopt;
}

const char* OutcomeWord(TGameOutcome outcome)
{
    switch (outcome) {
    case TGameOutcome::Finished: return "finished";
    case TGameOutcome::Computer: return "computer";
    case TGameOutcome::Abandoned: return "abandoned";
    }
    return "";
}

} // namespace

TStatisticsWindow::TStatisticsWindow(THistory& history, TClock& clock, QWidget* parent)
    : QWidget(parent, Qt::Window), history_(history)
{
    setObjectName(QStringLiteral("Statistics"));
    resize(780, 640);
    auto* layout = new QVBoxLayout(this);
    Tabs = new QTabWidget(this);
    Tabs->setObjectName(QStringLiteral("Tabs"));
    for (int size = kFirstSize; size <= kLastSize; ++size)
        Tabs->addTab(MakePage(size), QStringLiteral("%1  x  %1").arg(size));
    layout->addWidget(Tabs, 1);
    ProblemLabel = new QLabel(this);
    ProblemLabel->setObjectName(QStringLiteral("ProblemLabel"));
    ProblemLabel->setWordWrap(true);
    ProblemLabel->hide();
    layout->addWidget(ProblemLabel);
    auto* buttons = new QHBoxLayout;
    ExportButton = new QPushButton(this);
    ExportButton->setObjectName(QStringLiteral("ExportButton"));
    CloseButton = new QPushButton(this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    buttons->addStretch(1);
    buttons->addWidget(ExportButton);
    buttons->addWidget(CloseButton);
    layout->addLayout(buttons);
    connect(ExportButton, &QPushButton::clicked, this, &TStatisticsWindow::ExportCsv);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    connect(Tabs, &QTabWidget::currentChanged, this, &TStatisticsWindow::Changed);
    connect(&history_, &THistory::Written, this, [this] {
        if (isVisible())
            Refresh();
    });
    look_ = clock.NewTimer(kLookMs, true, [this] { LookForChange(); });
    Retranslate();
}

TStatisticsWindow::~TStatisticsWindow() = default;

QWidget* TStatisticsWindow::MakePage(int size)
{
    TPage& page = pages_[std::size_t(size - kFirstSize)];
    auto* widget = new QWidget(Tabs);
    auto* layout = new QVBoxLayout(widget);
    auto* figures = new QGridLayout;
    for (int i = 0; i < FigureCount; ++i) {
        page.Captions[std::size_t(i)] = new QLabel(widget);
        page.Values[std::size_t(i)] = new QLabel(widget);
        page.Values[std::size_t(i)]->setObjectName(QStringLiteral("Figure%1.%2").arg(size).arg(QLatin1String(kReportKeys[i])));
        page.Values[std::size_t(i)]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        figures->addWidget(page.Captions[std::size_t(i)], i / kFigureColumns, 2 * (i % kFigureColumns));
        figures->addWidget(page.Values[std::size_t(i)], i / kFigureColumns, 2 * (i % kFigureColumns) + 1);
    }
    for (QLabel* label : {page.Captions[MovesOverShortest], page.Values[MovesOverShortest]})
        label->setVisible(size == 4);  // the shortest way is known on 4 x 4 only
    layout->addLayout(figures);
    page.Chart = new TTimeChart(widget);
    page.Chart->setObjectName(QStringLiteral("Chart%1").arg(size));
    layout->addWidget(page.Chart, 2);
    page.Filter = new TSizeFilter(size, widget);
    page.Filter->setSourceModel(&model_);
    page.View = new QTableView(widget);
    page.View->setObjectName(QStringLiteral("Table%1").arg(size));
    page.View->setModel(page.Filter);
    page.View->setSortingEnabled(true);
    page.View->sortByColumn(THistoryTableModel::Ended, Qt::DescendingOrder);  // the last games first
    page.View->verticalHeader()->hide();
    page.View->setSelectionBehavior(QAbstractItemView::SelectRows);
    page.View->setEditTriggers(QAbstractItemView::NoEditTriggers);
    page.View->setWordWrap(false);
    page.View->verticalHeader()->setDefaultSectionSize(page.View->fontMetrics().height() + 6);
    page.View->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(page.View, 3);
    return widget;
}

void TStatisticsWindow::Retranslate()
{
    setWindowTitle(tr("Статистика"));
    ExportButton->setText(tr("Export CSV ..."));
    CloseButton->setText(tr("Закрыть"));
    model_.Retranslate();
    for (int size = kFirstSize; size <= kLastSize; ++size) {
        const TPage& page = Page(size);
        for (int i = 0; i < FigureCount; ++i)
            page.Captions[std::size_t(i)]->setText(tr(kCaptions[i]));
        ShowFigures(size);
        SizeColumns(page.View);
    }
}

// Columns as wide as their headers or their widest texts; the name takes the rest.
void TStatisticsWindow::SizeColumns(QTableView* view) const
{
    const QFontMetrics metrics = fontMetrics();
    for (int column = 0; column < THistoryTableModel::ColumnCount; ++column) {
        QString widest = model_.headerData(column, Qt::Horizontal).toString();
        if (column == THistoryTableModel::Ended)
            widest = QStringLiteral("00.00.0000 00:00");
        else if (column == THistoryTableModel::Outcome)
            widest = THistoryTableModel::OutcomeText(TGameOutcome::Finished, 1);
        else if (column == THistoryTableModel::Picture)
            widest = QStringLiteral("picture-name.png");
        view->horizontalHeader()->resizeSection(column, metrics.horizontalAdvance(widest) + 3 * metrics.averageCharWidth());
    }
}

void TStatisticsWindow::ShowFigures(int size)
{
    const TSizeStatistics figures = SizeStatistics(model_.Rows(), size);
    const QString texts[] = {QString::number(figures.Games), Seconds(Real(figures.BestTime), 0),
                             Number(Real(figures.BestMoves), 0), Seconds(figures.MeanTime, 1),
                             Seconds(figures.MedianTime, 1), Seconds(figures.AverageOf5, 2),
                             Seconds(figures.AverageOf12, 2), Number(figures.MovesPerSecond, 2),
                             Number(figures.MovesOverShortest, 2)};
    for (int i = 0; i < FigureCount; ++i)
        Page(size).Values[std::size_t(i)]->setText(texts[i]);
}

void TStatisticsWindow::Refresh()
{
    THistoryLoad load = history_.Load();
    version_ = history_.Version();
    model_.SetRows(std::move(load.Rows));
    ProblemLabel->setText(load.Problem);
    ProblemLabel->setVisible(!load.Problem.isEmpty());
    for (int size = kFirstSize; size <= kLastSize; ++size) {
        ShowFigures(size);
        Page(size).Chart->SetPoints(TimeChart(model_.Rows(), size));
    }
    emit Changed();
}

void TStatisticsWindow::LookForChange()
{
    if (history_.Version() != version_)
        Refresh();
}

void TStatisticsWindow::ShowSize(int size)
{
    if (size >= kFirstSize && size <= kLastSize)
        Tabs->setCurrentIndex(size - kFirstSize);
    // The first time over the main window, as the game's dialogs open; afterwards where the player left it.
    if (!std::exchange(placed_, true))
        CentreOver(this, parentWidget() ? parentWidget()->window() : nullptr);
    show();
    raise();
    activateWindow();
    Refresh();
}

int TStatisticsWindow::CurrentSize() const
{
    return kFirstSize + Tabs->currentIndex();
}

QString TStatisticsWindow::Figure(int size, TFigure figure) const
{
    return Page(size).Values[std::size_t(figure)]->text();
}

void TStatisticsWindow::ExportCsv()
{
    TSaveDialog dialog;
    dialog.Title = tr("Сохранить журнал игр");
    dialog.Filter = tr("Таблица CSV") + QStringLiteral("|*.csv");
    dialog.FileName = QDir::homePath() + QStringLiteral("/mozik-history.csv");
    if (!dialog.Execute(this))
        return;
    Refresh();  // as the history is now
    // By the rules of the player's files: never through another user's link, never over
    // anything but a file of the player's own.
    const TFileStatus written = ReplaceUserFile(QFile::encodeName(dialog.FileName).toStdString(), HistoryCsv(model_.Rows()).toStdString());
    if (!written.Ok()) {
        const QString name = ShownName(dialog.FileName), advice = FileAdviceText(written, name);
        ShowErrorBox(this, tr("Не удалось записать файл «%1»: %2.").arg(name, FileProblemText(written))
                               + (advice.isEmpty() ? QString() : '\n' + advice));
    }
}

QByteArray TStatisticsWindow::Report() const
{
    const int size = CurrentSize();
    QByteArray report = "stats.shown=" + QByteArray::number(isVisible()) + "\nstats.size=" + QByteArray::number(size) + '\n';
    for (int i = 0; i < FigureCount; ++i)
        report += "stats." + QByteArray(kReportKeys[i]) + '=' + Figure(size, TFigure(i)).toUtf8() + '\n';
    const TSizeFilter* filter = Table(size);
    report += "stats.rows=" + QByteArray::number(filter->rowCount()) + '\n';
    for (int line = 0; line < filter->rowCount(); ++line) {
        const THistoryRow& row = model_.Rows()[std::size_t(filter->mapToSource(filter->index(line, 0)).row())];
        const bool marked = row.Hints > 0 && row.Outcome == TGameOutcome::Finished;
        report += "stats.row." + QByteArray::number(line + 1) + "=seconds=" + QByteArray::number(row.Seconds)
                + " moves=" + QByteArray::number(row.Moves) + " shortest=" + QByteArray::number(row.Shortest.value_or(0))
                + " hints=" + QByteArray::number(row.Hints) + " outcome=" + OutcomeWord(row.Outcome)
                + " marked=" + QByteArray::number(marked) + " name=" + row.Name.toUtf8() + '\n';
    }
    return report;
}

void TStatisticsWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
    QWidget::changeEvent(event);
}

void TStatisticsWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    look_->Start();
}

void TStatisticsWindow::hideEvent(QHideEvent* event)
{
    look_->Stop();
    QWidget::hideEvent(event);
}
