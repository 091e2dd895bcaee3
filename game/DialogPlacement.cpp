#include "game/DialogPlacement.h"

#include <QScreen>
#include <QWidget>

void CentreOnScreen(QWidget* window)
{
    if (const QScreen* screen = window->screen()) {
        const QRect area = screen->availableGeometry();
        const QSize frame = window->frameGeometry().size();
        window->move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
    }
}
