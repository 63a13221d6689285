#include "forms/picturebox.h"

#include <QPainter>

PictureBox::PictureBox(QWidget *parent, Border border)
    : QFrame(parent)
{
    if (border == Border::Sunken)
        setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setAttribute(Qt::WA_NoMousePropagation);
}

void PictureBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void PictureBox::clearPicture()
{
    if (m_picture.isNull())
        return;
    m_picture = QImage();
    update();
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    const QRect inside = contentsRect();
    painter.setClipRect(inside);
    painter.drawImage(inside.topLeft(), m_picture);
}
