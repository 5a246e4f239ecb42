#pragma once

#include "randomsource.h"

#include <QList>
#include <QPair>
#include <QQueue>

// A random source that hands out scripted results and records the bounds of every draw. When
// the script runs out it draws from a real, seeded stream, so long tests still end.
class ScriptedRandomSource : public RandomSource
{
public:
    explicit ScriptedRandomSource(qint32 fallbackSeed = 1);

    void script(std::initializer_list<qint32> results);

    QList<QPair<qint32, qint32>> draws;
    QList<qint32> seeds;

    void SetSeed(qint32 seed) override;
    qint32 RandomBetween(qint32 low, qint32 high) override;

private:
    QQueue<qint32> m_results;
};
