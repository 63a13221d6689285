#include "platform/surfacemouse.h"

#include "platform/twips.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace {

/** True where a program cannot place its own windows and the platform moves them instead. */
bool platformMovesWindows()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

SurfaceMouse::SurfaceMouse(QWidget *surface, PopUpMenu popUpMenu)
    : QObject(surface)
    , m_surface(surface)
    , m_popUpMenu(std::move(popUpMenu))
    , m_pixelTwips(Twips::pixelTwipsOf(surface))
{
    surface->installEventFilter(this);
    // The right button's menu is the window's own; the toolkit's context menu would come on top of it.
    surface->setContextMenuPolicy(Qt::PreventContextMenu);
}

bool SurfaceMouse::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_surface)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // the second press of a double click is a press like the first
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        // The pointer's place in the window is worked out from its place on the screen and where this
        // program last put the window. The position the event carries is relative to where the window
        // stood when the window system saw the pointer, which lags behind a window being dragged.
        const QPointF twips = Twips::toTwips(m_surface->mapFromGlobal(mouse->globalPosition()), m_pixelTwips);
        if (event->type() == QEvent::MouseMove)
            mouseMoved(twips);
        else
            mousePressed(mouse->button(), twips, mouse->globalPosition().toPoint());
        event->accept();
        return true;
    }
    case QEvent::MouseButtonRelease:
        // Any button's release ends a drag.
        m_dragging = false;
        event->accept();
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

void SurfaceMouse::mousePressed(Qt::MouseButton button, const QPointF &twips, const QPoint &globalPosition)
{
    if (button == Qt::LeftButton) {
        m_dragging = true;
        m_dragX = float(twips.x());
        m_dragY = float(twips.y());
        // Where the program may not place its own window, the platform drags it and keeps the release.
        QWindow *window = m_surface->window()->windowHandle();
        if (platformMovesWindows() && window && window->startSystemMove())
            m_dragging = false;
    } else if (button == Qt::RightButton) {
        // The menu takes the mouse while it is open, so no release would end a drag begun before it.
        m_dragging = false;
        if (m_popUpMenu)
            m_popUpMenu(globalPosition);
    }
}

void SurfaceMouse::mouseMoved(const QPointF &twips)
{
    if (!m_dragging)
        return;
    // The window's outer corner in screen twips, moved so that the pressed point stays under the
    // pointer; the sums are single precision.
    QWidget *window = m_surface->window();
    const float left = float(window->x() * m_pixelTwips) - m_dragX + float(twips.x());
    const float top = float(window->y() * m_pixelTwips) - m_dragY + float(twips.y());
    window->move(Twips::toPixels(left, m_pixelTwips), Twips::toPixels(top, m_pixelTwips));
}
