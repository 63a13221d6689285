#pragma once

class QImage;

/**
 * @brief The main window's picture box as the picture dialog sees it.
 *
 * The dialog stores the dial picture and then puts it on the main window through this interface;
 * the main window implements it, so the dialog never knows the main window itself.
 */
class MainPicture
{
public:
    virtual ~MainPicture() = default;

    /** Shows @p picture at its natural size from the box's top-left corner. */
    virtual void setPicture(const QImage &picture) = 0;

    /** Leaves the box with only its background. */
    virtual void clearPicture() = 0;
};
