// The floor for the clock's own window: the kinds of widgets that its main window is made of, and
// nothing of the clock. A main window with a menu bar of three menus, a combo box of 36 names, sixteen
// labels in the clock's two fonts (two of them write the time) and a surface with two dials, all
// repainted in Qt's ordinary way once a second. What Qt Widgets needs in memory for such a window is
// what no clock built of these widgets can go below.

#include "floordial.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QTime>
#include <QTimer>

namespace {

class Surface : public QWidget
{
public:
    Surface()
    {
        setBackgroundRole(QPalette::Base);
        setAutoFillBackground(true);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QTime now = QTime::currentTime();
        paintFloorDial(painter, QPointF(61, 61), now);
        paintFloorDial(painter, QPointF(335, 182), now.addSecs(3600));
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("qt-widget-floor"));
    for (const QString &title : {QStringLiteral("File"), QStringLiteral("Option"), QStringLiteral("Help")})
        window.menuBar()->addMenu(title)->addAction(title);
    auto *surface = new Surface;
    window.setCentralWidget(surface);

    const QFont times(QStringLiteral("IPAPGothic"), 9);
    const QFont numerals(QStringLiteral("DejaVu Sans Condensed"), 8);
    QList<QLabel *> clocks;
    for (int i = 0; i < 16; ++i) {
        auto *label = new QLabel(QString::number(i), surface);
        label->setFont(i < 4 ? times : numerals);
        label->setGeometry(130 + (i % 4) * 30, 20 + (i / 4) * 20, 28, 18);
        if (i < 2)
            clocks.append(label);
    }
    auto *cities = new QComboBox(surface);
    for (int i = 0; i < 36; ++i)
        cities->addItem(QStringLiteral("City %1").arg(i + 1));
    cities->setGeometry(8, 248, 385, 23);
    window.setFixedSize(400, 300);
    window.show();

    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, surface, [&] {
        for (QLabel *label : std::as_const(clocks))
            label->setText(QTime::currentTime().toString(QStringLiteral("hh:mm:ss")));
        surface->update();
    });
    timer.start(1000);
    return app.exec();
}
