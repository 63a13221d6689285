#include "help/helpwindow.h"

#include "help/chmfile.h"
#include "help/helpcontents.h"
#include "help/helppage.h"
#include "help/pageaccessibility.h"
#include "imaging/picturefile.h"
#include "imaging/picturesource.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHeaderView>
#include <QRegularExpression>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>

namespace {

const QString Scheme = QStringLiteral("chm");
constexpr int TopicRole = Qt::UserRole;

/**
 * A text browser whose pages, pictures and style sheets come out of one help file, and out of
 * nothing else: whatever a page names that is not an object of the file (a file, data or web
 * address, a missing object, one beyond a budget) is answered with nothing of that kind. An empty
 * answer would let Qt's own loading step in, which reads local files and data addresses past every
 * budget (and waits forever on a named pipe). Each page has its own budgets for its style sheets and
 * pictures, counted from the moment it is loaded.
 */
class HelpBrowser : public QTextBrowser
{
public:
    HelpBrowser(ChmFile &file, QWidget *parent)
        : QTextBrowser(parent)
        , m_file(file)
    { }

    QVariant loadResource(int type, const QUrl &name) override
    {
        // While a page loads, what it names is relative to it, not yet to source().
        const QUrl url =
            name.isRelative() ? (type == QTextDocument::HtmlResource ? source() : m_page).resolved(name) : name;
        const bool inside = url.scheme() == Scheme;
        switch (type) {
        case QTextDocument::HtmlResource:
            return page(inside ? url : QUrl());
        case QTextDocument::ImageResource:
            return inside ? picture(url.path()) : placeholder();
        case QTextDocument::StyleSheetResource:
            return inside ? styleSheet(url) : QString();
        default:
            return QString();
        }
    }

private:
    /** A page of the file, decoded, when it can be laid out in a moment; an empty one otherwise. */
    QString page(const QUrl &url)
    {
        // A new page: its budgets start afresh.
        m_page = url;
        const QString path = url.path();
        m_pictures.clear();
        m_pixels = 0;
        m_sheets = 0;
        m_sheetBytes = 0;
        m_importDepth.clear();
        m_tags = 0;
        m_rules = 0;
        const std::optional<QByteArray> bytes = m_file.read(path);
        if (!bytes)
            return QStringLiteral("<html></html>");
        const HelpPage::Measure measure = HelpPage::measure(*bytes);
        // Pages that name no encoding are in the file's code page, as the system's viewer reads them.
        const QString text = measure.problem.isEmpty() ? HelpContents::decode(*bytes, m_file.language()) : QString();
        const QString problem = measure.problem.isEmpty() ? HelpPage::textProblem(text) : measure.problem;
        if (!problem.isEmpty()) {
            // Shown empty; the file says why, once.
            m_file.report(QStringLiteral("%1: %2").arg(path, problem));
            return QStringLiteral("<html></html>");
        }
        m_tags = measure.tags;
        m_rules = measure.rules;
        return text;
    }

