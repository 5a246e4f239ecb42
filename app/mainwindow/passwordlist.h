#pragma once

#include <QListWidget>
#include <QStringList>

// The multi-select list of generated passwords. Every row has the same height, so tens of
// thousands of entries lay out at once; how far the list scrolls sideways is set from outside
// (setHorizontalExtent) rather than measured row by row.
class PasswordList : public QListWidget
{
    Q_OBJECT

public:
    explicit PasswordList(QWidget *parent = nullptr);

    // Adds `text` as the last entry.
    void addEntry(const QString &text) { addItem(text); }
    // Every entry, in order.
    QStringList entries() const;
    // The selected entries, in list order.
    QStringList selectedEntries() const;
    // Selects every entry.
    void selectAllEntries();

    // The width in pixels of a space followed by `text`, in the list's font.
    int entryWidth(const QString &text) const;
    // The widest entryWidth() of all entries; 0 for an empty list.
    int widestEntryWidth() const;

    // The width the rows take, so the horizontal scroll range lets the widest one be read.
    int horizontalExtent() const { return m_extent; }
    void setHorizontalExtent(int pixels);

private:
    int m_extent = 0;
};
