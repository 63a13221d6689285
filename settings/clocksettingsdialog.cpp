#include "settings/settimedialog.h"

#include "clock/citytable.h"
#include "clock/clockmodel.h"
#include "clock/dialpair.h"
#include "platform/fonts.h"
#include "platform/formcontrols.h"
#include "platform/messagebox.h"
#include "platform/picturefile.h"
#include "platform/twips.h"
#include "settings/mainformcontrols.h"
#include "settings/settimelayout.h"
#include "settings/settingsfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>

namespace {

const QString IconFile = QStringLiteral("ico.ico");

/** Lists, boxes and buttons keep the mouse: a press on them neither drags the dialog nor opens the menu. */
template <typename Control>
Control *makeControl(QWidget *parent, const QString &name, const QRect &twips, int pixelTwips)
{
    auto *control = new Control(parent);
    control->setObjectName(name);
    control->setAttribute(Qt::WA_NoMousePropagation);
    FormControls::place(control, twips, pixelTwips);
    return control;
}

QLabel *makeSummerTimeLabel(QWidget *parent, const QString &name, const QRect &twips, int pixelTwips)
{
    auto *label = new QLabel(QStringLiteral("Summer+Time"), parent);
    label->setObjectName(name);
    label->setFont(Fonts::font(Fonts::sansSerif(), 8.25));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true); // opaque, in the dialog's white
    FormControls::place(label, twips, pixelTwips);
    return label;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &text, const QString &toolTip,
                        const QRect &twips, int pixelTwips)
{
    auto *button = makeControl<QPushButton>(parent, name, twips, pixelTwips);
    button->setText(text);
    button->setToolTip(toolTip);
    // Neither button is the dialog's default: Enter presses neither.
    button->setAutoDefault(false);
    return button;
}

bool selectCity(QComboBox *list, const QString &city, const std::function<void()> &clickHandler)
{
    const int index = FormControls::findListEntry(list, city);
    if (index < 0)
        return false;
    FormControls::selectListEntry(list, index, clickHandler);
    return true;
}

} // namespace

SetTimeDialog::SetTimeDialog(const QDir &workingFolder, MainFormControls &mainForm, ClockModel &clock, QWidget *parent)
    : QDialog(parent)
    , m_folder(workingFolder)
    , m_mainForm(mainForm)
    , m_clock(clock)
    , m_layoutTwips(Twips::pixelTwipsOf(parent))
    , m_worldMap(QString::fromLatin1(SetTimeLayout::WorldMap))
{
    setObjectName(QStringLiteral("setTime"));
    setWindowTitle(tr("++ 時計設定 ++"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    QPalette white = palette();
    white.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xFF));
    setPalette(white);
    setAutoFillBackground(true);
    setFont(SetTimeLayout::defaultFont());
    setFixedSize(Twips::toPixels(SetTimeLayout::ClientWidth, m_layoutTwips),
                 Twips::toPixels(SetTimeLayout::ClientHeight, m_layoutTwips));
    createControls();
    m_mouse = new SurfaceMouse(this, [this](const QPoint &at) {
        if (m_popUpMenu)
            m_popUpMenu(at);
    });
    load();
}

SetTimeDialog::~SetTimeDialog() = default;

void SetTimeDialog::createControls()
{
    m_dials = new DialPair(this, SetTimeLayout::dials(), m_layoutTwips, m_clock);

    // Created in the keyboard's focus order: the dialog opens on dial A's list.
    const QFont listFont = Fonts::font(Fonts::sansSerif(), 8.25);
    m_cityListA = makeControl<QComboBox>(this, QStringLiteral("Combo1"), SetTimeLayout::CityListA, m_layoutTwips);
    m_cityListA->setFont(listFont);
    m_cityListB = makeControl<QComboBox>(this, QStringLiteral("Combo2"), SetTimeLayout::CityListB, m_layoutTwips);
    m_cityListB->setFont(listFont);
    auto *cancel = makeButton(this, QStringLiteral("btnExit"), tr("キャンセル"), tr("++ 終了します ++"),
                              SetTimeLayout::CancelButton, m_layoutTwips);
    auto *set = makeButton(this, QStringLiteral("setTime"), tr("設定"), tr("++ 時計を設定します ++"),
                           SetTimeLayout::SetButton, m_layoutTwips);
    // The boxes are too narrow for their stored captions: only the box shows.
    m_summerTimeBoxA =
        makeControl<QCheckBox>(this, QStringLiteral("Check1"), SetTimeLayout::SummerTimeBoxA, m_layoutTwips);
    m_summerTimeBoxA->setText(QStringLiteral("Check1"));
    m_summerTimeBoxB =
        makeControl<QCheckBox>(this, QStringLiteral("Check2"), SetTimeLayout::SummerTimeBoxB, m_layoutTwips);
    m_summerTimeBoxB->setText(QStringLiteral("Check1"));
    makeSummerTimeLabel(this, QStringLiteral("Label1"), SetTimeLayout::SummerTimeLabelA, m_layoutTwips);
    makeSummerTimeLabel(this, QStringLiteral("Label2"), SetTimeLayout::SummerTimeLabelB, m_layoutTwips);
    setTabOrder(m_cityListA, m_cityListB);
    setTabOrder(m_cityListB, cancel);
    setTabOrder(cancel, set);
    setTabOrder(set, m_summerTimeBoxA);
    setTabOrder(m_summerTimeBoxA, m_summerTimeBoxB);

    connect(m_cityListA, &QComboBox::activated, this, &SetTimeDialog::onCityAChosen);
    connect(m_cityListB, &QComboBox::activated, this, &SetTimeDialog::onCityBChosen);
    // A box's handler runs on every change of its tick, by the user or by the program.
    connect(m_summerTimeBoxA, &QCheckBox::toggled, this, &SetTimeDialog::onSummerTimeAToggled);
    connect(m_summerTimeBoxB, &QCheckBox::toggled, this, &SetTimeDialog::onSummerTimeBToggled);
    connect(set, &QPushButton::clicked, this, &SetTimeDialog::save);
    connect(cancel, &QPushButton::clicked, this, &SetTimeDialog::reject);
}

