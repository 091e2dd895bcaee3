#pragma once
// The chart of the statistics window, drawn by the game itself: the time of each game as a dot,
// left to right in the order the games ended, the running average of 5 as a line through them,
// a scale of seconds in round steps with a light grid, and a legend. It fills whatever size it is
// given; where the window is too small for the scale's numbers or the legend they are left out,
// never squeezed over the dots.

#include "game/Statistics.h"

#include <QColor>
#include <QRectF>
#include <QWidget>
#include <vector>

// A round step for a scale from 0 to `top` with at most `ticks` steps: 1, 2 or 5 times a power
// of ten.
double ChartStep(double top, int ticks);

class QPainter;

class TTimeChart : public QWidget {
    Q_OBJECT
public:
    explicit TTimeChart(QWidget* parent = nullptr);

    void SetPoints(std::vector<TChartPoint> points);
    const std::vector<TChartPoint>& Points() const { return points_; }

    QSize sizeHint() const override { return {480, 200}; }
    QSize minimumSizeHint() const override { return {160, 90}; }

    // The colours of the dots and of the average's line.
    static const QColor kTimeColour;
    static const QColor kAverageColour;

    // Where the chart's parts go in the widget.
    struct TFrame {
        QRectF Plot;
        bool Scale = false;   // room for the numbers of the scale
        bool Legend = false;  // and for the legend above the plot
    };
    struct TScale {
        double Top = 1;   // the seconds at the plot's top
        double Step = 1;
    };

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void PaintScale(QPainter& painter, const TFrame& frame, const TScale& scale) const;
    void PaintSeries(QPainter& painter, const QRectF& plot, double top) const;
    void PaintLegend(QPainter& painter, double left) const;

    std::vector<TChartPoint> points_;
};
