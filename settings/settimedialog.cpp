#include "settings/settimedialog.h"

#include "clock/citytable.h"
#include "clock/dialpair.h"
#include "clock/houroffsets.h"
#include "platform/fonts.h"
#include "platform/formcontrols.h"
#include "platform/messagebox.h"
#include "platform/picturefile.h"
#include "platform/twips.h"
#include "settings/mainformcontrols.h"
#include "settings/settimelayout.h"
#include "settings/settingsfile.h"
#include "settings/tokyofallback.h"

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

SetTimeDialog::SetTimeDialog(const QDir &workingFolder, MainFormControls &mainForm, QWidget *parent)
    : QDialog(parent)
    , m_folder(workingFolder)
    , m_mainForm(mainForm)
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
    m_mouse = new FormMouse(this, [this](const QPoint &at) {
        if (m_popUpMenu)
            m_popUpMenu(at);
    });
    Form_Load();
}

SetTimeDialog::~SetTimeDialog() = default;

void SetTimeDialog::createControls()
{
    m_dials = new DialPair(this, SetTimeLayout::dials(), m_layoutTwips);

    // Created in the keyboard's focus order: the dialog opens on Combo1.
    const QFont listFont = Fonts::font(Fonts::sansSerif(), 8.25);
    Combo1 = makeControl<QComboBox>(this, QStringLiteral("Combo1"), SetTimeLayout::Combo1, m_layoutTwips);
    Combo1->setFont(listFont);
    Combo2 = makeControl<QComboBox>(this, QStringLiteral("Combo2"), SetTimeLayout::Combo2, m_layoutTwips);
    Combo2->setFont(listFont);
    btnExit = makeButton(this, QStringLiteral("btnExit"), tr("キャンセル"), tr("++ 終了します ++"),
                         SetTimeLayout::btnExit, m_layoutTwips);
    setTime = makeButton(this, QStringLiteral("setTime"), tr("設定"), tr("++ 時計を設定します ++"),
                         SetTimeLayout::setTime, m_layoutTwips);
    // The boxes are too narrow for their stored captions: only the box shows.
    Check1 = makeControl<QCheckBox>(this, QStringLiteral("Check1"), SetTimeLayout::Check1, m_layoutTwips);
    Check1->setText(QStringLiteral("Check1"));
    Check2 = makeControl<QCheckBox>(this, QStringLiteral("Check2"), SetTimeLayout::Check2, m_layoutTwips);
    Check2->setText(QStringLiteral("Check1"));
    Label1 = makeSummerTimeLabel(this, QStringLiteral("Label1"), SetTimeLayout::Label1, m_layoutTwips);
    Label2 = makeSummerTimeLabel(this, QStringLiteral("Label2"), SetTimeLayout::Label2, m_layoutTwips);
    setTabOrder(Combo1, Combo2);
    setTabOrder(Combo2, btnExit);
    setTabOrder(btnExit, setTime);
    setTabOrder(setTime, Check1);
    setTabOrder(Check1, Check2);

    connect(Combo1, &QComboBox::activated, this, &SetTimeDialog::Combo1_Click);
    connect(Combo2, &QComboBox::activated, this, &SetTimeDialog::Combo2_Click);
    // A box's handler runs on every change of its tick, by the user or by the program.
    connect(Check1, &QCheckBox::toggled, this, &SetTimeDialog::Check1_Click);
    connect(Check2, &QCheckBox::toggled, this, &SetTimeDialog::Check2_Click);
    connect(setTime, &QPushButton::clicked, this, &SetTimeDialog::setTime_Click);
    connect(btnExit, &QPushButton::clicked, this, &SetTimeDialog::btnExit_Click);
}

void SetTimeDialog::Form_Load()
{
    setWindowIcon(PictureFile::windowIcon(m_folder.filePath(IconFile)));
    FillCityCombo(Combo1);
    FillCityCombo(Combo2);
    LoadSettings();

    PixelTwips = Twips::pixelTwipsOf(this);
    m_mouse->setPixelTwips(PixelTwips);
    // The dialog opens centred over the main window, where the user is looking, rather than in the
    // screen's lower right corner, mostly off the screen.
    m_dials->load(PixelTwips);
    Combo1->setFocus();
}

