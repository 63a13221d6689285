#include "help/helpviewer.h"

#include <QWidget>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include "help/helpwindow.h"

#include <QFileInfo>
#include <QPointer>
#endif

namespace {

#ifdef Q_OS_WIN

/** HTML Help, from hhctrl.ocx, loaded on first use as the program declares it. */
class HtmlHelpViewer : public HelpViewer
{
public:
    void displayTopic(QWidget *caller, const QString &fileName) override
    {
        using HtmlHelpA = HWND(WINAPI *)(HWND, LPCSTR, UINT, DWORD_PTR);
        static const auto htmlHelp = [] {
            HMODULE library = LoadLibraryA("hhctrl.ocx");
            // Through the generic function type, which compilers accept as a cast to any other.
            return library
                ? reinterpret_cast<HtmlHelpA>(reinterpret_cast<void (*)()>(GetProcAddress(library, "HtmlHelpA")))
                : nullptr;
        }();
        // Without the viewer there is no help; the program does not report it.
        if (!htmlHelp)
            return;
        constexpr UINT DisplayTopic = 0;
        const HWND owner = caller ? reinterpret_cast<HWND>(caller->window()->winId()) : nullptr;
        htmlHelp(owner, fileName.toLocal8Bit().constData(), DisplayTopic, 0);
    }
};

#else

/** The program's own reader, one window per help file. */
class OwnHelpViewer : public HelpViewer
{
public:
    void displayTopic(QWidget *caller, const QString &fileName) override
    {
        const QString path = QFileInfo(fileName).absoluteFilePath();
        for (const QPointer<HelpWindow> &open : std::as_const(m_windows)) {
            if (open && open->filePath() == path) {
                open->showDefaultTopic();
                bringForward(open);
                return;
            }
        }

        auto *window = new HelpWindow(path);
        if (!window->isOpen()) {
            delete window;
            return;
        }
        window->setAttribute(Qt::WA_DeleteOnClose);
        // The help is a companion of the window that asked for it, not a reason for the program to go on.
        window->setAttribute(Qt::WA_QuitOnClose, false);
        if (caller)
            QObject::connect(caller->window(), &QObject::destroyed, window, &QWidget::close);
        m_windows.removeAll(nullptr);
        m_windows.append(window);
        window->showDefaultTopic();
        bringForward(window);
    }

private:
    static void bringForward(HelpWindow *window)
    {
        window->show();
        window->raise();
        window->activateWindow();
    }

    QList<QPointer<HelpWindow>> m_windows;
};

#endif

} // namespace

HelpViewer &HelpViewer::system()
{
#ifdef Q_OS_WIN
    static HtmlHelpViewer viewer;
#else
    static OwnHelpViewer viewer;
#endif
    return viewer;
}
