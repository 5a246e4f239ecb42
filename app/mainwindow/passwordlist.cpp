#include "passwordlist.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace {

// Rows as wide as the list's extent and as high as a line of its font.
class ExtentDelegate : public QStyledItemDelegate
{
public:
    ExtentDelegate(const PasswordList &list)
        : QStyledItemDelegate(const_cast<PasswordList *>(&list))
        , m_list(list)
    { }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QSize base = QStyledItemDelegate::sizeHint(option, index);
        return { m_list.horizontalExtent() + 2 * TextMargin, base.height() };
    }

private:
    static constexpr int TextMargin = 4;
    const PasswordList &m_list;
};

} // namespace

PasswordList::PasswordList(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setItemDelegate(new ExtentDelegate(*this));
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

void PasswordList::addEntry(const QString &text)
{
    addItem(text);
    if (m_widestKnown)
        m_widest = qMax(m_widest, entryWidth(text));
}

void PasswordList::clearEntries()
{
    clear();
    m_widest = 0;
    m_widestKnown = true;
}

QStringList PasswordList::entries() const
{
    QStringList all;
    all.reserve(count());
    for (int row = 0; row < count(); ++row)
        all << item(row)->text();
    return all;
}

QStringList PasswordList::selectedEntries() const
{
    QStringList selected;
    for (int row = 0; row < count(); ++row) {
        if (item(row)->isSelected())
            selected << item(row)->text();
    }
    return selected;
}

void PasswordList::selectAllEntries()
{
    selectAll();
}

int PasswordList::entryWidth(const QString &text) const
{
    return fontMetrics().horizontalAdvance(QLatin1Char(' ') + text);
}

int PasswordList::widestEntryWidth() const
{
    if (!m_widestKnown) {
        const QFontMetrics metrics = fontMetrics();
        m_widest = 0;
        for (int row = 0; row < count(); ++row)
            m_widest = qMax(m_widest, metrics.horizontalAdvance(QLatin1Char(' ') + item(row)->text()));
        m_widestKnown = true;
    }
    return m_widest;
}

void PasswordList::changeEvent(QEvent *event)
{
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        m_widestKnown = false;
}

void PasswordList::keyPressEvent(QKeyEvent *event)
{
    // The view's own Copy puts only the current row on the clipboard.
    if (event->matches(QKeySequence::Copy)) {
        event->accept();
        Q_EMIT copyRequested();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void PasswordList::setHorizontalExtent(int pixels)
{
    m_extent = qMax(0, pixels);
    // The row size is cached once per layout; a fresh layout asks the delegate again.
    doItemsLayout();
    updateGeometries();
}
