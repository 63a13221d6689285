#include "help/helpviewer.h"

#include <QWidget>

#ifdef Q_OS_WIN
#include <QGuiApplication>

#include <windows.h>
#else
#include "help/helpwindow.h"

#include <QFileInfo>
#include <QPointer>
#endif

namespace {

#ifdef Q_OS_WIN

/** HTML Help, which runs on its own: the program does not track or close its windows. */
class HtmlHelpViewer : public HelpViewer
{
public:
    void displayTopic(QWidget *caller, const QString &fileName) override { showHtmlHelp(caller, fileName); }
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

#ifdef Q_OS_WIN

quintptr HelpViewer::showHtmlHelp(QWidget *caller, const QString &fileName)
{
    using HtmlHelpW = HWND(WINAPI *)(HWND, LPCWSTR, UINT, DWORD_PTR);
    static const auto htmlHelp = [] {
        // Loaded only when help is first asked for, as most runs never show it.
        HMODULE library = LoadLibraryW(L"hhctrl.ocx");
        // Through the generic function type, which compilers accept as a cast to any other.
        return library ? reinterpret_cast<HtmlHelpW>(reinterpret_cast<void (*)()>(GetProcAddress(library, "HtmlHelpW")))
                       : nullptr;
    }();
    // Without the viewer there is no help; the program does not report it.
    if (!htmlHelp)
        return 0;
    // Only the windows platform's window ids are window handles (not those of offscreen or minimal).
    const bool native = caller && QGuiApplication::platformName() == QLatin1String("windows");
    const HWND owner = native ? reinterpret_cast<HWND>(caller->window()->winId()) : nullptr;
    constexpr UINT DisplayTopic = 0; // HH_DISPLAY_TOPIC: the file's default topic
    return reinterpret_cast<quintptr>(htmlHelp(owner, qUtf16Printable(fileName), DisplayTopic, 0));
}

#endif

HelpViewer &HelpViewer::system()
{
#ifdef Q_OS_WIN
    static HtmlHelpViewer viewer;
#else
    static OwnHelpViewer viewer;
#endif
    return viewer;
}
