#include "scriptedrandomsource.h"

ScriptedRandomSource::ScriptedRandomSource(qint32 fallbackSeed)
{
    RandomSource::SetSeed(fallbackSeed);
}

void ScriptedRandomSource::script(std::initializer_list<qint32> results)
{
    for (const qint32 result : results)
        m_results.enqueue(result);
}

void ScriptedRandomSource::SetSeed(qint32 seed)
{
    seeds.append(seed);
    RandomSource::SetSeed(seed == 0 ? 1 : seed);
}

qint32 ScriptedRandomSource::RandomBetween(qint32 low, qint32 high)
{
    draws.append({ low, high });
    if (!m_results.isEmpty())
        return m_results.dequeue();
    return RandomSource::RandomBetween(low, high);
}
