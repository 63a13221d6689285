#include "dials/diallabel.h"

#include <QEvent>
#include <QGlyphRun>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>
#include <QVarLengthArray>

#include <optional>

namespace {

// The pixels a glyph may touch: its outline's box, and a pixel more on every side for antialiasing.
QRectF inkOf(const QRawFont &font, quint32 glyph, const QPointF &position)
{
    return font.boundingRect(glyph).translated(position).adjusted(-1, -1, 1, 1);
}

} // namespace

DialLabel::DialLabel(const QString &text, Qt::Alignment alignment, QWidget *parent, Repaint repaint)
    : DialText(parent)
    , m_repaint(repaint)
{
    setTextFormat(Qt::PlainText);
    setAlignment(alignment);
    setText(text);
}

QSize DialLabel::sizeHint() const
{
    return QLabel::sizeHint().shrunkBy(contentsMargins());
}

QSize DialLabel::minimumSizeHint() const
{
    return QLabel::minimumSizeHint().shrunkBy(contentsMargins());
}

void DialLabel::resizeEvent(QResizeEvent *event)
{
    // QLabel repaints its contents rectangle whenever its text is set, and QFrame keeps that rectangle
    // at least a pixel large. Margins that leave only the top right pixel let showText() repaint little
    // more than the changed digits; paintEvent() sets the text in the whole label, as QLabel does
    // without margins.
    if (m_repaint == Repaint::ChangedDigits)
        setContentsMargins(qMax(0, width() - 1), 0, 0, qMax(0, height() - 1));
    QLabel::resizeEvent(event);
}

bool DialLabel::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::ScreenChangeInternal:
        m_devicePixelRatio = 0;
        break;
    default:
        break;
    }
    const bool handled = QLabel::event(event);
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::ScreenChangeInternal:
    case QEvent::EnabledChange:
    case QEvent::Resize:
    case QEvent::Show:
        updateMask();
        break;
    default:
        break;
    }
    return handled;
}

void DialLabel::maskToText()
{
    m_maskedToText = true;
    updateMask();
}

void DialLabel::updateMask()
{
    if (!m_maskedToText)
        return;
    keepGlyphs();
    // Where QLabel paints the text, the whole label stays open to its repaints.
    if (!m_glyphsKept || !isEnabled() || !(alignment() & Qt::AlignTop)) {
        clearMask();
        return;
    }
    QRegion ink;
    for (const Glyphs &glyphs : std::as_const(m_kept)) {
        for (const QRectF &glyphInk : glyphs.inks)
            ink += glyphInk.translated(lineLeft(m_keptAdvance), 0).toAlignedRect();
    }
    // An empty mask would be none at all: a label without ink keeps a pixel.
    setMask(ink.isEmpty() ? QRegion(0, 0, 1, 1) : ink);
}

void DialLabel::showText(const QString &text)
{
    const QString shown = this->text();
    if (text == shown)
        return;
    // A hidden label repaints nothing, and is painted whole when it shows.
    if (m_repaint == Repaint::Whole || !isVisible()) {
        setText(text);
        updateMask();
        return;
    }
    const QRect changed = changedPixels(shown, text);
    setText(text);
    // One rectangle from the changed digits to the pixel that setText() repaints: a single rectangle
    // is clipped to and flushed at less cost than two.
    update(changed.united(contentsRect()));
    updateMask();
}

void DialLabel::lookUpDigits()
{
    // The font as painting on this label resolves it, for the screen's dots per inch.
    m_digitsFound = false;
    m_digitFont = QRawFont::fromFont(QFont(font(), this));
    if (!m_digitFont.isValid())
        return;
    QString digits;
    for (int i = 0; i < DigitCount; ++i)
        digits.append(QChar(FirstDigit + i));
    const QList<quint32> indexes = m_digitFont.glyphIndexesForString(digits);
    const QList<QPointF> advances = m_digitFont.advancesForGlyphIndexes(indexes);
    if (indexes.size() != DigitCount || advances.size() != DigitCount)
        return;
    for (std::size_t i = 0; i < DigitCount; ++i) {
        // Glyph 0 is the font's "missing" box: the layout would take the character from another font.
        if (indexes[qsizetype(i)] == 0)
            return;
        m_digitIndexes[i] = indexes[qsizetype(i)];
        m_digitAdvances[i] = advances[qsizetype(i)].x();
        m_digitInks[i] = inkOf(m_digitFont, m_digitIndexes[i], QPointF(0, m_digitFont.ascent()));
    }
    m_digitsFound = true;
}

bool DialLabel::digitsAdvance(const QString &text, qreal *advance) const
{
    *advance = 0;
    for (const QChar character : text) {
        const int i = character.unicode() - FirstDigit;
        if (i < 0 || i >= DigitCount)
            return false;
        *advance += m_digitAdvances[std::size_t(i)];
    }
    return m_digitsFound && !text.isEmpty();
}

bool DialLabel::setDigits(const QString &text)
{
    if (!digitsAdvance(text, &m_keptAdvance))
        return false;
    Glyphs glyphs{m_digitFont, {}, {}, {}};
    glyphs.indexes.reserve(text.size());
    glyphs.positions.reserve(text.size());
    glyphs.inks.reserve(text.size());
    qreal x = 0;
    for (const QChar character : text) {
        const std::size_t i = character.unicode() - FirstDigit;
        glyphs.indexes.append(m_digitIndexes[i]);
        glyphs.positions.append(QPointF(x, m_digitFont.ascent()));
        glyphs.inks.append(m_digitInks[i].translated(x, 0));
        x += m_digitAdvances[i];
    }
    m_kept = {glyphs};
    return true;
}

