#include "help/helpwindow.h"

#include "help/chmfile.h"
#include "help/helpcontents.h"
#include "help/helppage.h"
#include "imaging/picturefile.h"
#include "imaging/picturesource.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHeaderView>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>

namespace {

const QString Scheme = QStringLiteral("chm");
constexpr int TopicRole = Qt::UserRole;

/** A text browser whose pages, pictures and style sheets come out of one help file. */
class HelpBrowser : public QTextBrowser
{
public:
    HelpBrowser(ChmFile &file, QWidget *parent)
        : QTextBrowser(parent)
        , m_file(file)
    { }

    QVariant loadResource(int type, const QUrl &name) override
    {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        // Nothing outside the help file is read: a page cannot reach into the file system.
        if (url.scheme() != Scheme)
            return {};
        if (type == QTextDocument::ImageResource)
            return picture(url.path());
        std::optional<QByteArray> bytes = m_file.read(url.path());
        if (bytes && (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)) {
            const QString problem = type == QTextDocument::HtmlResource || bytes->size() > HelpPage::MaxBytes
                ? HelpPage::problem(*bytes)
                : QString();
            if (!problem.isEmpty()) {
                m_file.report(QStringLiteral("%1: %2").arg(url.path(), problem));
                bytes.reset();
            }
        }
        // A page that cannot be read or laid out shows empty; the file has said why, once.
        if (!bytes)
            return type == QTextDocument::HtmlResource ? QVariant(QStringLiteral("<html></html>")) : QVariant();
        if (type == QTextDocument::StyleSheetResource)
            return QString::fromUtf8(*bytes);
        // Pages are decoded by their own meta line.
        return *bytes;
    }

private:
    /**
     * A picture of the file, decoded once. All the pictures shown in one window together stay within
     * HelpPage::MaxPicturePixels, however many a page names.
     */
    QImage picture(const QString &path)
    {
        const QString key = path.toLower();
        if (const auto kept = m_pictures.constFind(key); kept != m_pictures.constEnd())
            return *kept;
        const std::optional<QByteArray> bytes = m_file.read(path);
        if (!bytes)
            return {};
        PictureSource source(*bytes, {"png", "jpeg", "gif", "bmp"});
        const QSize size = source.pixelSize();
        const qint64 pixels = qint64(size.width()) * size.height();
        if (!source.isReadable() || m_pixels + pixels > HelpPage::MaxPicturePixels)
            return {};
        m_pixels += pixels;
        const QImage image = source.decode();
        m_pictures.insert(key, image);
        return image;
    }

    ChmFile &m_file;
    QHash<QString, QImage> m_pictures;
    qint64 m_pixels = 0;
};

} // namespace

HelpWindow::HelpWindow(const QString &path, QWidget *parent)
    : QMainWindow(parent)
    , m_path(path)
    , m_file(std::make_unique<ChmFile>(path))
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(m_file->title().isEmpty() ? QFileInfo(path).fileName() : m_file->title());
    setWindowIcon(PictureFile::builtInIcon());

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("helpSplitter"));
    splitter->setChildrenCollapsible(false);

    m_contents = new QTreeWidget(splitter);
    m_contents->setObjectName(QStringLiteral("contents"));
    m_contents->setHeaderHidden(true);
    m_contents->setColumnCount(1);
    m_contents->header()->setStretchLastSection(true);

    m_browser = new HelpBrowser(*m_file, splitter);
    m_browser->setObjectName(QStringLiteral("browser"));
    // Links between the help pages stay here; the rest are the desktop's (onAnchorClicked).
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);

    splitter->addWidget(m_contents);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({210, 590});
    setCentralWidget(splitter);
    resize(800, 560);

    createActions();
    fillContents(nullptr, m_file->contents());
    m_contents->expandAll();

    connect(m_contents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item) { onContentsItemClicked(item); });
    connect(m_contents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { onContentsItemClicked(item); });
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::onAnchorClicked);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::markCurrentTopic);
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::createActions()
{
    QToolBar *bar = addToolBar(tr("ナビゲーション"));
    bar->setObjectName(QStringLiteral("helpToolBar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    const auto addAction = [this, bar](QStyle::StandardPixmap icon, const QString &text, const QString &name) {
        QAction *action = bar->addAction(style()->standardIcon(icon), text);
        action->setObjectName(name);
        return action;
    };
    // Back and forward are there only while the history has a page that way.
    QAction *back = addAction(QStyle::SP_ArrowBack, tr("戻る"), QStringLiteral("back"));
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    QAction *forward = addAction(QStyle::SP_ArrowForward, tr("進む"), QStringLiteral("forward"));
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    QAction *home = addAction(QStyle::SP_DirHomeIcon, tr("ホーム"), QStringLiteral("home"));
    connect(home, &QAction::triggered, this, &HelpWindow::showDefaultTopic);

    bar->addSeparator();
    auto *contents = bar->addAction(tr("目次"));
    contents->setObjectName(QStringLiteral("showContents"));
    contents->setCheckable(true);
    contents->setChecked(true);
    connect(contents, &QAction::toggled, m_contents, &QWidget::setVisible);
}

void HelpWindow::fillContents(QTreeWidgetItem *parent, const QList<HelpTopic> &topics)
{
    // The parser keeps the contents within HelpContents::MaxDepth, so this goes no deeper.
    for (const HelpTopic &topic : topics) {
        auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_contents);
        item->setText(0, topic.name);
        item->setToolTip(0, topic.name);
        if (!topic.local.isEmpty())
            item->setData(0, TopicRole, HelpContents::topicPath(topic.local));
        fillContents(item, topic.children);
    }
}

