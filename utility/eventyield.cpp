#include "eventyield.h"

#include <QCoreApplication>

EventYield::EventYield(int intervalMs)
    : m_intervalMs(intervalMs)
{
    m_clock.start();
}

EventYield::~EventYield() = default;

void EventYield::yieldNow()
{
    QCoreApplication::processEvents();
    m_clock.restart();
}
