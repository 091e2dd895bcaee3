#pragma once
// A bevelled box: a one-pixel 3-D outline, raised or lowered, with a transparent inside.

#include <QWidget>

enum class TBevelStyle { bsLowered, bsRaised };

class TBevel : public QWidget {
    Q_OBJECT
public:
    explicit TBevel(QWidget* parent = nullptr, TBevelStyle style = TBevelStyle::bsLowered);

    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle style);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TBevelStyle style_;
};
