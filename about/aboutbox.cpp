#include "about/aboutbox.h"

#include "about/aboutboxlayout.h"
#include "platform/fonts.h"
#include "platform/formcontrols.h"
#include "platform/messagebox.h"
#include "platform/picturebox.h"
#include "platform/picturefile.h"
#include "platform/twips.h"

#include <QLabel>
#include <QPushButton>

#include <array>

namespace {

// The program's title and the version of the build (the project's version numbers).
const QString Title = QStringLiteral("Horavista");
constexpr int VersionMajor = HORAVISTA_VERSION_MAJOR;
constexpr int VersionMinor = HORAVISTA_VERSION_MINOR;
constexpr int VersionRevision = HORAVISTA_VERSION_PATCH;

// Where the system-information program is recorded: its own entry first, then the shared tools' folder.
const QString RegKeySysInfo = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString RegValSysInfo = QStringLiteral("PATH");
const QString RegKeySysInfoLoc = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString RegValSysInfoLoc = QStringLiteral("MSINFO");
const QString SysInfoProgram = QStringLiteral("\\MSINFO32.EXE");

constexpr quint32 ValueBufferSize = 1024;

QLabel *makeLabel(QWidget *parent, const QString &name, const QRect &twips, int pixelTwips)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setAutoFillBackground(true);
    FormControls::place(label, twips, pixelTwips);
    return label;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption, const QRect &twips,
                        int pixelTwips)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    FormControls::place(button, twips, pixelTwips);
    return button;
}

/** The icon at its own size, 32 by 32, sharp on a scaled screen. */
QImage iconPicture(const QWidget *widget)
{
    constexpr int Size = 32;
    return PictureFile::builtInIcon().pixmap(QSize(Size, Size), widget->devicePixelRatioF()).toImage();
}

} // namespace

AboutBox::AboutBox(QWidget *parent, Registry &registry, ProgramLauncher &launcher)
    : QDialog(parent)
    , m_registry(registry)
    , m_launcher(launcher)
{
    setObjectName(QStringLiteral("frmAbout"));
    // A fixed dialog frame: a title and a close box, nothing to resize, minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(PictureFile::builtInIcon());
    setFont(Fonts::font(Fonts::japaneseGothic(), 9));

    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    createControls();
    Form_Load();
}

AboutBox::~AboutBox() = default;

void AboutBox::createControls()
{
    const int pixelTwips = Twips::pixelTwipsOf(parentWidget());
    setGeometry(Twips::toPixels(AboutBoxLayout::Client, pixelTwips));
    setFixedSize(size());

    // Made in tab order, so the focus goes OK, ｼｽﾃﾑ情報 and round again; the rest take no focus.
    cmdOK = makeButton(this, QStringLiteral("cmdOK"), tr("OK"), AboutBoxLayout::cmdOK, pixelTwips);
    cmdOK->setDefault(true);

    picIcon = new PictureBox(this, PictureBox::Border::None);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    FormControls::place(picIcon, AboutBoxLayout::picIcon, pixelTwips);
    // The box takes the size of its picture.
    const QImage icon = iconPicture(this);
    picIcon->setPicture(icon);
    picIcon->resize(icon.deviceIndependentSize().toSize());

    cmdSysInfo =
        makeButton(this, QStringLiteral("cmdSysInfo"), tr("ｼｽﾃﾑ情報(&S)..."), AboutBoxLayout::cmdSysInfo, pixelTwips);

    lblDescription = makeLabel(this, QStringLiteral("lblDescription"), AboutBoxLayout::lblDescription, pixelTwips);
    lblDescription->setText(tr("Copyright (C) 2026 Horavista developers"));
    lblDisclaimer = makeLabel(this, QStringLiteral("lblDisclaimer"), AboutBoxLayout::lblDisclaimer, pixelTwips);
    lblDisclaimer->setText(tr("本ｿﾌﾄｳｪｱの使用によって生じたいかなる損害についても、作者は一切の責任を負いません。"
                              "ご使用は利用者ご自身の責任でお願いします。"));
    lblTitle = makeLabel(this, QStringLiteral("lblTitle"), AboutBoxLayout::lblTitle, pixelTwips);
    lblVersion = makeLabel(this, QStringLiteral("lblVersion"), AboutBoxLayout::lblVersion, pixelTwips);

    for (QLabel *label : {lblTitle, lblDescription, lblDisclaimer}) {
        QPalette black = label->palette();
        black.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(black);
    }

    const std::array<QWidget *, 7> tabOrder{cmdOK,         picIcon,  cmdSysInfo, lblDescription,
                                            lblDisclaimer, lblTitle, lblVersion};
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, &AboutBox::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutBox::cmdSysInfo_Click);
}

