#include "about/helpcommand.h"

namespace HelpCommand {

void open(QWidget *caller, HelpViewer &viewer)
{
    viewer.displayTopic(caller, QString::fromLatin1(HelpFile));
}

} // namespace HelpCommand
