#pragma once

#include <QClipboard>
#include <QDateTime>
#include <QObject>
#include <QString>

class AlarmClock;

// Clears what Quorvex copied a set time after the copy, and at the program's end before that
// time, but only while the clipboard still holds exactly that text: whatever was copied since
// is never touched. The selection is cleared under the same condition when Quorvex set it too.
class ClipboardClearer : public QObject
{
    Q_OBJECT

public:
    // The alarm times the clear; it outlives this object.
    ClipboardClearer(QClipboard &clipboard, AlarmClock &alarm, QObject *parent = nullptr);

    // Quorvex has just put `text` on the clipboard (and on the selection with `selectionToo`):
    // it is cleared `seconds` from now, never with 0 or an empty text. A clear pending for an
    // earlier copy is dropped, that copy being replaced.
    void copied(const QString &text, int seconds, bool selectionToo = false);
    // Clears at once what the pending clear would: for the program's end.
    void clearNow();

    // Whether a clear is pending, and when it comes (invalid when none is).
    bool isPending() const;
    QDateTime dueAt() const;

Q_SIGNALS:
    // A clear is now pending for `dueAt`, or none is (`dueAt` invalid).
    void pendingChanged(const QDateTime &dueAt);

private:
    void clearIfStillOurs();
    void forget();
    bool holdsOurs(QClipboard::Mode mode) const;
    void replaced(QClipboard::Mode mode);

    QClipboard &m_clipboard;
    AlarmClock &m_alarm;
    QString m_text;
    // Where Quorvex's text may still be, to be cleared.
    bool m_onClipboard = false;
    bool m_onSelection = false;
};
