#pragma once

#include <QListWidget>
#include <QStringList>

// The multi-select list of generated passwords, in the system's fixed-pitch font so that l, I, 1
// and O, 0 stay apart. Every row has the same height, so tens of thousands of entries lay out at
// once; how far the list scrolls sideways is set from outside (setHorizontalExtent) rather than
// measured row by row. The Copy keys ask the window to copy (copyRequested) instead of copying
// the current row on their own.
class PasswordList : public QListWidget
{
    Q_OBJECT

public:
    explicit PasswordList(QWidget *parent = nullptr);

    // Adds `text` as the last entry.
    void addEntry(const QString &text);
    // Removes every entry.
    void clearEntries();
    // Every entry, in order.
    QStringList entries() const;
    // The selected entries, in list order.
    QStringList selectedEntries() const;
    // Selects every entry.
    void selectAllEntries();

    // The width in pixels of a space followed by `text`, in the list's font.
    int entryWidth(const QString &text) const;
    // The widest entryWidth() of all entries; 0 for an empty list. Kept up to date as entries
    // come, so asking after a long run costs nothing.
    int widestEntryWidth() const;

    // The width the rows take, so the horizontal scroll range lets the widest one be read.
    int horizontalExtent() const { return m_extent; }
    void setHorizontalExtent(int pixels);

Q_SIGNALS:
    // Ctrl+C or another key of the desktop's Copy shortcut was pressed in the list.
    void copyRequested();

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_extent = 0;
    mutable int m_widest = 0;
    mutable bool m_widestKnown = true;
};
