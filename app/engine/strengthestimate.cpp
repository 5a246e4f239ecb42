#include "strengthestimate.h"

#include "generationsettings.h"
#include "numbers.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

namespace {

constexpr int ClassCount = 4;
constexpr double SeedBits = 32;

QString bitsText(double bits)
{
    return QString::number(bits, 'f', 1) + QStringLiteral(" bits");
}

StrengthFigure unavailable(const QString &reason)
{
    StrengthFigure figure;
    figure.kind = StrengthFigure::Kind::Unavailable;
    figure.reason = reason;
    return figure;
}

StrengthFigure exact(double bits)
{
    StrengthFigure figure;
    figure.kind = StrengthFigure::Kind::Exact;
    figure.bits = bits;
    figure.upperBits = bits;
    return figure;
}

// Bounds that need no walk through the states. When the capacities add up to the length every
// class fills exactly, so the characters contribute a fixed sum; the class sequence lies between
// its min-entropy (classes filled smallest first, the likeliest sequence) and the logarithm of
// the number of arrangements. Otherwise each position contributes at least the smallest and at
// most all of the pools that can take part.
StrengthFigure bounded(const CompositionShape &shape)
{
    StrengthFigure figure;
    figure.kind = StrengthFigure::Kind::Bounded;
    int capacitySum = 0;
    std::vector<int> capacities;
    double smallestPool = HUGE_VAL;
    double poolSum = 0;
    double characterBits = 0;
    for (int c = 0; c < ClassCount; ++c) {
        const int capacity = shape.capacity[std::size_t(c)];
        if (capacity == 0)
            continue;
        const double pool = shape.poolSize[std::size_t(c)];
        capacitySum += capacity;
        capacities.push_back(capacity);
        smallestPool = std::min(smallestPool, pool);
        poolSum += pool;
        characterBits += capacity * std::log2(pool);
    }
    if (capacitySum == shape.length) {
        std::sort(capacities.begin(), capacities.end());
        double minEntropy = 0;
        double logArrangements = std::lgamma(shape.length + 1.0);
        const std::size_t open = capacities.size();
        for (std::size_t i = 0; i < open; ++i) {
            minEntropy += capacities[i] * std::log2(double(open - i));
            logArrangements -= std::lgamma(capacities[i] + 1.0);
        }
        figure.bits = characterBits + minEntropy;
        figure.upperBits = characterBits + logArrangements / std::log(2.0);
    } else {
        figure.bits = shape.length * std::log2(smallestPool);
        figure.upperBits = shape.length * std::log2(poolSum);
    }
    return figure;
}

// The entropy of the class sequence when every class fills exactly (capacities adding up to
// the length), without walking the placement states. Picture each class as a clock that ticks
// at rate 1 until it has ticked its capacity: the next tick among the running clocks is equally
// likely any of them, just as the composer draws among the classes with room. While the set A
// of classes with room lasts, draws happen at rate |A| and each carries log2 |A| bits, so the
// entropy is the sum over A of |A| log2 |A| times the expected time A lasts. Expanding that time
// by inclusion and exclusion leaves, for every set C of classes, the expected time until the
// first of C has finished, which is 1/|C| times the sum over n of the probability that n draws
// spread evenly over C leave every class of C short of its capacity.
std::int64_t closedFormWork(const std::vector<int> &capacities)
{
    std::int64_t work = 0;
    const int classes = int(capacities.size());
    for (int mask = 1; mask < (1 << classes); ++mask) {
        if (std::popcount(unsigned(mask)) < 2)
            continue;
        std::int64_t draws = 0;
        for (int c = 0; c < classes; ++c)
            draws += (mask >> c & 1) ? capacities[std::size_t(c)] : 0;
        // The split of n draws is walked out to where its terms stop counting, some 30 square
        // roots of n around the likeliest split, or over the lowest class's capacity if smaller.
        const int lowest = std::countr_zero(unsigned(mask));
        const auto reach = std::int64_t(30 * std::sqrt(double(draws))) + 1;
        work += draws * std::min<std::int64_t>(capacities[std::size_t(lowest)], reach);
    }
    return work;
}

double classSequenceEntropy(const std::vector<int> &capacities)
{
    const int classes = int(capacities.size());
    // Terms this small cannot move a sum of probabilities kept in doubles.
    constexpr double Negligible = 1e-30;
    // shortOf[C][n]: the probability that n draws spread evenly over C leave each class short.
    std::vector<std::vector<double>> shortOf(std::size_t(1) << classes);
    std::vector<double> sum(shortOf.size(), 0.0);
    for (int mask = 1; mask < (1 << classes); ++mask) {
        const int lowest = std::countr_zero(unsigned(mask));
        const int capacity = capacities[std::size_t(lowest)];
        const int rest = mask & ~(1 << lowest);
        std::vector<double> &shortHere = shortOf[std::size_t(mask)];
        if (rest == 0) {
            shortHere.assign(std::size_t(capacity), 1.0);
            sum[std::size_t(mask)] = capacity;
            continue;
        }
        // Split the n draws between the lowest class (j of them, binomially) and the rest.
        const std::vector<double> &shortRest = shortOf[std::size_t(rest)];
        const int restMost = int(shortRest.size()) - 1;
        const double p = 1.0 / std::popcount(unsigned(mask));
        const double odds = p / (1 - p);
        shortHere.assign(std::size_t(restMost + capacity), 0.0);
        double total = 0;
        for (int n = 0; n < int(shortHere.size()); ++n) {
            const int low = std::max(0, n - restMost);
            const int high = std::min(n, capacity - 1);
            if (low > high)
                continue;
            // Start at the likeliest split and walk outwards while the terms still count.
            const int start = std::clamp(int(std::floor((n + 1) * p)), low, high);
            const double first =
                std::exp(std::lgamma(n + 1.0) - std::lgamma(start + 1.0) - std::lgamma(n - start + 1.0) +
                         start * std::log(p) + (n - start) * std::log1p(-p));
            double probability = first * shortRest[std::size_t(n - start)];
            double term = first;
            for (int j = start; j < high && term >= Negligible; ++j) {
                term *= double(n - j) / (j + 1) * odds;
                probability += term * shortRest[std::size_t(n - j - 1)];
            }
            term = first;
            for (int j = start; j > low && term >= Negligible; --j) {
                term *= double(j) / (n - j + 1) / odds;
                probability += term * shortRest[std::size_t(n - j + 1)];
            }
            shortHere[std::size_t(n)] = probability;
            total += probability;
        }
        sum[std::size_t(mask)] = total;
    }

    // Inclusion and exclusion: the weight of a set of m classes.
    const auto bitsOfChoice = [](int m) {
        return m > 1 ? m * std::log2(double(m)) : 0.0;
    };
    double weight[5] = {};
    for (int m = 2; m <= classes; ++m) {
        double binomial = 1;
        for (int j = 0; j <= m; ++j) {
            weight[m] += ((m - j) % 2 ? -1 : 1) * binomial * bitsOfChoice(j);
            binomial = binomial * (m - j) / (j + 1);
        }
    }
    double entropy = 0;
    for (int mask = 1; mask < (1 << classes); ++mask) {
        const int m = std::popcount(unsigned(mask));
        if (m >= 2)
            entropy += weight[m] * sum[std::size_t(mask)] / m;
    }
    return entropy;
}

} // namespace