void AboutBox::Form_Load()
{
    setWindowTitle(Title + tr("のﾊﾞｰｼﾞｮﾝ情報"));
    lblVersion->setText(tr("ﾊﾞｰｼﾞｮﾝ ") + QString::number(VersionMajor) + QLatin1Char('.') +
                        QString::number(VersionMinor) + QLatin1Char('.') + QString::number(VersionRevision));
    lblTitle->setText(Title);
}

void AboutBox::cmdOK_Click()
{
    accept();
}

void AboutBox::reject()
{
    cmdOK_Click();
}

void AboutBox::cmdSysInfo_Click()
{
    StartSysInfo();
}

void AboutBox::StartSysInfo()
{
    QString SysInfoPath;
    bool found = GetKeyValue(Registry::LocalMachine, RegKeySysInfo, RegValSysInfo, SysInfoPath);
    // The recorded path is started as it is: a stale one fails to start and ends in the message.
    if (!found && GetKeyValue(Registry::LocalMachine, RegKeySysInfoLoc, RegValSysInfoLoc, SysInfoPath) &&
        m_launcher.fileExists(SysInfoPath + SysInfoProgram)) {
        SysInfoPath += SysInfoProgram;
        found = true;
    }
    if (found && m_launcher.start(SysInfoPath))
        return;
    MessageBox::show(this, tr("現時点ではｼｽﾃﾑ情報を使用できません"));
}

bool AboutBox::GetKeyValue(Registry::Key KeyRoot, const QString &KeyName, const QString &SubKeyRef, QString &KeyVal)
{
    Registry::Key hKey = 0;
    const auto fail = [&] {
        KeyVal.clear();
        m_registry.closeKey(hKey);
        return false;
    };

    // Read access only: under LocalMachine a standard account may not ask for more.
    if (m_registry.openKey(KeyRoot, KeyName.toLocal8Bit(), 0, Registry::ReadAccess, &hKey) != Registry::Success)
        return fail();

    std::array<char, ValueBufferSize> tmpVal{};
    quint32 KeyValSize = ValueBufferSize;
    quint32 KeyValType = 0;
    if (m_registry.queryValue(hKey, SubKeyRef.toLocal8Bit(), &KeyValType, tmpVal.data(), &KeyValSize) !=
        Registry::Success)
        return fail();

    const QByteArray text(tmpVal.data(), static_cast<qsizetype>(qstrnlen(tmpVal.data(), tmpVal.size())));
    switch (KeyValType) {
    case Registry::String:
        KeyVal = QString::fromLocal8Bit(text);
        break;
    case Registry::DoubleWord:
        // The value's bytes up to the first zero byte, last first, each as hexadecimal digits without a
        // leading zero. The text stays in its "&h" form: no lookup of the About box reads a double word.
        for (qsizetype i = text.size() - 1; i >= 0; --i)
            KeyVal += QString::number(static_cast<uchar>(text.at(i)), 16).toUpper();
        KeyVal.prepend(QLatin1String("&h"));
        break;
    default:
        break;
    }

    m_registry.closeKey(hKey);
    return true;
}
