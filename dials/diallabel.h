#pragma once

#include "dials/dialface.h"

#include <QLabel>
#include <QList>
#include <QRawFont>
#include <QRectF>

#include <array>

/**
 * @brief A label of the clock windows (a numeral, a digital time, a city's name) that keeps its text's
 * glyphs from one paint to the next.
 *
 * QLabel lays its text out afresh at every paint, and the dials' labels are repainted each second
 * where a hand or a changed digit touches them. This label lays its text out once per change of text,
 * font, palette or screen, and paints only the glyphs that the repainted part touches, at the very
 * places where QLabel puts them, so that the pixels are QLabel's. Digits and colons, which fonts set
 * one after another at a fixed advance each, as figures in a table, it sets from glyphs looked up
 * once, without laying them out. Text on several lines or read right to left, and a disabled label,
 * it paints as QLabel does.
 */
class DialLabel : public DialText
{
    Q_OBJECT
public:
    enum class Repaint {
        Whole, ///< a change of text repaints the whole label, as QLabel does
        /**
         * showText() repaints only the digits that changed, as a time that moves on by a second needs.
         * QLabel::setText() then repaints nothing: such a label's text is set by showText() alone.
         */
        ChangedDigits,
    };

    DialLabel(const QString &text, Qt::Alignment alignment, QWidget *parent, Repaint repaint = Repaint::Whole);

    /** Shows @p text, repainting as the label's Repaint says. */
    void showText(const QString &text);

    /**
     * Masks the label down to the pixels its text may cover, from now on, so that a repaint of the
     * window around the text (a hand moving past a numeral) leaves the label out. The mouse goes to the
     * window's surface either way. The text is then to be set through showText().
     */
    void maskToText();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    /** Glyphs of one font, placed from the start of the line at the top of the label. */
    struct Glyphs
    {
        QRawFont font;
        QList<quint32> indexes;
        QList<QPointF> positions;
        QList<QRectF> inks; ///< the pixels each glyph may touch, at its position
    };

    static constexpr char16_t FirstDigit = u'0'; ///< '0' to '9', then ':'
    static constexpr int DigitCount = 11;

    void lookUpDigits();
    bool digitsAdvance(const QString &text, qreal *advance) const;
    bool setDigits(const QString &text);
    bool layOut(const QString &text);
    void keepGlyphs();
    qreal lineLeft(qreal advance) const;
    QRect changedPixels(const QString &from, const QString &to) const;
    void updateMask();

    Repaint m_repaint;
    bool m_maskedToText = false;

    // The digits' glyphs, looked up for the font and pixel ratio of the last paint (0: to look up again).
    qreal m_devicePixelRatio = 0;
    QRawFont m_digitFont;
    std::array<quint32, DigitCount> m_digitIndexes{};
    std::array<qreal, DigitCount> m_digitAdvances{};
    std::array<QRectF, DigitCount> m_digitInks;
    bool m_digitsFound = false;

    // The glyphs of the text last painted; none when QLabel's way of painting it is needed.
    QString m_keptText;
    bool m_glyphsKept = false;
    QList<Glyphs> m_kept;
    qreal m_keptAdvance = 0; ///< the line's width
};