QString StrengthFigure::text() const
{
    switch (kind) {
    case Kind::Exact:
        return bitsText(bits);
    case Kind::Bounded:
        return QStringLiteral("at least ") + bitsText(bits);
    case Kind::SeedLimited:
        return QStringLiteral("at most ") + (bits == SeedBits ? QStringLiteral("32 bits") : bitsText(bits)) +
            QStringLiteral(" (user seed)");
    case Kind::Unavailable:
        break;
    }
    return reason;
}

std::optional<CompositionShape> StrengthEstimate::shapeOf(const GenerationSettings &settings, QString *whyNot)
{
    const auto refuse = [whyNot](const QString &reason) -> std::optional<CompositionShape> {
        if (whyNot)
            *whyNot = reason;
        return std::nullopt;
    };

    const std::optional<double> lengthValue = Numbers::tryRead(settings.PasswordLength());
    if (!lengthValue)
        return refuse(QStringLiteral("the password length is not a number"));
    const double length = Numbers::roundDown(*lengthValue);
    if (length < -32768 || length > 32767)
        return refuse(QStringLiteral("the password length is out of range"));

    CompositionShape shape;
    shape.length = std::max(0, int(length));
    for (int c = 0; c < ClassCount; ++c)
        shape.poolSize[std::size_t(c)] = int(settings.classPool(CharacterClass(c)).size());
    int capacitySum = 0;
    for (int c = 0; c < ClassCount; ++c) {
        const std::optional<double> count = settings.countValue(CharacterClass(c));
        if (!count)
            return refuse(QStringLiteral("a character count is not a number"));
        // A class takes characters while its count exceeds what it has placed.
        const int capacity = *count > 0 ? int(std::min(std::ceil(*count), double(shape.length))) : 0;
        shape.capacity[std::size_t(c)] = capacity;
        capacitySum += capacity;
    }
    if (shape.length == 0)
        return shape;
    if (capacitySum < shape.length)
        return refuse(QStringLiteral("the character counts add up to less than the length"));
    if (shape.capacity[3] > 0 && shape.poolSize[3] == 0)
        return refuse(QStringLiteral("symbols are wanted but none is selected"));
    return shape;
}

