#include "help/pageaccessibility.h"

#include <QAccessibleWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>

namespace {

class PageAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit PageAccessible(QTextBrowser *browser)
        : QAccessibleWidget(browser, QAccessible::EditableText)
    { }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        return state;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return text(0, characterCount());
        return QAccessibleWidget::text(t);
    }

    QString text(int start, int end) const override
    {
        // Each picture is one character of the page: its alternative text is read in its place.
        QString read;
        const QTextDocument *page = browser()->document();
        for (QTextBlock block = page->findBlock(start); block.isValid() && block.position() < end;
             block = block.next()) {
            if (block.position() > start)
                read += QLatin1Char('\n');
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                const int from = qMax(start, fragment.position());
                const int to = qMin(end, fragment.position() + fragment.length());
                if (from >= to)
                    continue;
                const QTextCharFormat format = fragment.charFormat();
                if (format.isImageFormat())
                    read += format.stringProperty(QTextFormat::ImageAltText);
                else
                    read += fragment.text().mid(from - fragment.position(), to - from);
            }
        }
        return read;
    }

    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int *start, int *end) const override
    {
        const QTextCursor::MoveOperation first[] = {QTextCursor::NoMove,       QTextCursor::StartOfWord,
                                                    QTextCursor::StartOfBlock, QTextCursor::StartOfBlock,
                                                    QTextCursor::StartOfLine,  QTextCursor::Start};
        const QTextCursor::MoveOperation last[] = {QTextCursor::NextCharacter, QTextCursor::EndOfWord,
                                                   QTextCursor::EndOfBlock,    QTextCursor::EndOfBlock,
                                                   QTextCursor::EndOfLine,     QTextCursor::End};
        const int kind = qBound(0, int(boundary), 5);
        QTextCursor cursor(browser()->document());
        cursor.setPosition(qBound(0, offset, characterCount()));
        cursor.movePosition(first[kind]);
        *start = cursor.position();
        cursor.movePosition(last[kind]);
        *end = cursor.position();
        return text(*start, *end);
    }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int *start, int *end) const override
    {
        int atStart = 0;
        int atEnd = 0;
        textAtOffset(offset, boundary, &atStart, &atEnd);
        return atStart > 0 ? textAtOffset(atStart - 1, boundary, start, end) : (*start = *end = 0, QString());
    }

    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int *start, int *end) const override
    {
        int atStart = 0;
        int atEnd = 0;
        textAtOffset(offset, boundary, &atStart, &atEnd);
        if (atEnd >= characterCount()) {
            *start = *end = characterCount();
            return QString();
        }
        return textAtOffset(qMax(atEnd, offset + 1), boundary, start, end);
    }

    int characterCount() const override { return qMax(0, browser()->document()->characterCount() - 1); }

    int cursorPosition() const override { return browser()->textCursor().position(); }
    void setCursorPosition(int position) override
    {
        QTextCursor cursor = browser()->textCursor();
        cursor.setPosition(qBound(0, position, characterCount()));
        browser()->setTextCursor(cursor);
    }

    int selectionCount() const override { return browser()->textCursor().hasSelection() ? 1 : 0; }
    void selection(int index, int *start, int *end) const override
    {
        const QTextCursor cursor = browser()->textCursor();
        *start = index == 0 && cursor.hasSelection() ? cursor.selectionStart() : 0;
        *end = index == 0 && cursor.hasSelection() ? cursor.selectionEnd() : 0;
    }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override
    {
        QTextCursor cursor = browser()->textCursor();
        cursor.clearSelection();
        browser()->setTextCursor(cursor);
    }
    void setSelection(int, int start, int end) override
    {
        QTextCursor cursor = browser()->textCursor();
        cursor.setPosition(qBound(0, start, characterCount()));
        cursor.setPosition(qBound(0, end, characterCount()), QTextCursor::KeepAnchor);
        browser()->setTextCursor(cursor);
    }

    QRect characterRect(int offset) const override
    {
        QTextCursor cursor(browser()->document());
        cursor.setPosition(qBound(0, offset, characterCount()));
        const QRect rect = browser()->cursorRect(cursor);
        return QRect(browser()->viewport()->mapToGlobal(rect.topLeft()), rect.size());
    }

    int offsetAtPoint(const QPoint &point) const override
    {
        return browser()->cursorForPosition(browser()->viewport()->mapFromGlobal(point)).position();
    }

    void scrollToSubstring(int start, int) override
    {
        setCursorPosition(start);
        browser()->ensureCursorVisible();
    }

    QString attributes(int offset, int *start, int *end) const override
    {
        *start = *end = offset;
        return QString();
    }

private:
    QTextBrowser *browser() const { return static_cast<QTextBrowser *>(widget()); }
};

QAccessibleInterface *pageAccessibility(const QString &className, QObject *object)
{
    if (className == QLatin1String("QTextBrowser") && object && object->isWidgetType())
        return new PageAccessible(static_cast<QTextBrowser *>(object));
    return nullptr;
}

} // namespace

namespace PageAccessibility {

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(pageAccessibility);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace PageAccessibility
