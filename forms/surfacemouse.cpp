#include "forms/surfacemouse.h"

#include "forms/twips.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QShortcut>
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
{
    surface->installEventFilter(this);
    // The right button's menu is the window's own; the toolkit's context menu would come on top of it.
    surface->setContextMenuPolicy(Qt::PreventContextMenu);
    for (const QKeySequence &keys : {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
        connect(new QShortcut(keys, surface), &QShortcut::activated, this, [this] {
            if (m_popUpMenu)
                m_popUpMenu(keyboardMenuPosition(), true);
        });
    }
}

QPoint SurfaceMouse::keyboardMenuPosition() const
{
    const QWidget *window = m_surface->window();
    if (window->rect().contains(window->mapFromGlobal(QCursor::pos())))
        return QCursor::pos();
    const QWidget *focused = window->focusWidget() ? window->focusWidget() : window;
    return focused->mapToGlobal(focused->rect().center());
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
        const QPointF at = m_surface->mapFromGlobal(mouse->globalPosition());
        if (event->type() == QEvent::MouseMove)
            mouseMoved(at);
        else
            mousePressed(mouse->button(), at, mouse->globalPosition().toPoint());
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

void SurfaceMouse::mousePressed(Qt::MouseButton button, const QPointF &at, const QPoint &globalPosition)
{
    if (button == Qt::LeftButton) {
        m_dragging = true;
        m_pressedAt = at;
        // Where the program may not place its own window, the platform drags it and keeps the release.
        QWindow *window = m_surface->window()->windowHandle();
        if (platformMovesWindows() && window && window->startSystemMove())
            m_dragging = false;
    } else if (button == Qt::RightButton) {
        // The menu takes the mouse while it is open, so no release would end a drag begun before it.
        m_dragging = false;
        if (m_popUpMenu)
            m_popUpMenu(globalPosition, false);
    }
}

void SurfaceMouse::mouseMoved(const QPointF &at)
{
    if (!m_dragging)
        return;
    // The window moves by as much as the pointer has moved from the pressed point.
    QWidget *window = m_surface->window();
    const QPointF by = at - m_pressedAt;
    window->move(window->pos() + QPoint(Twips::roundHalfEven(by.x()), Twips::roundHalfEven(by.y())));
}
