#include "app/callmenu.h"

#include "platform/twips.h"

#include <QMenu>

namespace {

constexpr int ClientWidth = 2340;
constexpr int ClientHeight = 1005;

} // namespace

CallMenu::CallMenu(QAction *setTime, QAction *setImg, QAction *exit)
{
    setObjectName(QStringLiteral("callMenu"));
    setWindowTitle(tr("menu用ダミー"));
    setAttribute(Qt::WA_DeleteOnClose);
    const int pixelTwips = Twips::pixelTwipsOf(this);
    setFixedSize(Twips::toPixels(ClientWidth, pixelTwips), Twips::toPixels(ClientHeight, pixelTwips));

    mnuFILE = new QMenu(tr("File(&F)"), this);
    mnuFILE->setObjectName(QStringLiteral("mnuFILE"));
    mnuFILE->addAction(setTime);
    mnuFILE->addAction(setImg);
    mnuFILE->addSeparator()->setObjectName(QStringLiteral("mnuStep2"));
    mnuFILE->addAction(exit);
}

void CallMenu::popUp(const QPoint &globalPosition)
{
    mnuFILE->exec(globalPosition);
}
