#pragma once
// How large the main window may be, and where, on the screens attached: never larger than the
// area its screen gives windows (the frame the desktop adds counted), never smaller than the
// layout of its board; a window that had to be made smaller is brought wholly onto that area.
// A window larger than its screen only costs memory (its picture is kept whole) and shows the
// player nothing more. Plain arithmetic on rectangles, so that it is tested without a window.

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>

// What a window is given on its screen: the screen's area for windows, the frame the desktop
// puts around the window (none is known before it is first shown), and the least size of its
// layout.
struct TWindowRoom {
    QRect Area;
    QMargins Frame;
    QSize Least;
};

// A window's size (its frame left out) within the room: no larger than the area leaves inside
// the frame, and no smaller than the least size, which wins on a screen too small for it.
QSize WithinRoom(QSize size, const TWindowRoom& room);

// A window's place and size (its frame left out) within the room: one of a size within it stays
// where it is; one that had to be made smaller comes wholly onto the area, moved no further than
// it must (its top-left corner kept on the area where even the least size is too large for it).
QRect WithinRoom(const QRect& window, const TWindowRoom& room);

// A window's place and size (its frame left out) as it may be shown on the screens now attached
// (their areas for windows): it lands on the first screen where enough of its top lies to take
// it by its title bar, and is brought within that screen's room; one that lands on none comes to
// the middle of the first screen, within its room.
QRect OntoScreens(const QRect& window, const QList<QRect>& screens, QSize least = {}, QMargins frame = {});
