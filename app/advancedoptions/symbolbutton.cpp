#include "symbolbutton.h"

#include <QPainter>
#include <QScopedValueRollback>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

SymbolButton::SymbolButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    setCheckable(true);
    setChecked(true);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    connect(this, &QAbstractButton::toggled, this, &SymbolButton::toggledFromOutside);
}

void SymbolButton::setSelected(bool selected)
{
    const QScopedValueRollback owner(m_settingSelection, true);
    setChecked(selected);
}

void SymbolButton::toggledFromOutside()
{
    if (m_settingSelection)
        return;
    // A screen reader's toggle sets the checked state directly; turn it back into a click.
    {
        const QScopedValueRollback undoing(m_settingSelection, true);
        setChecked(!isChecked());
    }
    click();
}

QPalette::ColorRole SymbolButton::faceRole(bool selected)
{
    return selected ? QPalette::Highlight : QPalette::Button;
}

QSize SymbolButton::sizeHint() const
{
    const int side = qMax(fontMetrics().height() * 2, 26);
    return { side, side };
}

void SymbolButton::paintEvent(QPaintEvent *)
{
    // Painted flat in the state's colour: a styled bevel would wash the colour out.
    QPainter painter(this);
    const QPalette::ColorRole text = isSelected() ? QPalette::HighlightedText : QPalette::ButtonText;
    painter.fillRect(rect(), palette().color(faceRole(isSelected())));
    qDrawShadePanel(&painter, rect(), palette(), isDown(), 1);
    style()->drawItemText(&painter, rect(), Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(),
                          this->text(), text);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