bool HelpWindow::isOpen() const
{
    if (!m_file->isOpen())
        return false;
    const QString page = firstPage();
    if (!page.isEmpty() && m_file->read(topicUrl(page).path()).has_value())
        return true;
    m_file->report(QStringLiteral("the help file has no page to show"));
    return false;
}

QString HelpWindow::firstPage() const
{
    if (!m_file->defaultTopic().isEmpty())
        return m_file->defaultTopic();
    for (QTreeWidgetItemIterator it(m_contents); *it; ++it) {
        const QString page = (*it)->data(0, TopicRole).toString();
        if (!page.isEmpty())
            return page;
    }
    return {};
}

QUrl HelpWindow::topicUrl(const QString &path)
{
    QUrl url;
    url.setScheme(Scheme);
    const qsizetype hash = path.indexOf(QLatin1Char('#'));
    url.setPath(hash < 0 ? path : path.left(hash));
    if (hash >= 0)
        url.setFragment(path.mid(hash + 1));
    return url;
}

void HelpWindow::showDefaultTopic()
{
    const QString page = firstPage();
    if (!page.isEmpty())
        showTopic(page);
}

void HelpWindow::showTopic(const QString &path)
{
    m_browser->setSource(topicUrl(HelpContents::topicPath(path)), QTextDocument::HtmlResource);
}

void HelpWindow::onContentsItemClicked(QTreeWidgetItem *item)
{
    const QString page = item ? item->data(0, TopicRole).toString() : QString();
    if (!page.isEmpty())
        showTopic(page);
}

void HelpWindow::onAnchorClicked(const QUrl &url)
{
    // Links stay inside the help file, or go to the web or to mail; a link to anything else (a local
    // file, a program's scheme) does nothing.
    const QString scheme = url.scheme().toLower();
    if (scheme == Scheme)
        m_browser->setSource(url, QTextDocument::HtmlResource);
    else if (scheme == QLatin1String("ms-its") || scheme == QLatin1String("mk"))
        showTopic(url.toString()); // "ms-its:Horavista.chm::/page.html", a link into the same file
    else if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto"))
        QDesktopServices::openUrl(url);
}

void HelpWindow::markCurrentTopic(const QUrl &url)
{
    // The contents follow the page: the entry of the page shown is selected, its own section first.
    const QString withSection = url.path() + (url.hasFragment() ? QLatin1Char('#') + url.fragment() : QString());
    QTreeWidgetItem *pageEntry = nullptr;
    for (QTreeWidgetItemIterator it(m_contents); *it; ++it) {
        const QString page = (*it)->data(0, TopicRole).toString();
        if (page.compare(withSection, Qt::CaseInsensitive) == 0) {
            pageEntry = *it;
            break;
        }
        if (!pageEntry && page.compare(url.path(), Qt::CaseInsensitive) == 0)
            pageEntry = *it;
    }
    if (pageEntry) {
        const QSignalBlocker quiet(m_contents);
        m_contents->setCurrentItem(pageEntry);
        m_contents->scrollToItem(pageEntry);
    }
}
