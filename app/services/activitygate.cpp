#include "activitygate.h"

#include <QtGlobal>

ActivityGate::ActivityGate(QObject *parent)
    : QObject(parent)
{ }

void ActivityGate::begin()
{
    if (m_depth++ == 0)
        Q_EMIT idleChanged(false);
}

void ActivityGate::end()
{
    Q_ASSERT(m_depth > 0);
    if (m_depth == 0)
        return;
    if (--m_depth == 0) {
        Q_EMIT idleChanged(true);
        Q_EMIT idle();
    }
}
