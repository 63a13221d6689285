#pragma once

#include <QObject>
#include <QPoint>

#include <functional>

class QMouseEvent;
class QWidget;

/**
 * @brief The mouse on a form's surface: the left button drags the window, the right button opens
 * the form's pop-up menu.
 *
 * It watches the surface widget for presses, moves and releases and turns each into the form's
 * handler with the button, the shift keys and the pointer in twips of the surface. Controls that
 * keep the mouse for themselves (Qt::WA_NoMousePropagation) never reach it. What the pop-up menu
 * holds is the form's business: it only says where the pointer is.
 *
 * Dragging uses the window arithmetic (the pressed point stays under the pointer, with no bounds);
 * on a platform that does not let a program place its own windows (Wayland) it hands the drag to
 * the platform's interactive move instead.
 */
class FormMouse : public QObject
{
    Q_OBJECT
public:
    /** The Button values of the handlers. */
    static constexpr qint16 LeftButton = 1;
    static constexpr qint16 RightButton = 2;
    static constexpr qint16 MiddleButton = 4;

    using PopUpMenu = std::function<void(const QPoint &globalPosition)>;

    FormMouse(QWidget *surface, PopUpMenu popUpMenu);

    /** The form's twips per pixel, set by its load handler; the pointer's twips are pixels times this. */
    void setPixelTwips(qint32 pixelTwips)
    {
        if (pixelTwips > 0)
            PixelTwips = pixelTwips;
    }

    void Form_MouseDown(qint16 Button, qint16 Shift, float X, float Y);
    void Form_MouseMove(qint16 Button, qint16 Shift, float X, float Y);
    void Form_MouseUp(qint16 Button, qint16 Shift, float X, float Y);

    /** True where the window arithmetic cannot move a window and the platform moves it instead. */
    static bool platformMovesWindows();

    float DragX = 0.0f; ///< client abscissa, in twips, of the press that began the drag
    float DragY = 0.0f; ///< client ordinate, in twips, of that press
    qint16 Dragging = 0; ///< 1 from a left press until the next release of any button

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void handle(const QMouseEvent *event);

    QWidget *m_surface;
    PopUpMenu m_popUpMenu;
    qint32 PixelTwips;
    QPoint m_pointer; ///< where the pointer is on the screen, for the pop-up menu
};
