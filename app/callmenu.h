#pragma once

#include <QWidget>

class QAction;
class QMenu;

/**
 * @brief The hidden window callMenu, which owns the program's pop-up menu mnuFILE.
 *
 * It is never shown. The main window creates it the first time the right button asks for the menu
 * and closes it at Exit and when the user closes the main window; closing deletes it, so no hidden
 * window outlives the program. The menu's items are the main window's own commands.
 */
class CallMenu : public QWidget
{
    Q_OBJECT
public:
    CallMenu(QAction *setTime, QAction *setImg, QAction *exit);

    /** Opens mnuFILE with its left edge at @p globalPosition and returns when it has closed. */
    void popUp(const QPoint &globalPosition);

    QMenu *menu() const { return mnuFILE; }

private:
    QMenu *mnuFILE = nullptr;
};