void SetTimeDialog::FillCityCombo(QComboBox *targetList)
{
    appendCityNames(targetList);
    HourOffsetA = 0;
    HourOffsetB = 0;
}

void SetTimeDialog::UpdateOffsetA()
{
    HourOffsetA = zoneOffsetAt(Combo1->currentIndex());
}

void SetTimeDialog::UpdateOffsetB()
{
    HourOffsetB = zoneOffsetAt(Combo2->currentIndex());
}

void SetTimeDialog::Combo1_Click()
{
    Check1->setChecked(false);
    SummerTimeA = false;
    UpdateOffsetA();
}

void SetTimeDialog::Combo2_Click()
{
    Check2->setChecked(false);
    SummerTimeB = false;
    UpdateOffsetB();
}

void SetTimeDialog::Check1_Click()
{
    // Worked out afresh from the city each time, so ticking and clearing never drift.
    UpdateOffsetA();
    SummerTimeA = Check1->isChecked();
    if (SummerTimeA)
        HourOffsetA = qint16(HourOffsetA + 1);
}

void SetTimeDialog::Check2_Click()
{
    UpdateOffsetB();
    SummerTimeB = Check2->isChecked();
    if (SummerTimeB)
        HourOffsetB = qint16(HourOffsetB + 1);
}

void SetTimeDialog::LoadSettings()
{
    const SettingsFile::Fields fields = SettingsFile(m_folder).readFields();
    if (fields.status == SettingsFile::ReadStatus::NotFound) {
        LoadTokyo();
        return;
    }
    // A damaged file stops the reading at the failing step, silently, keeping what came before.
    if (fields.status != SettingsFile::ReadStatus::Ok)
        return;
    const QStringList &f = fields.values;
    if (!selectCity(Combo1, f[1], [this] { Combo1_Click(); }))
        return;
    if (!selectCity(Combo2, f[3], [this] { Combo2_Click(); }))
        return;
    const std::optional<qint16> offsetA = SettingsFile::toHourOffset(f[0]);
    if (!offsetA)
        return;
    HourOffsetA = *offsetA;
    const std::optional<qint16> offsetB = SettingsFile::toHourOffset(f[2]);
    if (!offsetB)
        return;
    HourOffsetB = *offsetB;
    // Ticking a box works its dial's offset out again from the city, plus the summer hour.
    if (SettingsFile::isTrue(f[4]))
        Check1->setChecked(true);
    if (SettingsFile::isTrue(f[5]))
        Check2->setChecked(true);
}

void SetTimeDialog::LoadTokyo()
{
    HourOffsetA = 0;
    HourOffsetB = 0;
    FormControls::selectListEntry(Combo1, 0, [this] { Combo1_Click(); });
    FormControls::selectListEntry(Combo2, 0, [this] { Combo2_Click(); });
    Check1->setChecked(false);
    Check2->setChecked(false);
}

void SetTimeDialog::setTime_Click()
{
    const ClockSettings settings{HourOffsetA,           Combo1->currentText(), HourOffsetB,
                                 Combo2->currentText(), SummerTimeA,           SummerTimeB};
    const SettingsFile::WriteResult written = SettingsFile(m_folder).write(settings);
    if (!written.ok) {
        qWarning().noquote() << QStringLiteral("%1: %2").arg(QLatin1String(SettingsFile::FileName), written.error);
        failSet(true);
        return;
    }
    if (!ApplyToMainForm()) {
        failSet(false);
        return;
    }
    // Reading back what was just written puts both offsets back to the saved values, undoing what
    // the main window's list handler did to dial B's.
    LoadSettings();
    accept();
}

bool SetTimeDialog::ApplyToMainForm()
{
    if (!m_mainForm.selectCityB(Combo2->currentText()))
        return false;
    m_mainForm.setCityCaptionA(Combo1->currentText());
    m_mainForm.setCityCaptionB(Combo2->currentText());
    m_mainForm.showSummerTimeA(SummerTimeA);
    m_mainForm.showSummerTimeB(SummerTimeB);
    return true;
}

void SetTimeDialog::failSet(bool writeFailed)
{
    // A save that did not happen is never passed off as one; the previous file stays as it was.
    if (writeFailed)
        MessageBox::show(this, tr("設定ファイルに書き込みができません"));
    ShowTokyoOnBothDials(m_mainForm);
    reject();
}

void SetTimeDialog::btnExit_Click()
{
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
