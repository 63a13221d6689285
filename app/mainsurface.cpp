#include "app/mainsurface.h"

#include "dials/dialpair.h"

#include <QPaintEvent>
#include <QPainter>

MainSurface::MainSurface(QWidget *parent)
    : QWidget(parent)
{
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void MainSurface::paintEvent(QPaintEvent *event)
{
    if (!m_dials)
        return;
    QPainter painter(this);
    m_dials->paint(painter, event->region());
}
