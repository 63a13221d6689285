#include "picture/folderlist.h"

#include <QDir>
#include <QKeyEvent>
#include <QStyledItemDelegate>

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
    clear();
    const QIcon openFolder = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedFolder = style()->standardIcon(QStyle::SP_DirClosedIcon);
    auto addEntry = [this](const QIcon &icon, const QString &text, const QString &path, int depth) {
        auto *item = new QListWidgetItem(icon, text, this);
        item->setData(PathRole, path);
        item->setData(DepthRole, depth);
        return item;
    };

    // The drive's root, then each folder on the way down to the current one.
    QString shownRoot = QDir::toNativeSeparators(m_root);
    QListWidgetItem *current = addEntry(openFolder, shownRoot, QDir::cleanPath(m_root), 0);
    const QStringList steps = m_path.mid(m_root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString walked = QDir::cleanPath(m_root);
    for (int depth = 0; depth < steps.size(); ++depth) {
        walked = QDir(walked).filePath(steps.at(depth));
        current = addEntry(openFolder, steps.at(depth), walked, depth + 1);
    }

    const QFileInfoList subfolders = QDir(m_path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot,
                                                                QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QFileInfo &folder : subfolders)
        addEntry(closedFolder, folder.fileName(), folder.absoluteFilePath(), int(steps.size()) + 1);
    setCurrentItem(current);
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
    , m_patterns(pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts))
{
    setUniformItemSizes(true);
    // The selection, not the current row: taking the focus makes an entry current without choosing it.
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!selectedItems().isEmpty())
            Q_EMIT fileClicked();
    });
}

void FileList::setPath(const QString &path)
{
    m_path = QDir::cleanPath(QDir::fromNativeSeparators(path));
    // Without QDir::CaseSensitive the wildcards ignore letter case: PHOTO.JPG is listed too.
    const QStringList names = QDir(m_path).entryList(m_patterns, QDir::Files, QDir::Name | QDir::IgnoreCase);
    const QSignalBlocker quiet(this);
    clear();
    addItems(names);
}

QString FileList::fileName() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}
