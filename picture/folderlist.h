#pragma once

#include <QListWidget>
#include <QRegularExpression>

/**
 * @brief The folder list: the folders from a drive's root down to the current folder, then its subfolders.
 *
 * Each folder on the way down is one entry, indented by its depth, the current one highlighted;
 * the subfolders follow one step further in. Opening an entry (double-click, Enter or Return) makes
 * it the current folder. Hidden folders are not listed.
 */
class FolderList : public QListWidget
{
    Q_OBJECT
public:
    explicit FolderList(QWidget *parent = nullptr);

    /** The current folder, with '/' separators. */
    QString path() const { return m_path; }

    /** Shows @p path on the drive whose root is @p root; emits pathChanged() when the folder changes. */
    void setPath(const QString &path, const QString &root);

    /** The names of the current folder's files, read with its subfolders, in no order. */
    const QStringList &fileNames() const { return m_fileNames; }

Q_SIGNALS:
    void pathChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void fill();
    void open(const QListWidgetItem *item);

    QString m_path;
    QString m_root;
    QStringList m_fileNames;
};

/**
 * @brief The file list: the files of one folder whose names match a pattern, in name order.
 *
 * The names come from the folder list, which reads them with the subfolders. The pattern is a list
 * of wildcards separated by ';', matched regardless of letter case. Selecting
 * a file, with the mouse or the arrow keys, emits fileClicked(); refilling the list selects nothing.
 */
class FileList : public QListWidget
{
    Q_OBJECT
public:
    explicit FileList(const QString &pattern, QWidget *parent = nullptr);

    QString path() const { return m_path; }
    /** Lists those of @p fileNames, the files of the folder @p path, that match the pattern. */
    void setPath(const QString &path, const QStringList &fileNames);

    /** The selected file's name, or an empty string. */
    QString fileName() const;

Q_SIGNALS:
    void fileClicked();

private:
    QList<QRegularExpression> m_wildcards;
    QString m_path;
};
