#include "spinbuttons.h"

#include "numbers.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

QToolButton *arrowButton(Qt::ArrowType arrow, const QString &name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

SpinButtons::SpinButtons(QWidget *parent)
    : QWidget(parent)
    , m_up(arrowButton(Qt::UpArrow, QStringLiteral("up"), this))
    , m_down(arrowButton(Qt::DownArrow, QStringLiteral("down"), this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    fitArrows();
    connect(m_up, &QToolButton::clicked, this, &SpinButtons::stepUp);
    connect(m_down, &QToolButton::clicked, this, &SpinButtons::stepDown);
    updateEnabled();
    describeForScreenReaders();
}

void SpinButtons::setBuddy(QLineEdit *buddy)
{
    if (m_buddy) {
        m_buddy->removeEventFilter(this);
        m_buddy->setAccessibleDescription(QString());
    }
    m_buddy = buddy;
    m_buddyObject = buddy;
    if (m_buddy)
        m_buddy->installEventFilter(this);
    fitArrows();
    updateEnabled();
    describeForScreenReaders();
}

void SpinButtons::setMinimum(int minimum)
{
    m_minimum = minimum;
    describeForScreenReaders();
}

void SpinButtons::setMaximum(int maximum)
{
    m_maximum = maximum;
    describeForScreenReaders();
}

void SpinButtons::describeForScreenReaders()
{
    QString purpose = m_buddy ? m_buddy->accessibleName() : QString();
    if (!purpose.isEmpty())
        purpose = QLatin1Char(' ') + purpose.front().toLower() + purpose.mid(1);
    m_up->setAccessibleName(QStringLiteral("Increase") + purpose);
    m_down->setAccessibleName(QStringLiteral("Decrease") + purpose);
    if (!m_buddy)
        return;
    // A plain text box cannot tell its range the way a spin box does; its description can.
    const QString range = QStringLiteral("%1 to %2").arg(m_minimum).arg(m_maximum);
    const QString tip = m_buddy->toolTip();
    m_buddy->setAccessibleDescription(tip.isEmpty() ? range : tip + QStringLiteral(" (") + range + u')');
}

void SpinButtons::fitArrows()
{
    // As tall as the box, each arrow half of it, so a row of boxes keeps the height of a box.
    const QSize size = sizeHint();
    m_up->setFixedSize(size.width(), size.height() / 2);
    m_down->setFixedSize(size.width(), size.height() - size.height() / 2);
    setFixedSize(size);
}

QSize SpinButtons::sizeHint() const
{
    const int height = m_buddy ? m_buddy->sizeHint().height() : fontMetrics().height() * 2;
    return { qMax(16, height * 3 / 5), height };
}

void SpinButtons::step(int direction)
{
    if (!m_buddy || !m_buddy->isEnabled() || !isEnabled())
        return;
    const std::optional<double> value = Numbers::tryRead(m_buddy->text());
    double next = m_minimum;
    if (value) {
        // The next whole number in the step's direction; 2.5 goes to 3 or 2.
        next = direction > 0 ? std::floor(*value) + 1 : std::ceil(*value) - 1;
        if (direction > 0 && *value >= m_maximum)
            return; // already at the top: nothing to step
        if (direction < 0 && *value <= m_minimum)
            return;
        next = qBound(double(m_minimum), next, double(m_maximum));
    }
    const QString text = Numbers::toText(next);
    if (text != m_buddy->text())
        m_buddy->setText(text);
}

bool SpinButtons::eventFilter(QObject *watched, QEvent *event)
{
    // The box also sends events while it is being destroyed: look at the event first and only
    // then at the box, so it is never taken for a line edit once it no longer is one.
    const bool key = event->type() == QEvent::KeyPress;
    if ((key || event->type() == QEvent::EnabledChange) && watched == m_buddyObject) {
        if (key) {
            const int pressed = static_cast<QKeyEvent *>(event)->key();
            if (pressed == Qt::Key_Up || pressed == Qt::Key_Down) {
                step(pressed == Qt::Key_Up ? +1 : -1);
                return true;
            }
        } else {
            updateEnabled();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SpinButtons::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        updateEnabled();
    QWidget::changeEvent(event);
}

void SpinButtons::updateEnabled()
{
    const bool usable = m_buddy && m_buddy->isEnabled();
    m_up->setEnabled(usable);
    m_down->setEnabled(usable);
}
