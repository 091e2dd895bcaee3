#include "balloon/HintPlacement.h"

#include <algorithm>
#include <array>

namespace {

bool IsRightDirection(THintDirection direction)
{
    return direction == THintDirection::hdUpRight || direction == THintDirection::hdDownRight;
}

// The same vertical side, the other horizontal side; and the reverse.
THintDirection TurnedSideways(THintDirection direction)
{
    return THintDirection(std::uint8_t(direction) ^ 1u);
}

THintDirection TurnedOver(THintDirection direction)
{
    return THintDirection(std::uint8_t(direction) ^ 2u);
}

// The window's top-left corner: a right balloon's pointer tip is at its left edge, a left one's
// 6 pixels in from its right edge; an up balloon's tip is 5 pixels above the mouse, a down
// balloon's top 15 pixels below it.
QPoint TopLeftFor(THintDirection direction, QPoint mouse, QSize size)
{
    const int left = IsRightDirection(direction) ? mouse.x() : mouse.x() + 6 - size.width();
    const int top = IsUpDirection(direction) ? mouse.y() - 5 - size.height() : mouse.y() + 15;
    return {left, top};
}

} // namespace

QSize BalloonSize(QSize textRect, THintDirection direction)
{
    return {textRect.width() + 16, textRect.height() + (IsUpDirection(direction) ? 20 : 29)};
}

THintPlacement PlaceHint(QPoint mouse, QSize textRect, QSize screen, THintDirection preferred)
{
    std::array<bool, 4> tried{};
    THintPlacement placement;
    THintDirection direction = preferred;
    bool fits = false;
    for (;;) {
        tried[std::size_t(direction)] = true;
        const QSize size = BalloonSize(textRect, direction);
        const QPoint topLeft = TopLeftFor(direction, mouse, size);
        placement = {direction, topLeft, size};

        const bool offSideways = IsRightDirection(direction) ? topLeft.x() + size.width() > screen.width()
                                                              : topLeft.x() < 0;
        const bool offVertically = IsUpDirection(direction) ? topLeft.y() < 0
                                                             : topLeft.y() + size.height() > screen.height();
        fits = !offSideways && !offVertically;
        THintDirection next = direction;
        if (offSideways && !tried[std::size_t(TurnedSideways(direction))])
            next = TurnedSideways(direction);
        else if (offVertically && !tried[std::size_t(TurnedOver(direction))])
            next = TurnedOver(direction);
        if (next == direction)
            break;
        direction = next;
    }
    if (!fits) {
        // Nothing fits: the balloon keeps its top-left corner on the screen, so that its text
        // starts in view, and otherwise lies as far on it as it goes.
        QPoint& topLeft = placement.TopLeft;
        topLeft.setX(std::max(0, std::min(topLeft.x(), screen.width() - placement.Size.width())));
        topLeft.setY(std::max(0, std::min(topLeft.y(), screen.height() - placement.Size.height())));
    }
    return placement;
}
