#include "about/aboutbox.h"

#include "about/aboutboxlayout.h"
#include "forms/basecolours.h"
#include "forms/picturebox.h"
#include "forms/twips.h"
#include "forms/windowframe.h"
#include "imaging/picturefile.h"
#include "platform/fonts.h"
#include "platform/messagebox.h"
#include "platform/programlauncher.h"
#include "platform/systeminformation.h"

#include <QLabel>
#include <QPushButton>

#include <array>

namespace {

// The program's title and the version of the build (the project's version numbers).
const QString ProgramTitle = QStringLiteral("Horavista");
constexpr int VersionMajor = HORAVISTA_VERSION_MAJOR;
constexpr int VersionMinor = HORAVISTA_VERSION_MINOR;
constexpr int VersionRevision = HORAVISTA_VERSION_PATCH;

QLabel *makeLabel(QWidget *parent, const QString &name, const QRect &pixels)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setAutoFillBackground(true);
    label->setGeometry(pixels);
    return label;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption, const QRect &pixels)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(pixels);
    return button;
}

/** The icon at its own size, 32 by 32, sharp on a scaled screen. */
QImage iconPicture(const QWidget *widget)
{
    constexpr int Size = 32;
    return PictureFile::builtInIcon().pixmap(QSize(Size, Size), widget->devicePixelRatioF()).toImage();
}

} // namespace

AboutBox::AboutBox(QWidget *parent)
    : AboutBox(parent, SystemInformation::system(), ProgramLauncher::system())
{ }

AboutBox::AboutBox(QWidget *parent, const SystemInformation &systemInformation, ProgramLauncher &launcher)
    : QDialog(parent)
    , m_systemInformation(systemInformation)
    , m_launcher(launcher)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowFlags(WindowFrame::Dialog);
    setWindowIcon(PictureFile::builtInIcon());
    setFont(Fonts::font(Fonts::japaneseGothic(), 9));

    // The designed white ground and black text are the palette's base and text colours.
    BaseColours::apply(this);
    setAutoFillBackground(true);

    createControls();
    setWindowTitle(tr("%1のﾊﾞｰｼﾞｮﾝ情報").arg(ProgramTitle));
}

AboutBox::~AboutBox() = default;

void AboutBox::createControls()
{
    using namespace AboutBoxLayout;
    const int pixelTwips = Twips::pixelTwipsOf(parentWidget());
    setGeometry(Twips::toPixels(Client, pixelTwips));
    setFixedSize(size());
    const auto pixels = Twips::toPixels(Controls, pixelTwips);

    // Made in tab order, so the focus goes OK, ｼｽﾃﾑ情報 and round again; the rest take no focus.
    auto *ok = makeButton(this, QStringLiteral("cmdOK"), tr("OK"), pixels[OkButton]);
    ok->setDefault(true);

    auto *icon = new PictureBox(this, PictureBox::Border::None);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setGeometry(pixels[Icon]);
    icon->setAccessibleName(tr("Horavista のアイコン"));
    // The box takes the size of its picture.
    const QImage iconImage = iconPicture(this);
    icon->setPicture(iconImage);
    icon->resize(iconImage.deviceIndependentSize().toSize());

    auto *systemInformation =
        makeButton(this, QStringLiteral("cmdSysInfo"), tr("ｼｽﾃﾑ情報(&S)..."), pixels[SystemInformationButton]);

    auto *description = makeLabel(this, QStringLiteral("lblDescription"), pixels[Description]);
    description->setText(tr("Copyright (C) 2026 Horavista developers"));
    auto *disclaimer = makeLabel(this, QStringLiteral("lblDisclaimer"), pixels[Disclaimer]);
    disclaimer->setText(tr("本ｿﾌﾄｳｪｱの使用によって生じたいかなる損害についても、作者は一切の責任を負いません。"
                           "ご使用は利用者ご自身の責任でお願いします。"));
    auto *title = makeLabel(this, QStringLiteral("lblTitle"), pixels[Title]);
    title->setText(ProgramTitle);
    auto *version = makeLabel(this, QStringLiteral("lblVersion"), pixels[Version]);
    version->setText(tr("ﾊﾞｰｼﾞｮﾝ %1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision));

    const std::array<QWidget *, 7> tabOrder{ok, icon, systemInformation, description, disclaimer, title, version};
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    ok->setFocus();

    connect(ok, &QPushButton::clicked, this, &AboutBox::accept);
    connect(systemInformation, &QPushButton::clicked, this, &AboutBox::startSystemInformation);
}

void AboutBox::reject()
{
    accept();
}

void AboutBox::startSystemInformation()
{
    // A recorded path that no longer works fails to start and ends in the same message.
    const QString path = m_systemInformation.programPath();
    if (!path.isEmpty() && m_launcher.start(path))
        return;
    MessageBox::show(this, tr("現時点ではｼｽﾃﾑ情報を使用できません"));
}
