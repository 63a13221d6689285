#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>

#include <functional>

class QMouseEvent;
class QWidget;

/**
 * @brief The mouse on a window's bare surface: the left button drags the window, the right button
 * opens the window's pop-up menu, the middle one does nothing. Shift+F10 and the Menu key open the
 * pop-up menu too: at the pointer when it is over the window, else at the control with the focus.
 *
 * It watches the surface widget; controls that keep the mouse for themselves
 * (Qt::WA_NoMousePropagation) never reach it. What the pop-up menu holds is the window's business:
 * it only says where the pointer is.
 *
 * Dragging keeps the pressed point under the pointer, with no bounds; on a
 * platform that does not let a program place its own windows (Wayland) it hands the drag to the
 * platform's interactive move instead.
 */
class SurfaceMouse : public QObject
{
    Q_OBJECT
public:
    /** Opens the menu at @p globalPosition; @p byKeyboard when a key asked, so that its first entry is chosen. */
    using PopUpMenu = std::function<void(const QPoint &globalPosition, bool byKeyboard)>;

    SurfaceMouse(QWidget *surface, PopUpMenu popUpMenu);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPoint keyboardMenuPosition() const;
    void mousePressed(Qt::MouseButton button, const QPointF &at, const QPoint &globalPosition);
    void mouseMoved(const QPointF &at);

    QWidget *m_surface;
    PopUpMenu m_popUpMenu;
    bool m_dragging = false;
    QPointF m_pressedAt; ///< where the drag began, on the surface
};