bool DialLabel::layOut(const QString &text)
{
    for (const QChar character : text) {
        if (character.category() == QChar::Other_Control || character == QChar::LineSeparator ||
            character == QChar::ParagraphSeparator)
            return false;
    }
    if (text.isRightToLeft())
        return false;
    // One line as QPainter::drawText lays it out for a label: left to right, not wrapped.
    QTextLayout layout(text, QFont(font(), this));
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(0x01000000);
    line.setPosition(QPointF(0, 0));
    const bool oneLine = !layout.createLine().isValid();
    layout.endLayout();
    m_kept.clear();
    for (const QGlyphRun &run : layout.glyphRuns()) {
        Glyphs glyphs{run.rawFont(), run.glyphIndexes(), run.positions(), {}};
        for (qsizetype i = 0; i < glyphs.indexes.size(); ++i)
            glyphs.inks.append(inkOf(glyphs.font, glyphs.indexes[i], glyphs.positions[i]));
        m_kept.append(glyphs);
    }
    m_keptAdvance = line.horizontalAdvance();
    return oneLine;
}

void DialLabel::keepGlyphs()
{
    if (m_devicePixelRatio != devicePixelRatioF()) {
        lookUpDigits();
        m_devicePixelRatio = devicePixelRatioF();
        m_keptText = QString();
        m_glyphsKept = false;
    }
    const QString shown = text();
    if (m_glyphsKept && shown == m_keptText)
        return;
    m_keptText = shown;
    m_glyphsKept = setDigits(shown) || layOut(shown);
}

qreal DialLabel::lineLeft(qreal advance) const
{
    // Where QPainter::drawText puts one line of text in the label's rectangle with QLabel's alignment.
    if (alignment() & Qt::AlignHCenter)
        return (width() - advance) / 2;
    if (alignment() & Qt::AlignRight)
        return width() - advance;
    return 0;
}

QRect DialLabel::changedPixels(const QString &from, const QString &to) const
{
    // Digits for digits in the font of the last paint: where they differ. Anything else: the whole label.
    qreal fromAdvance = 0;
    qreal toAdvance = 0;
    if (m_devicePixelRatio != devicePixelRatioF() || !digitsAdvance(from, &fromAdvance) ||
        !digitsAdvance(to, &toAdvance))
        return rect();
    qreal fromX = lineLeft(fromAdvance);
    qreal toX = lineLeft(toAdvance);
    QRectF changed;
    for (qsizetype i = 0; i < qMax(from.size(), to.size()); ++i) {
        const std::size_t fromDigit = i < from.size() ? from[i].unicode() - FirstDigit : DigitCount;
        const std::size_t toDigit = i < to.size() ? to[i].unicode() - FirstDigit : DigitCount;
        if (fromDigit != toDigit || fromX != toX) {
            if (fromDigit < DigitCount)
                changed |= m_digitInks[fromDigit].translated(fromX, 0);
            if (toDigit < DigitCount)
                changed |= m_digitInks[toDigit].translated(toX, 0);
        }
        fromX += fromDigit < DigitCount ? m_digitAdvances[fromDigit] : 0;
        toX += toDigit < DigitCount ? m_digitAdvances[toDigit] : 0;
    }
    return changed.toAlignedRect() & rect();
}

void DialLabel::paintEvent(QPaintEvent *event)
{
    keepGlyphs();
    const Qt::Alignment align = alignment();
    if (!m_glyphsKept || !isEnabled() || !(align & Qt::AlignTop)) {
        if (m_repaint == Repaint::Whole) {
            QLabel::paintEvent(event);
            return;
        }
        // QLabel would set the text in its contents rectangle, which the margins make a pixel.
        QPainter painter(this);
        const QString shown = text();
        const int flags = int(align) | (shown.isRightToLeft() ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight);
        style()->drawItemText(&painter, rect(), flags, palette(), isEnabled(), shown, foregroundRole());
        return;
    }

    // Only the glyphs that the repainted part touches, at the very fraction of a pixel where QLabel
    // puts them, with its pen from the palette.
    const QPointF left(lineLeft(m_keptAdvance), 0);
    const QRegion &dirty = event->region();
    std::optional<QPainter> painter;
    for (const Glyphs &glyphs : std::as_const(m_kept)) {
        QVarLengthArray<quint32, 16> indexes;
        QVarLengthArray<QPointF, 16> positions;
        for (qsizetype i = 0; i < glyphs.indexes.size(); ++i) {
            if (!dirty.intersects(glyphs.inks[i].translated(left).toAlignedRect()))
                continue;
            indexes.append(glyphs.indexes[i]);
            positions.append(glyphs.positions[i]);
        }
        if (indexes.isEmpty())
            continue;
        if (!painter) {
            painter.emplace(this);
            painter->setPen(QPen(palette().brush(foregroundRole()), 1));
        }
        QGlyphRun run;
        run.setRawFont(glyphs.font);
        run.setRawData(indexes.constData(), positions.constData(), int(indexes.size()));
        painter->drawGlyphRun(left, run);
    }
}
