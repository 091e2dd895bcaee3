#pragma once
// Where a hint balloon goes. The balloon opens in one of four directions from the mouse, its
// pointer's tip next to the mouse, and turns to another direction where it would leave the
// screen. Pure: it takes the mouse position and the screen's size and reads nothing else.

#include <QPoint>
#include <QSize>
#include <cstdint>

enum class THintDirection : std::uint8_t { hdUpRight, hdUpLeft, hdDownRight, hdDownLeft };

constexpr bool IsUpDirection(THintDirection direction)
{
    return direction == THintDirection::hdUpRight || direction == THintDirection::hdUpLeft;
}

// The balloon window for a text rectangle (the text's size plus 6 by 2): 16 wider and 20 higher,
// with 9 more rows for a downward balloon, whose pointer stands above its body.
QSize BalloonSize(QSize textRect, THintDirection direction);

struct THintPlacement {
    THintDirection Direction = THintDirection::hdUpRight;
    QPoint TopLeft;
    QSize Size;
};

// Places the balloon for the text rectangle in the preferred direction, turning it where it
// would leave the screen: a balloon past the right edge turns left, past the left edge right,
// above the top it turns down, below the bottom up. The mouse and the result are relative to
// the screen's top-left corner. A balloon too big for the screen both ways would turn forever;
// each direction is therefore tried once at most, the last one tried is kept and is then moved
// as far onto the screen as it goes.
THintPlacement PlaceHint(QPoint mouse, QSize textRect, QSize screen, THintDirection preferred);