void SetTimeDialog::load()
{
    setWindowIcon(PictureFile::windowIcon(m_folder.filePath(IconFile)));
    fillCityList(m_cityListA);
    fillCityList(m_cityListB);
    loadSettings(SettingsFile(m_folder).read());

    const int pixelTwips = Twips::pixelTwipsOf(this);
    m_mouse->setPixelTwips(pixelTwips);
    m_dials->placePivots(pixelTwips);
    m_cityListA->setFocus();
}

void SetTimeDialog::fillCityList(QComboBox *list)
{
    appendCityNames(list);
    m_clock.setOffsets(0, 0);
}

void SetTimeDialog::onCityAChosen()
{
    // A newly chosen city starts without summer time.
    m_summerTimeBoxA->setChecked(false);
    m_summerTimeA = false;
    m_clock.setOffsetA(zoneOffsetAt(m_cityListA->currentIndex()));
}

void SetTimeDialog::onCityBChosen()
{
    m_summerTimeBoxB->setChecked(false);
    m_summerTimeB = false;
    m_clock.setOffsetB(zoneOffsetAt(m_cityListB->currentIndex()));
}

void SetTimeDialog::onSummerTimeAToggled()
{
    // Worked out afresh from the city each time, so ticking and clearing never drift.
    m_summerTimeA = m_summerTimeBoxA->isChecked();
    m_clock.setOffsetA(qint16(zoneOffsetAt(m_cityListA->currentIndex()) + (m_summerTimeA ? 1 : 0)));
}

void SetTimeDialog::onSummerTimeBToggled()
{
    m_summerTimeB = m_summerTimeBoxB->isChecked();
    m_clock.setOffsetB(qint16(zoneOffsetAt(m_cityListB->currentIndex()) + (m_summerTimeB ? 1 : 0)));
}

void SetTimeDialog::loadSettings(const SavedSettings &saved)
{
    if (saved.reading == SavedSettings::Reading::NotFound) {
        showTokyo();
        return;
    }
    // A damaged file stops the reading at the failing step, silently, keeping what came before.
    if (saved.reading != SavedSettings::Reading::Complete)
        return;
    if (!selectCity(m_cityListA, saved.cityA, [this] { onCityAChosen(); }))
        return;
    if (!selectCity(m_cityListB, saved.cityB, [this] { onCityBChosen(); }))
        return;
    if (!saved.offsetA)
        return;
    m_clock.setOffsetA(*saved.offsetA);
    if (!saved.offsetB)
        return;
    m_clock.setOffsetB(*saved.offsetB);
    // Ticking a box works its dial's offset out again from the city, plus the summer hour.
    if (saved.summerTimeA)
        m_summerTimeBoxA->setChecked(true);
    if (saved.summerTimeB)
        m_summerTimeBoxB->setChecked(true);
}

void SetTimeDialog::showTokyo()
{
    m_clock.setOffsets(0, 0);
    FormControls::selectListEntry(m_cityListA, 0, [this] { onCityAChosen(); });
    FormControls::selectListEntry(m_cityListB, 0, [this] { onCityBChosen(); });
    m_summerTimeBoxA->setChecked(false);
    m_summerTimeBoxB->setChecked(false);
}

void SetTimeDialog::save()
{
    const ClockSettings chosen{m_clock.offsetA(), m_cityListA->currentText(),
                               m_clock.offsetB(), m_cityListB->currentText(),
                               m_summerTimeA,     m_summerTimeB};
    const SettingsFile::WriteResult written = SettingsFile(m_folder).write(chosen);
    if (!written.ok) {
        qWarning().noquote() << QStringLiteral("%1: %2").arg(QLatin1String(SettingsFile::FileName), written.error);
        fallBackToTokyo(true);
        return;
    }
    // The main window's list takes dial B's city without summer time; the clock keeps the saved offsets.
    if (!m_mainForm.showSettings(chosen, m_clock)) {
        fallBackToTokyo(false);
        return;
    }
    accept();
}

void SetTimeDialog::fallBackToTokyo(bool writeFailed)
{
    // A save that did not happen is never passed off as one; the previous file stays as it was.
    if (writeFailed)
        MessageBox::show(this, tr("設定ファイルに書き込みができません"));
    m_mainForm.showTokyo(m_clock);
    reject();
}

void SetTimeDialog::keyPressEvent(QKeyEvent *event)
{
    // Neither button is the dialog's cancel button: Escape closes nothing.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SetTimeDialog::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_worldMap);
    m_dials->paint(painter, event->rect());
}
