#include "clipboardclearer.h"

#include "alarmclock.h"

#include <QMimeData>

ClipboardClearer::ClipboardClearer(QClipboard &clipboard, AlarmClock &alarm, QObject *parent)
    : QObject(parent)
    , m_clipboard(clipboard)
    , m_alarm(alarm)
{
    connect(&m_alarm, &AlarmClock::rang, this, &ClipboardClearer::clearIfStillOurs);
    // Something else copied meanwhile: nothing is left to clear there, and the window says so.
    connect(&m_clipboard, &QClipboard::changed, this, &ClipboardClearer::replaced);
}

void ClipboardClearer::copied(const QString &text, int seconds, bool selectionToo)
{
    m_alarm.cancel();
    m_text = text;
    m_onClipboard = true;
    m_onSelection = selectionToo && m_clipboard.supportsSelection();
    if (seconds <= 0 || text.isEmpty()) {
        forget();
        return;
    }
    m_alarm.set(qint64(seconds) * 1000);
    Q_EMIT pendingChanged(m_alarm.ringsAt());
}

void ClipboardClearer::clearNow()
{
    if (isPending())
        clearIfStillOurs();
}

bool ClipboardClearer::isPending() const
{
    return m_alarm.isSet();
}

QDateTime ClipboardClearer::dueAt() const
{
    return m_alarm.ringsAt();
}

bool ClipboardClearer::holdsOurs(QClipboard::Mode mode) const
{
    const QMimeData *data = m_clipboard.mimeData(mode);
    return data && data->hasText() && data->text() == m_text;
}

void ClipboardClearer::clearIfStillOurs()
{
    const bool clipboard = m_onClipboard && holdsOurs(QClipboard::Clipboard);
    const bool selection = m_onSelection && holdsOurs(QClipboard::Selection);
    // Forgotten first: the clears below are changes this object hears of too.
    forget();
    if (clipboard)
        m_clipboard.clear(QClipboard::Clipboard);
    if (selection)
        m_clipboard.clear(QClipboard::Selection);
}

void ClipboardClearer::forget()
{
    m_alarm.cancel();
    m_text.clear();
    m_onClipboard = false;
    m_onSelection = false;
    Q_EMIT pendingChanged({});
}

void ClipboardClearer::replaced(QClipboard::Mode mode)
{
    if (!isPending())
        return;
    if (mode == QClipboard::Clipboard && m_onClipboard)
        m_onClipboard = holdsOurs(mode);
    else if (mode == QClipboard::Selection && m_onSelection)
        m_onSelection = holdsOurs(mode);
    if (!m_onClipboard && !m_onSelection)
        forget();
}
