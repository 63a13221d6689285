// The floor for the toolkit: the least a Qt Widgets window can do to show two dials with second
// hands that move twice a second. It repaints its whole window at every timer event.

#include <QApplication>
#include <QPainter>
#include <QTime>
#include <QTimer>
#include <QWidget>

#include <cmath>

namespace {

class TwoDials : public QWidget
{
public:
    TwoDials()
    {
        setWindowTitle(QStringLiteral("minimal-qt-dials"));
        setFixedSize(400, 280);
        m_timer.setInterval(500);
        connect(&m_timer, &QTimer::timeout, this, [this] { update(); });
        m_timer.start();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        const QTime now = QTime::currentTime();
        dial(painter, QPointF(61, 61), now);
        dial(painter, QPointF(335, 182), now.addSecs(3600));
    }

private:
    static void dial(QPainter &painter, const QPointF &centre, const QTime &time)
    {
        painter.setPen(Qt::black);
        painter.drawRect(QRectF(centre - QPointF(53, 53), QSizeF(105, 105)));
        const auto hand = [&](double turns, double length) {
            const double angle = turns * 2 * M_PI - M_PI / 2;
            painter.drawLine(centre, centre + QPointF(length * std::cos(angle), length * std::sin(angle)));
        };
        hand(time.second() / 60.0, 35);
        hand(time.minute() / 60.0, 31);
        hand((time.hour() % 12 + time.minute() / 60.0) / 12.0, 23);
    }

    QTimer m_timer;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TwoDials window;
    window.show();
    return app.exec();
}
