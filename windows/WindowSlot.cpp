#include "windows/WindowSlot.h"

#include <QFile>

namespace {

constexpr int kStep = 32;  // clear of the first window's title bar and border

} // namespace

void TWindowSlot::Take(const QString& folder)
{
    Release();
    if (folder.isEmpty())
        return;
    for (int slot = 0; slot < kSlots; ++slot) {
        const QByteArray path = QFile::encodeName(folder) + "/window-" + QByteArray::number(slot);
        const TFileStatus status = lock_.Acquire(path.toStdString(), 0);
        if (status.Ok()) {
            number_ = slot;
            return;
        }
        if (status.Problem != TFileProblem::Busy)
            return;  // no slots to be had there: as the first
    }
}

void TWindowSlot::Release()
{
    lock_.Release();
    number_ = 0;
}

QPoint OffsetForSlot(const QRect& frame, int slot, const QRect& area)
{
    const int step = kStep * slot;
    const QRect down = frame.translated(step, step), up = frame.translated(-step, -step);
    return (area.contains(down) || !area.contains(up) ? down : up).topLeft();
}
