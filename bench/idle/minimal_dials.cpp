// The floor for the toolkit: the least a Qt Widgets window can do to show two dials with second
// hands that move twice a second. It repaints its whole window at every timer event.
// With --text it also writes each dial's time as digits, in the fonts the clock uses, to show what
// text alone costs (the font database, shaping).

#include "floordial.h"

#include <QApplication>
#include <QPainter>
#include <QTime>
#include <QTimer>
#include <QWidget>

namespace {

class TwoDials : public QWidget
{
public:
    explicit TwoDials(bool text)
        : m_text(text)
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
        painter.setPen(Qt::black);
        paintFloorDial(painter, QPointF(61, 61), now);
        paintFloorDial(painter, QPointF(335, 182), now.addSecs(3600));
        if (m_text) {
            painter.setFont(QFont(QStringLiteral("IPAPGothic"), 9));
            painter.drawText(QPointF(40, 140), now.toString(QStringLiteral("hh:mm:ss")));
            painter.drawText(QPointF(310, 115), now.addSecs(3600).toString(QStringLiteral("hh:mm:ss")));
        }
    }

private:
    bool m_text;
    QTimer m_timer;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TwoDials window(app.arguments().contains(QStringLiteral("--text")));
    window.show();
    return app.exec();
}
