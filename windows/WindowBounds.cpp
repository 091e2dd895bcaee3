#include "windows/WindowBounds.h"

#include <algorithm>

namespace {

// The area's part that the window itself may take, inside its frame.
QRect Inner(const TWindowRoom& room)
{
    return room.Area.marginsRemoved(room.Frame);
}

// A start that keeps a span of `length` within [first, first + room), or at `first` where it
// cannot fit.
int Within(int start, int length, int first, int room)
{
    return std::max(first, std::min(start, first + room - length));
}

// The rectangle moved no further than it must to lie within `inner`.
QRect MovedInto(const QRect& rect, const QRect& inner)
{
    return QRect(QPoint(Within(rect.x(), rect.width(), inner.x(), inner.width()),
                        Within(rect.y(), rect.height(), inner.y(), inner.height())),
                 rect.size());
}

} // namespace

QSize WithinRoom(QSize size, const TWindowRoom& room)
{
    return size.boundedTo(Inner(room).size().expandedTo(QSize(0, 0))).expandedTo(room.Least);
}

QRect WithinRoom(const QRect& window, const TWindowRoom& room)
{
    const QSize size = WithinRoom(window.size(), room);
    return size == window.size() ? window : MovedInto(QRect(window.topLeft(), size), Inner(room));
}

QRect OntoScreens(const QRect& window, const QList<QRect>& screens, QSize least, QMargins frame)
{
    if (screens.isEmpty())
        return window;
    // The strip under the title bar that must show, where the window can be taken and moved.
    const QRect top(window.topLeft(), QSize(window.width(), std::min(window.height(), 20)));
    const QSize grip(std::min(window.width(), 40), top.height());
    for (const QRect& screen : screens) {
        const QRect shown = screen.intersected(top);
        if (shown.width() >= grip.width() && shown.height() >= grip.height())
            return WithinRoom(window, {screen, frame, least});
    }
    const TWindowRoom first{screens.first(), frame, least};
    QRect moved(QPoint(), WithinRoom(window.size(), first));
    moved.moveCenter(Inner(first).center());
    return MovedInto(moved, Inner(first));
}
