#include "platform/messagebox.h"

#include <QMessageBox>

namespace MessageBox {

void show(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(Caption), text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
}

} // namespace MessageBox
