#include "symbolbutton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

SymbolButton::SymbolButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
}

void SymbolButton::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    update();
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
    // A button that takes no clicks shows no selection: its symbol cannot appear either way.
    const bool lit = m_selected && isEnabled();
    const QPalette::ColorRole text = lit ? QPalette::HighlightedText : QPalette::ButtonText;
    painter.fillRect(rect(), palette().color(faceRole(lit)));
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
