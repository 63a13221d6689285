#pragma once

#include "platform/interfacelanguage.h"

#include <QString>

class QWidget;

/**
 * @brief The system's help viewer, asked to show a compiled HTML help file at its default topic.
 *
 * On Windows this is HTML Help (HtmlHelpW of hhctrl.ocx, loaded when first asked). Elsewhere the program brings its own
 * reader, HelpWindow, one window per help file, which closes when the window that asked for it goes away and never
 * keeps the program running on its own. A missing file shows and reports nothing; a damaged one shows what can be read
 * of it, or nothing, and is reported in one line of the log. Tests put a fake in place of system().
 */
class HelpViewer
{
public:
    virtual ~HelpViewer() = default;

    /** Shows @p fileName (looked up as the viewer looks up files: a bare name in the working folder). */
    virtual void displayTopic(QWidget *caller, const QString &fileName) = 0;

    /** The Help menu's command: the help file of the interface's language at its default topic, for @p caller. */
    void showProgramHelp(QWidget *caller) { displayTopic(caller, InterfaceLanguage::helpFile()); }

    static HelpViewer &system();

#ifdef Q_OS_WIN
    /**
     * HTML Help's display command for @p fileName, owned by @p caller's window where that window is a
     * native one: the help window's handle, or 0 when HTML Help is missing or opened nothing (a missing
     * file). The name goes to HTML Help as it is, in UTF-16, so a folder in any script reaches it.
     */
    static quintptr showHtmlHelp(QWidget *caller, const QString &fileName);
#endif
};
