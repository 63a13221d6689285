#pragma once

#include "platform/helpviewer.h"

class QWidget;

/**
 * @brief The Help menu's command: the program's help file in the help viewer, at its default topic.
 *
 * The file is named without a folder, so it is the one in the working folder. When it is missing
 * or the viewer is not there, nothing happens and nothing is reported.
 */
namespace HelpCommand {

inline constexpr char HelpFile[] = "Horavista.chm";

void open(QWidget *caller, HelpViewer &viewer = HelpViewer::system());

} // namespace HelpCommand
