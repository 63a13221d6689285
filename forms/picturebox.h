#pragma once

#include <QFrame>
#include <QImage>

/**
 * @brief A picture box: shows one picture at its natural size from its top-left corner, cut off at its edges.
 *
 * Without a picture it shows only its background (the window-background colour). It takes the mouse
 * for itself, so a press on it never reaches the window beneath.
 */
class PictureBox : public QFrame
{
    Q_OBJECT
public:
    enum class Border { None, Sunken };

    explicit PictureBox(QWidget *parent = nullptr, Border border = Border::Sunken);

    void setPicture(const QImage &picture);
    void clearPicture();
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};
