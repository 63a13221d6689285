#include "picture/folderlist.h"

#include <QCollator>
#include <QDir>
#include <QDirIterator>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QStyledItemDelegate>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int DepthRole = Qt::UserRole + 1;
constexpr int IndentPixels = 10;

/** Shifts each entry right by its depth, as a tree would. */
class IndentDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem indented = option;
        indented.rect.setLeft(option.rect.left() + index.data(DepthRole).toInt() * IndentPixels);
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        return {size.width() + index.data(DepthRole).toInt() * IndentPixels, size.height()};
    }
};

/** @p names ordered by a key made once for each name. */
template <typename KeyOf>
QStringList sortedByKey(const QStringList &names, KeyOf keyOf)
{
    std::vector<std::pair<decltype(keyOf(QString())), QString>> keyed;
    keyed.reserve(names.size());
    for (const QString &name : names)
        keyed.emplace_back(keyOf(name), name);
    std::sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) { return a.first.compare(b.first) < 0; });
    QStringList sorted;
    sorted.reserve(names.size());
    for (auto &entry : keyed)
        sorted.append(std::move(entry.second));
    return sorted;
}

/**
 * @p names in the order QDir gives them: by the names in small letters, compared by the user's language's
 * rules (@p localeAware) or letter by letter. QDir compares two names at a time by the language's rules;
 * a sort key made once for each name is three times as quick for 100,000 names.
 */
QStringList sortedAsQDir(const QStringList &names, bool localeAware)
{
    // The C locale's rules are the order of the names' UTF-16 units, which its sort keys do not follow.
    const QCollator collator;
    if (!localeAware || collator.locale() == QLocale::c())
        return sortedByKey(names, [](const QString &name) { return name.toLower(); });
    return sortedByKey(names, [&collator](const QString &name) { return collator.sortKey(name.toLower()); });
}

QString withTrailingSlash(const QString &path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

} // namespace

FolderList::FolderList(QWidget *parent)
    : QListWidget(parent)
{
    setItemDelegate(new IndentDelegate(this));
    setUniformItemSizes(true);
}

void FolderList::setPath(const QString &path, const QString &root)
{
    const QString cleanPath = QDir::cleanPath(QDir::fromNativeSeparators(path));
    const QString cleanRoot = withTrailingSlash(QDir::cleanPath(QDir::fromNativeSeparators(root)));
    const bool changed = cleanPath != m_path;
    m_path = cleanPath;
    m_root = withTrailingSlash(cleanPath).startsWith(cleanRoot) ? cleanRoot : withTrailingSlash(cleanPath);
    fill();
    if (changed)
        Q_EMIT pathChanged();
}

void FolderList::fill()
{
    // The drive's root, then each folder on the way down to the current one, then its subfolders.
    QStringList texts{QDir::toNativeSeparators(m_root)};
    QStringList paths{QDir::cleanPath(m_root)};
    const QStringList steps = m_path.mid(m_root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &step : steps) {
        paths.append(QDir(paths.constLast()).filePath(step));
        texts.append(step);
    }
    // One reading of the folder gives its subfolders and files; QDir would read it twice, and match each
    // name against a wildcard even when listing folders only.
    QStringList subfolders;
    m_fileNames.clear();
    for (QDirIterator entries(m_path, QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot); entries.hasNext();) {
        entries.next();
        (entries.fileInfo().isDir() ? subfolders : m_fileNames).append(entries.fileName());
    }
    const QString parent = withTrailingSlash(QDir(m_path).absolutePath());
    for (const QString &name : sortedAsQDir(subfolders, true)) {
        texts.append(name);
        paths.append(parent + name);
    }

    // The entries go in at once; their icons, paths and depths follow while the model is quiet. An entry
    // made in the list one at a time is looked for among all those before it, so that a folder of 100,000
    // subfolders took seconds.
    clear();
    addItems(texts);
    const QIcon openFolder = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedFolder = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const int currentRow = int(steps.size());
    {
        const QSignalBlocker quiet(model());
        for (int row = 0; row < count(); ++row) {
            QListWidgetItem *entry = item(row);
            entry->setIcon(row <= currentRow ? openFolder : closedFolder);
            entry->setData(PathRole, paths.at(row));
            entry->setData(DepthRole, qMin(row, currentRow + 1));
        }
    }
    setCurrentRow(currentRow);
}

void FolderList::open(const QListWidgetItem *item)
{
    if (item)
        setPath(item->data(PathRole).toString(), m_root);
}

void FolderList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        open(currentItem());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FolderList::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        open(itemAt(event->position().toPoint()));
}

FileList::FileList(const QString &pattern, QWidget *parent)
    : QListWidget(parent)
{
    // The wildcards ignore letter case: PHOTO.JPG is listed too.
    for (const QString &wildcard : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        m_wildcards.append(QRegularExpression::fromWildcard(wildcard, Qt::CaseInsensitive));
    setUniformItemSizes(true);
    // The selection, not the current row: taking the focus makes an entry current without choosing it.
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!selectedItems().isEmpty())
            Q_EMIT fileClicked();
    });
}

void FileList::setPath(const QString &path, const QStringList &fileNames)
{
    m_path = QDir::cleanPath(QDir::fromNativeSeparators(path));
    QStringList matching;
    for (const QString &name : fileNames) {
        if (std::any_of(m_wildcards.cbegin(), m_wildcards.cend(),
                        [&name](const QRegularExpression &wildcard) { return wildcard.match(name).hasMatch(); }))
            matching.append(name);
    }
    const QSignalBlocker quiet(this);
    clear();
    addItems(sortedAsQDir(matching, false));
}

QString FileList::fileName() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}
