#include "app/mainwindow.h"
#include "clock/clockmodel.h"
#include "forms/menustyle.h"
#include "platform/fonts.h"
#include "platform/interfacelanguage.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    // An idle clock should wake for its ticks and nothing else. With shared-memory images, Qt's X11
    // plug-in waits for a round trip to the X server before it repaints a part it has shown before,
    // which wakes both of its threads once more every second; the few hundred pixels that a tick
    // changes cost less sent through the socket. Qt reads the choice while the application object
    // starts; programs started from this one get the environment as the user left it.
    const QByteArray sharedImages("QT_XCB_NO_MITSHM");
    const bool userChoseImages = qEnvironmentVariableIsSet(sharedImages.constData());
    if (!userChoseImages)
        qputenv(sharedImages.constData(), "1");
    QApplication app(argc, argv);
    if (!userChoseImages)
        qunsetenv(sharedImages.constData());
    QApplication::setApplicationName(QStringLiteral("Horavista"));
    QApplication::setStyle(new MenuStyle);
    // Japanese as designed, or English where the desktop's languages ask for it; before any window is made.
    InterfaceLanguage::use(InterfaceLanguage::desktop());
    Fonts::install();

    // The program keeps its files in the folder it is started in; the launcher chooses that folder.
    ClockModel clock;
    MainWindow mainForm(QDir::current(), clock);
    mainForm.load();
    mainForm.show();
    return app.exec();
}
