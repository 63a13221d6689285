#include "settings/clocksettingsdialog.h"

#include "clock/citytable.h"
#include "dials/citylist.h"
#include "dials/dialface.h"
#include "dials/dialpair.h"
#include "dials/summertimetag.h"
#include "forms/basecolours.h"
#include "forms/listname.h"
#include "forms/twips.h"
#include "forms/windowframe.h"
#include "imaging/picturefile.h"
#include "platform/fonts.h"
#include "platform/messagebox.h"
#include "platform/workingfiles.h"
#include "settings/clocksettingslayout.h"
#include "settings/settingsfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

/** Lists, boxes and buttons keep the mouse: a press on them neither drags the dialog nor opens the menu. */
template <typename Control>
Control *makeControl(QWidget *parent, const QString &name, const QRect &pixels)
{
    auto *control = new Control(parent);
    control->setObjectName(name);
    control->setAttribute(Qt::WA_NoMousePropagation);
    control->setGeometry(pixels);
    return control;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &text, const QString &toolTip,
                        const QRect &pixels)
{
    auto *button = makeControl<QPushButton>(parent, name, pixels);
    button->setText(text);
    button->setToolTip(toolTip);
    // Neither button is the dialog's default: Enter presses neither.
    button->setAutoDefault(false);
    return button;
}

/**
 * The world map, pale grey on white, in the dialog's colours: white becomes @p ground and black @p ink,
 * so that a dark palette gets a dark map under light text. The designed colours leave it as it is.
 */
QImage mapInColours(const QImage &map, const QColor &ground, const QColor &ink)
{
    if (ground == Qt::white && ink == Qt::black)
        return map;
    QImage shown = map.convertToFormat(QImage::Format_RGB32);
    const auto mix = [](int level, int groundLevel, int inkLevel) {
        return (groundLevel * level + inkLevel * (255 - level) + 127) / 255;
    };
    for (int y = 0; y < shown.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(shown.scanLine(y));
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb pixel = line[x];
            line[x] = qRgb(mix(qRed(pixel), ground.red(), ink.red()), mix(qGreen(pixel), ground.green(), ink.green()),
                           mix(qBlue(pixel), ground.blue(), ink.blue()));
        }
    }
    return shown;
}

} // namespace

ClockSettingsDialog::ClockSettingsDialog(const QDir &workingFolder, ClockModel &clock, QWidget *parent)
    : QDialog(parent)
    , m_folder(workingFolder)
    , m_clock(clock)
    , m_shownBefore(clock.state())
    , m_worldMap(QString::fromLatin1(ClockSettingsLayout::WorldMap))
{
    const int pixelTwips = Twips::pixelTwipsOf(parent);
    setObjectName(QStringLiteral("setTime"));
    setWindowTitle(tr("++ 時計設定 ++"));
    setWindowFlags(WindowFrame::Dialog);
    // The designed white ground and black text are the palette's base and text colours.
    BaseColours::apply(this);
    setAutoFillBackground(true);
    setAccessibleDescription(tr("世界地図を背景に、二つの時計が選んだ都市の時刻を示します"));
    setFont(ClockSettingsLayout::defaultFont());
    setFixedSize(Twips::toPixels(ClockSettingsLayout::ClientWidth, pixelTwips),
                 Twips::toPixels(ClockSettingsLayout::ClientHeight, pixelTwips));
    setWindowIcon(PictureFile::windowIcon(m_folder.filePath(QString::fromLatin1(WorkingFiles::Icon))));
    createControls(pixelTwips);
    new SurfaceMouse(this, [this](const QPoint &at, bool byKeyboard) {
        if (m_popUpMenu)
            m_popUpMenu(at, byKeyboard);
    });

    connect(&m_clock, &ClockModel::changed, this, &ClockSettingsDialog::showChoices);
    m_clock.setState(SettingsFile(m_folder).read().forClockSettings());
    showChoices();
    m_cityListA->setFocus();
}

ClockSettingsDialog::~ClockSettingsDialog() = default;

