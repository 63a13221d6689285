#pragma once

#include <QLabel>
#include <QWidget>

#include <functional>

/**
 * @brief One dial as a whole, for the keyboard and for screen readers.
 *
 * It lies over the dial, takes the focus by Tab and is read as a clock: its name says the dial and
 * its city, its description the time, summer time, the date where it differs from the computer's,
 * and how far the city is ahead of or behind the computer's clock. It draws only a focus frame, and
 * lets the mouse through to the window's surface beneath. The dial pair supplies the texts and
 * tells it when they change; only a dial with the focus announces a new time.
 */
class DialFace : public QWidget
{
    Q_OBJECT
public:
    using Text = std::function<QString()>;

    DialFace(QWidget *surface, const QString &name, const QRect &pixels, Text accessibleName, Text description);

    QString accessibleText() const { return m_accessibleName(); }
    QString descriptionText() const { return m_description(); }

    /** The dial shows another city or time: a screen reader hears it where this dial has the focus. */
    void announce(bool cityChanged);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void maskToFocus();

    Text m_accessibleName;
    Text m_description;
};

/**
 * @brief A text that belongs to a dial (a numeral, the digital time, the city's caption, the summer-time
 * tag): a screen reader hears it through the dial's own object, so it is left out of the reading. It is
 * written in the palette's text colour, as drawn on the base colour of the clock windows.
 */
class DialText : public QLabel
{
    Q_OBJECT
public:
    explicit DialText(QWidget *parent)
        : DialText(QString(), parent)
    { }
    DialText(const QString &text, QWidget *parent)
        : QLabel(text, parent)
    {
        setForegroundRole(QPalette::Text);
    }
};
