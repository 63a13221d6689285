#include "dials/dialface.h"

#include <QAccessibleWidget>
#include <QPaintEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace {

/** A dial read as a clock, with texts that are worked out when a screen reader asks for them. */
class DialAccessible : public QAccessibleWidget
{
public:
    // Windows has a role for a clock; elsewhere a screen reader knows it best as a picture with a description.
    explicit DialAccessible(DialFace *face)
#ifdef Q_OS_WIN
        : QAccessibleWidget(face, QAccessible::Clock)
#else
        : QAccessibleWidget(face, QAccessible::Graphic)
#endif
    { }

    QString text(QAccessible::Text t) const override
    {
        const auto *face = static_cast<const DialFace *>(widget());
        switch (t) {
        case QAccessible::Name:
            return face->accessibleText();
        case QAccessible::Description:
            return face->descriptionText();
        default:
            return QAccessibleWidget::text(t);
        }
    }
};

/** A dial's text, heard through its dial: left out of the reading as if it were not on screen. */
class DialTextAccessible : public QAccessibleWidget
{
public:
    explicit DialTextAccessible(QWidget *label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    { }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        return state;
    }
};

QAccessibleInterface *dialAccessibility(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("DialFace"))
        return new DialAccessible(static_cast<DialFace *>(object));
    if (className == QLatin1String("DialText"))
        return new DialTextAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

DialFace::DialFace(QWidget *surface, const QString &name, const QRect &pixels, Text accessibleName, Text description)
    : QWidget(surface)
    , m_accessibleName(std::move(accessibleName))
    , m_description(std::move(description))
{
    static const bool installed = [] {
        QAccessible::installFactory(dialAccessibility);
        return true;
    }();
    Q_UNUSED(installed);
    setObjectName(name);
    setGeometry(pixels);
    setFocusPolicy(Qt::TabFocus);
    // The surface beneath drags the window and opens its menu.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    maskToFocus();
}

void DialFace::maskToFocus()
{
    // A face draws nothing but its focus frame, yet every second the moved hands beneath it would bring
    // it a paint event of its own. Without the focus it is masked down to its top left pixel, on the
    // dial's outline, and takes no part in those repaints. A menu that opens takes the focus events but
    // leaves the focus, and the frame, where they are.
    if (hasFocus())
        clearMask();
    else
        setMask(QRegion(0, 0, 1, 1));
}

void DialFace::focusInEvent(QFocusEvent *event)
{
    maskToFocus();
    QWidget::focusInEvent(event);
}

void DialFace::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    maskToFocus();
}

void DialFace::announce(bool cityChanged)
{
    if (!hasFocus())
        return;
    if (cityChanged) {
        QAccessibleEvent named(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&named);
    }
    QAccessibleEvent described(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&described);
}

void DialFace::paintEvent(QPaintEvent *)
{
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(3, 3, -3, -3);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}