void ClockSettingsDialog::createControls(int pixelTwips)
{
    using namespace ClockSettingsLayout;
    m_dials = new DialPair(this, dials(), pixelTwips, m_clock);

    // Created in the keyboard's focus order: the dialog opens on dial A's list.
    const auto pixels = Twips::toPixels(Controls, pixelTwips);
    const QFont listFont = Fonts::font(Fonts::sansSerif(), 8.25);
    m_cityListA = makeControl<QComboBox>(this, QStringLiteral("Combo1"), pixels[CityListA]);
    m_cityListA->setFont(listFont);
    m_cityListB = makeControl<QComboBox>(this, QStringLiteral("Combo2"), pixels[CityListB]);
    m_cityListB->setFont(listFont);
    CityList::fill(m_cityListA);
    CityList::fill(m_cityListB);
    nameList(m_cityListA, tr("時計 A の都市"));
    nameList(m_cityListB, tr("時計 B の都市"));
    auto *cancel =
        makeButton(this, QStringLiteral("btnExit"), tr("キャンセル"), tr("++ 終了します ++"), pixels[CancelButton]);
    auto *set =
        makeButton(this, QStringLiteral("setTime"), tr("設定"), tr("++ 時計を設定します ++"), pixels[SetButton]);
    // The boxes are only as wide as their tick; the captions beside them name them.
    m_summerTimeBoxA = makeControl<QCheckBox>(this, QStringLiteral("Check1"), pixels[SummerTimeBoxA]);
    m_summerTimeBoxA->setAccessibleName(tr("時計 A のサマータイム"));
    m_summerTimeBoxB = makeControl<QCheckBox>(this, QStringLiteral("Check2"), pixels[SummerTimeBoxB]);
    m_summerTimeBoxB->setAccessibleName(tr("時計 B のサマータイム"));
    SummerTimeTag::make(this, "Label1", pixels[SummerTimeCaptionA], SummerTimeTag::Look::Caption);
    SummerTimeTag::make(this, "Label2", pixels[SummerTimeCaptionB], SummerTimeTag::Look::Caption);
    setTabOrder(m_cityListA, m_cityListB);
    setTabOrder(m_cityListB, cancel);
    setTabOrder(cancel, set);
    setTabOrder(set, m_summerTimeBoxA);
    setTabOrder(m_summerTimeBoxA, m_summerTimeBoxB);
    // Dial A and dial B, made first, follow Check2 as the focus goes round.

    // A city chosen, even the one already shown, clears its dial's summer time.
    connect(m_cityListA, &QComboBox::activated, this, [this](int index) { m_clock.chooseCity(Dial::A, index); });
    connect(m_cityListB, &QComboBox::activated, this, [this](int index) { m_clock.chooseCity(Dial::B, index); });
    connect(m_summerTimeBoxA, &QCheckBox::toggled, this, [this](bool on) { m_clock.setSummerTime(Dial::A, on); });
    connect(m_summerTimeBoxB, &QCheckBox::toggled, this, [this](bool on) { m_clock.setSummerTime(Dial::B, on); });
    connect(set, &QPushButton::clicked, this, &ClockSettingsDialog::save);
    connect(cancel, &QPushButton::clicked, this, &ClockSettingsDialog::reject);
}

void ClockSettingsDialog::showChoices()
{
    const ClockState &shown = m_clock.state();
    CityList::select(m_cityListA, shown.a.city);
    CityList::select(m_cityListB, shown.b.city);
    // Showing the model's summer time is no choice of the user's.
    const QSignalBlocker blockA(m_summerTimeBoxA);
    const QSignalBlocker blockB(m_summerTimeBoxB);
    m_summerTimeBoxA->setChecked(shown.a.summerTime);
    m_summerTimeBoxB->setChecked(shown.b.summerTime);
}

void ClockSettingsDialog::save()
{
    const ClockState chosen = m_clock.state();
    const SettingsFile::WriteResult written = SettingsFile(m_folder).write(chosen);
    if (!written.ok) {
        qWarning().noquote() << QStringLiteral("%1: %2").arg(QLatin1String(WorkingFiles::Settings), written.error);
        fallBackToTokyo(true);
        return;
    }
    // The main window's list names dial B: a choice without a city there cannot stand on the main window.
    if (cityIndex(chosen.b.city) < 0) {
        fallBackToTokyo(false);
        return;
    }
    accept();
}

void ClockSettingsDialog::fallBackToTokyo(bool writeFailed)
{
    // A save that did not happen is never passed off as one; the previous file stays as it was.
    if (writeFailed)
        MessageBox::show(this, tr("設定ファイルに書き込みができません"));
    m_clock.setState(ClockState::tokyo());
    done(Rejected);
}

void ClockSettingsDialog::reject()
{
    m_clock.setState(m_shownBefore);
    QDialog::reject();
}

void ClockSettingsDialog::keyPressEvent(QKeyEvent *event)
{
    // Neither button is the dialog's cancel button: Escape closes nothing.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ClockSettingsDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        m_shownMap = QImage();
    QDialog::changeEvent(event);
}

void ClockSettingsDialog::paintEvent(QPaintEvent *event)
{
    if (m_shownMap.isNull())
        m_shownMap = mapInColours(m_worldMap, palette().color(QPalette::Window), palette().color(QPalette::WindowText));
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_shownMap);
    m_dials->paint(painter, event->rect());
}
