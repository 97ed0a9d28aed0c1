#include "dialogs/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace delvard {

namespace {

QRect availableArea(const QWidget* window)
{
    QScreen* screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void placeCentreAt(QWidget* window, QPoint centre)
{
    QRect frame(QPoint(), window->frameGeometry().size());
    frame.moveCenter(centre);
    const QRect area = availableArea(window);
    if (area.isValid()) {
        // A window larger than the screen keeps its title bar reachable.
        frame.moveRight(qMin(frame.right(), area.right()));
        frame.moveBottom(qMin(frame.bottom(), area.bottom()));
        frame.moveLeft(qMax(frame.left(), area.left()));
        frame.moveTop(qMax(frame.top(), area.top()));
    }
    window->move(frame.topLeft());
}

} // namespace

void centreOnScreen(QWidget* window)
{
    const QRect area = availableArea(window);
    if (area.isValid())
        placeCentreAt(window, area.center());
}

void centreOver(QWidget* window, const QWidget* over)
{
    const QWidget* overWindow = over ? over->window() : nullptr;
    if (overWindow && overWindow->isVisible())
        placeCentreAt(window, overWindow->frameGeometry().center());
    else
        centreOnScreen(window);
}

} // namespace delvard
