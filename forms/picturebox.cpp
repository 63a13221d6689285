#include "forms/picturebox.h"

#include <QAccessibleWidget>
#include <QPainter>

namespace {

/** A picture box is read as a picture, by the name its window gives it. */
QAccessibleInterface *pictureAccessibility(const QString &className, QObject *object)
{
    if (className == QLatin1String("PictureBox") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Graphic);
    return nullptr;
}

} // namespace

PictureBox::PictureBox(QWidget *parent, Border border)
    : QFrame(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(pictureAccessibility);
        return true;
    }();
    Q_UNUSED(installed);
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