    /**
     * A style sheet of the file, within the page's budgets: the number of sheets, their bytes, how
     * deep they import each other and how many rules they have for the page's elements. A sheet beyond
     * them is left out.
     */
    QString styleSheet(const QUrl &url)
    {
        const int depth = m_importDepth.value(url.toString(), 0);
        const QString why = ++m_sheets > HelpPage::MaxStyleSheets
            ? QStringLiteral("more than %1 style sheets").arg(HelpPage::MaxStyleSheets)
            : depth > HelpPage::MaxImportDepth
            ? QStringLiteral("style sheets imported deeper than %1").arg(HelpPage::MaxImportDepth)
            : QString();
        if (!why.isEmpty()) {
            m_file.report(QStringLiteral("%1: %2").arg(m_page.path(), why));
            return QString();
        }
        const std::optional<QByteArray> bytes = m_file.read(url.path());
        if (!bytes)
            return QString();
        m_sheetBytes += bytes->size();
        const QString css = QString::fromUtf8(*bytes);
        const int rules = HelpPage::ruleCount(css);
        const int budget = HelpPage::ruleBudget(m_tags);
        const QString over = m_sheetBytes > HelpPage::MaxStyleBytes
            ? QStringLiteral("style sheets of more than %1 bytes").arg(HelpPage::MaxStyleBytes)
            : m_rules + rules > budget ? QStringLiteral("more than %1 style rules").arg(budget)
                                       : QString();
        if (!over.isEmpty()) {
            m_file.report(QStringLiteral("%1: %2").arg(m_page.path(), over));
            return QString();
        }
        m_rules += rules;
        // Qt asks for the sheets this one imports next, resolved against the page.
        static const QRegularExpression import(QStringLiteral(R"re(@import\s+(?:url\(\s*)?["']?([^"')\s;]+))re"),
                                               QRegularExpression::CaseInsensitiveOption);
        for (const QRegularExpressionMatch &match : import.globalMatch(css)) {
            const QString imported = m_page.resolved(QUrl(match.captured(1))).toString();
            m_importDepth.insert(imported, qMax(m_importDepth.value(imported, 0), depth + 1));
        }
        return css;
    }

    /**
     * A picture of the file, decoded once for the page. The pictures of one page together stay within
     * HelpPage::MaxPicturePixels, however many it names; one left out shows as a placeholder.
     */
    QImage picture(const QString &path)
    {
        const QString key = path.toLower();
        if (const auto kept = m_pictures.constFind(key); kept != m_pictures.constEnd())
            return *kept;
        const std::optional<QByteArray> bytes = m_file.read(path);
        if (!bytes)
            return placeholder();
        PictureSource source(*bytes, {"png", "jpeg", "gif", "bmp"});
        const QSize size = source.pixelSize();
        const qint64 pixels = qint64(size.width()) * size.height();
        if (!source.isReadable() || m_pixels + pixels > HelpPage::MaxPicturePixels)
            return placeholder();
        m_pixels += pixels;
        QImage image = source.decode();
        if (image.isNull())
            image = placeholder();
        m_pictures.insert(key, image);
        return image;
    }

    /** What a picture that is not shown shows: Qt's own mark for a missing one. */
    static QImage placeholder()
    {
        static const QImage mark = [] {
            QImage image(QStringLiteral(":/qt-project.org/styles/commonstyle/images/file-16.png"));
            if (image.isNull()) {
                image = QImage(16, 16, QImage::Format_ARGB32_Premultiplied);
                image.fill(Qt::transparent);
            }
            return image;
        }();
        return mark;
    }

    ChmFile &m_file;
    /** The page loaded last, which the budgets are of. */
    QUrl m_page;
    QHash<QString, QImage> m_pictures;
    qint64 m_pixels = 0;
    int m_tags = 0;
    int m_rules = 0;
    int m_sheets = 0;
    qsizetype m_sheetBytes = 0;
    /** How deep the sheets that the page's sheets import are, by their address. */
    QHash<QString, int> m_importDepth;
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

    PageAccessibility::install();
    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("helpSplitter"));
    splitter->setChildrenCollapsible(false);

    m_contents = new QTreeWidget(splitter);
    m_contents->setObjectName(QStringLiteral("contents"));
    m_contents->setHeaderHidden(true);
    m_contents->setColumnCount(1);
    m_contents->header()->setStretchLastSection(true);
    m_contents->setAccessibleName(tr("目次"));

    m_browser = new HelpBrowser(*m_file, splitter);
    m_browser->setObjectName(QStringLiteral("browser"));
    // Links between the help pages stay here; the rest are the desktop's (onAnchorClicked).
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    m_browser->setAccessibleName(tr("ヘルプのページ"));
    // The pages bring their own white ground and dark text, whatever the palette: their links keep the
    // colours that read on it.
    QPalette page = m_browser->palette();
    page.setColor(QPalette::Link, QColor(0x00, 0x00, 0xFF));
    page.setColor(QPalette::LinkVisited, QColor(0xFF, 0x00, 0xFF));
    m_browser->setPalette(page);

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

    // The toolbar's buttons are in the keyboard's reach too, after the contents and the page.
    for (QAction *action : {back, forward, home, contents})
        bar->widgetForAction(action)->setFocusPolicy(Qt::TabFocus);
    connect(new QShortcut(QKeySequence::Cancel, this), &QShortcut::activated, this, &QWidget::close);
}

void HelpWindow::fillContents(QTreeWidgetItem *parent, const QList<HelpTopic> &topics)
{
    // The parser keeps the contents within HelpContents::MaxDepth, so this goes no deeper.
    for (const HelpTopic &topic : topics) {
        auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_contents);
        item->setText(0, topic.name);
        item->setToolTip(0, topic.name);
        if (!topic.local.isEmpty())
            item->setData(0, TopicRole, topic.local);
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
