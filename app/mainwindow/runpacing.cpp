#include "runpacing.h"

#include <limits>

RunPacing::RunPacing(DelayService &inner, std::function<qint64()> clock)
    : m_inner(inner)
    , m_clock(std::move(clock))
{
    if (!m_clock) {
        m_timer.start();
        m_clock = [this] {
            return m_timer.elapsed();
        };
    }
    m_start = m_clock();
}

void RunPacing::Pause(qint32 milliseconds)
{
    m_asked += qMax(0, milliseconds);
    const qint64 left = m_asked - (m_clock() - m_start);
    m_inner.Pause(qint32(qBound(qint64(0), left, qint64(std::numeric_limits<qint32>::max()))));
}
