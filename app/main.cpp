#include "app/mainform.h"
#include "clock/clockmodel.h"
#include "platform/fonts.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Horavista"));
    Fonts::install();

    // The program keeps its files in the folder it is started in; the launcher chooses that folder.
    ClockModel clock;
    MainForm mainForm(QDir::current(), clock);
    mainForm.load();
    mainForm.show();
    return app.exec();
}
