#pragma once

#include <QMainWindow>

#include <memory>

class ChmFile;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;
struct HelpTopic;

/**
 * @brief A small reader for compiled HTML help files: the table of contents beside the pages.
 *
 * It stands in for the system's HTML Help viewer where there is none. Pages, pictures and style
 * sheets come out of the help file; links between its pages are followed, web and mail links are
 * handed to the desktop, and any other link is ignored. Whether the file could be read is
 * isOpen()'s to say; the window shows nothing of a file it cannot read.
 */
class HelpWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit HelpWindow(const QString &path, QWidget *parent = nullptr);
    ~HelpWindow() override;

    /** True when the file is a help file with a page to show; a help file without one is reported. */
    bool isOpen() const;
    QString filePath() const { return m_path; }

    /** Shows the file's default topic, or the first page of its contents when it names none. */
    void showDefaultTopic();

    /** Shows @p path, a page of the file ("/dials.html#how"). */
    void showTopic(const QString &path);

    /** The address under which the viewer shows the page @p path of the help file. */
    static QUrl topicUrl(const QString &path);

private:
    void createActions();
    void fillContents(QTreeWidgetItem *parent, const QList<HelpTopic> &topics);
    void onContentsItemClicked(QTreeWidgetItem *item);
    void onAnchorClicked(const QUrl &url);
    void markCurrentTopic(const QUrl &url);
    QString firstPage() const;

    QString m_path;
    std::unique_ptr<ChmFile> m_file;
    QTreeWidget *m_contents = nullptr;
    QTextBrowser *m_browser = nullptr;
};
