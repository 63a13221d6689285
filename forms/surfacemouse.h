#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>

#include <functional>

class QMouseEvent;
class QWidget;

/**
 * @brief The mouse on a window's bare surface: the left button drags the window, the right button
 * opens the window's pop-up menu, the middle one does nothing.
 *
 * It watches the surface widget; controls that keep the mouse for themselves
 * (Qt::WA_NoMousePropagation) never reach it. What the pop-up menu holds is the window's business:
 * it only says where the pointer is.
 *
 * Dragging keeps the pressed point under the pointer, with no bounds, working in screen twips; on a
 * platform that does not let a program place its own windows (Wayland) it hands the drag to the
 * platform's interactive move instead.
 */
class SurfaceMouse : public QObject
{
    Q_OBJECT
public:
    using PopUpMenu = std::function<void(const QPoint &globalPosition)>;

    SurfaceMouse(QWidget *surface, PopUpMenu popUpMenu);

    /** The window's twips per pixel, known once it is on its screen. */
    void setPixelTwips(qint32 pixelTwips)
    {
        if (pixelTwips > 0)
            m_pixelTwips = pixelTwips;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void mousePressed(Qt::MouseButton button, const QPointF &twips, const QPoint &globalPosition);
    void mouseMoved(const QPointF &twips);

    QWidget *m_surface;
    PopUpMenu m_popUpMenu;
    qint32 m_pixelTwips;
    bool m_dragging = false;
    float m_dragX = 0.0f; ///< where the drag began, in twips of the surface
    float m_dragY = 0.0f;
};