StrengthFigure StrengthEstimate::entropyOf(const CompositionShape &shape, std::int64_t stateLimit,
                                           std::int64_t workLimit)
{
    std::array<int, ClassCount> capacity {};
    std::int64_t states = 1;
    int capacitySum = 0;
    for (int c = 0; c < ClassCount; ++c) {
        capacity[std::size_t(c)] = std::clamp(shape.capacity[std::size_t(c)], 0, std::max(shape.length, 0));
        if (capacity[std::size_t(c)] > 0 && shape.poolSize[std::size_t(c)] <= 0)
            return unavailable(QStringLiteral("a class that must take characters has none to draw from"));
        capacitySum += capacity[std::size_t(c)];
        if (states <= stateLimit)
            states *= capacity[std::size_t(c)] + 1;
    }
    if (shape.length <= 0)
        return exact(0);
    if (capacitySum < shape.length)
        return unavailable(QStringLiteral("the character counts add up to less than the length"));
    if (states > stateLimit) {
        if (capacitySum == shape.length) {
            std::vector<int> open;
            double characterBits = 0;
            for (int c = 0; c < ClassCount; ++c) {
                if (capacity[std::size_t(c)] == 0)
                    continue;
                open.push_back(capacity[std::size_t(c)]);
                characterBits += capacity[std::size_t(c)] * std::log2(shape.poolSize[std::size_t(c)]);
            }
            if (closedFormWork(open) <= workLimit)
                return exact(characterBits + classSequenceEntropy(open));
        }
        CompositionShape clamped = shape;
        clamped.capacity = capacity;
        return bounded(clamped);
    }

    // Walk the placement states in index order: a placement only ever raises one class's
    // count, so every state is complete before it is reached. Each state passes its probability
    // on to the classes with room, equally, and adds the entropy of its own draw: log2 of the
    // number of classes to choose from, plus the average log2 pool size among them.
    std::array<std::int64_t, ClassCount> stride {};
    stride[3] = 1;
    for (int c = ClassCount - 2; c >= 0; --c)
        stride[std::size_t(c)] = stride[std::size_t(c) + 1] * (capacity[std::size_t(c) + 1] + 1);
    std::array<double, ClassCount> poolBits {};
    for (int c = 0; c < ClassCount; ++c)
        poolBits[std::size_t(c)] =
            capacity[std::size_t(c)] > 0 ? std::log2(shape.poolSize[std::size_t(c)]) : 0;
    static const double LogOf[] = { 0, 0, 1, std::log2(3.0), 2 };

    std::vector<double> probability(std::size_t(states), 0.0);
    probability[0] = 1;
    double bits = 0;
    std::int64_t index = 0;
    std::array<int, ClassCount> placed {};
    for (placed[0] = 0; placed[0] <= capacity[0]; ++placed[0]) {
        for (placed[1] = 0; placed[1] <= capacity[1]; ++placed[1]) {
            for (placed[2] = 0; placed[2] <= capacity[2]; ++placed[2]) {
                for (placed[3] = 0; placed[3] <= capacity[3]; ++placed[3], ++index) {
                    const double p = probability[std::size_t(index)];
                    if (p == 0 || placed[0] + placed[1] + placed[2] + placed[3] >= shape.length)
                        continue;
                    int open = 0;
                    double openPoolBits = 0;
                    for (int c = 0; c < ClassCount; ++c) {
                        if (placed[std::size_t(c)] < capacity[std::size_t(c)]) {
                            ++open;
                            openPoolBits += poolBits[std::size_t(c)];
                        }
                    }
                    bits += p * (LogOf[open] + openPoolBits / open);
                    const double share = p / open;
                    for (int c = 0; c < ClassCount; ++c) {
                        if (placed[std::size_t(c)] < capacity[std::size_t(c)])
                            probability[std::size_t(index + stride[std::size_t(c)])] += share;
                    }
                }
            }
        }
    }
    return exact(bits);
}

StrengthFigure StrengthEstimate::ofSettings(const GenerationSettings &settings)
{
    QString whyNot;
    const std::optional<CompositionShape> shape = shapeOf(settings, &whyNot);
    if (!shape)
        return unavailable(whyNot);
    const StrengthFigure figure = entropyOf(*shape);
    if (settings.UseDefault())
        return figure;
    // A seed of 0 asks for the operating system's entropy, as the system option does.
    const std::optional<double> seed = Numbers::tryRead(settings.UserSeed());
    if (seed && Numbers::roundDown(*seed) == 0)
        return figure;
    return limitedBySeed(figure);
}

StrengthFigure StrengthEstimate::limitedBySeed(const StrengthFigure &figure)
{
    if (figure.kind == StrengthFigure::Kind::Unavailable)
        return figure;
    StrengthFigure limited;
    limited.kind = StrengthFigure::Kind::SeedLimited;
    limited.bits = std::min(SeedBits, figure.upperBits);
    limited.upperBits = limited.bits;
    return limited;
}
