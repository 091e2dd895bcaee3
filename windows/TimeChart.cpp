#include "windows/TimeChart.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

const QColor TTimeChart::kTimeColour(0x1F, 0x5F, 0xBF);
const QColor TTimeChart::kAverageColour(0xC0, 0x28, 0x28);

namespace {

constexpr int kGap = 6;
constexpr double kDot = 2.5;  // radius

TTimeChart::TFrame Frame(const QRect& bounds, const QFontMetrics& metrics, const QString& widestNumber)
{
    TTimeChart::TFrame frame;
    frame.Scale = bounds.height() >= 4 * metrics.height() && bounds.width() >= 160;
    frame.Legend = bounds.height() >= 6 * metrics.height();
    const double left = frame.Scale ? metrics.horizontalAdvance(widestNumber) + 2 * kGap : kGap;
    const double top = frame.Legend ? metrics.height() + 2 * kGap : kGap;
    frame.Plot = QRectF(bounds).adjusted(left, top, -2 * kGap, -kGap - metrics.height() / 2.0);
    return frame;
}

} // namespace

double ChartStep(double top, int ticks)
{
    if (top <= 0 || ticks < 1)
        return 1;
    const double rough = top / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= rough)
            return factor * power;
    return 10 * power;
}

TTimeChart::TTimeChart(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TimeChart"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void TTimeChart::SetPoints(std::vector<TChartPoint> points)
{
    points_ = std::move(points);
    update();
}

void TTimeChart::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        update();  // the legend
    QWidget::changeEvent(event);
}

void TTimeChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics = fontMetrics();
    if (points_.empty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, tr("Здесь будет время каждой собранной игры."));
        return;
    }
    double highest = 1;
    for (const TChartPoint& point : points_)
        highest = std::max({highest, double(point.Seconds), point.Average.value_or(0)});
    const int ticks = std::clamp(height() / (2 * metrics.height()), 1, 8);
    const double step = ChartStep(highest, ticks);
    const TScale scale{std::ceil(highest / step) * step, step};
    const TFrame frame = Frame(rect(), metrics, QString::number(scale.Top));
    PaintScale(painter, frame, scale);
    PaintSeries(painter, frame.Plot, scale.Top);
    if (frame.Legend)
        PaintLegend(painter, frame.Plot.left());
}

// A light line at every step of the scale, its number beside it, and the axes.
void TTimeChart::PaintScale(QPainter& painter, const TFrame& frame, const TScale& scale) const
{
    const QRectF& plot = frame.Plot;
    const int lineHeight = fontMetrics().height();
    for (double value = 0; value <= scale.Top + scale.Step / 2; value += scale.Step) {
        const double y = plot.bottom() - value / scale.Top * plot.height();
        painter.setPen(palette().color(QPalette::Midlight));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        if (frame.Scale) {
            painter.setPen(palette().color(QPalette::Text));
            const QRectF label(0, y - lineHeight / 2.0, plot.left() - kGap, lineHeight);
            painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, QString::number(value));
        }
    }
    painter.setPen(palette().color(QPalette::Text));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
}

// The average's line, broken where there is none yet, and the dots over it.
void TTimeChart::PaintSeries(QPainter& painter, const QRectF& plot, double top) const
{
    const auto at = [&](std::size_t i, double seconds) {
        return QPointF(plot.left() + (double(i) + 0.5) * plot.width() / double(points_.size()),
                       plot.bottom() - seconds / top * plot.height());
    };
    QPainterPath average;
    bool drawing = false;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        if (points_[i].Average)
            drawing ? average.lineTo(at(i, *points_[i].Average)) : average.moveTo(at(i, *points_[i].Average));
        drawing = points_[i].Average.has_value();
    }
    painter.setPen(QPen(kAverageColour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(average);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kTimeColour);
    for (std::size_t i = 0; i < points_.size(); ++i)
        painter.drawEllipse(at(i, points_[i].Seconds), kDot, kDot);
}

// Above the plot at its left: a dot for the times, a line for the average.
void TTimeChart::PaintLegend(QPainter& painter, double left) const
{
    const QFontMetrics metrics = fontMetrics();
    const double middle = kGap + metrics.height() / 2.0;
    const double baseline = kGap + metrics.ascent();
    painter.setPen(Qt::NoPen);
    painter.setBrush(kTimeColour);
    painter.drawEllipse(QPointF(left + kDot, middle), kDot, kDot);
    painter.setPen(palette().color(QPalette::Text));
    const QString times = tr("время игры, с");
    painter.drawText(QPointF(left + 2 * kDot + kGap, baseline), times);
    const double line = left + 2 * kDot + 4 * kGap + metrics.horizontalAdvance(times);
    painter.setPen(QPen(kAverageColour, 2));
    painter.drawLine(QPointF(line, middle), QPointF(line + 16, middle));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QPointF(line + 16 + kGap, baseline), tr("среднее из 5"));
}
