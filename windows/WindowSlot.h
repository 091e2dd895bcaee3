#pragma once
// Which of the game's windows on the screen at once this one is, so that a second window opens
// offset from the first instead of exactly on it. Each window holds, while it is shown, the lock
// of the lowest free numbered slot ("window-0.lock", "window-1.lock", ... in the game's settings
// folder, files/UserFile.h's locks). The system lets a lock go when its process ends, however it
// ends, so a window that crashed leaves its slot to the next.

#include "files/UserFile.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <array>

class TWindowSlot {
public:
    static constexpr int kSlots = 16;
    // The lowest slot free in the folder; without a folder, or with every slot taken, 0.
    void Take(const QString& folder);
    void Release();
    int Number() const { return number_; }

private:
    TUserFileLock lock_;
    int number_ = 0;
};

// The place (frame's top-left) of a window of the slot: `frame` moved right and down a step for
// each slot before it, or left and up where that would leave the area and this would not.
QPoint OffsetForSlot(const QRect& frame, int slot, const QRect& area);
