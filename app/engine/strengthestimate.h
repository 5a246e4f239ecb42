#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

class GenerationSettings;

// What one composition works with: how many characters it places, how many each class may take
// at most, and how many characters each class draws from. Classes in the composer's order.
struct CompositionShape
{
    int length = 0;
    std::array<int, 4> capacity {};
    std::array<int, 4> poolSize {};
};

// How unpredictable one password is, as the Shannon entropy of the composer's output in bits.
struct StrengthFigure
{
    enum class Kind {
        // `bits` is the entropy itself.
        Exact,
        // The exact figure would take too long; the entropy lies between `bits` and `upperBits`.
        Bounded,
        // A user seed fixes the draws: at most `bits` (never more than 32), whatever the length.
        SeedLimited,
        // Nothing can be composed with these settings; `reason` says why.
        Unavailable,
    };

    Kind kind = Kind::Unavailable;
    double bits = 0;
    double upperBits = 0;
    QString reason;

    // For people: "54.8 bits", "at least 4,321.0 bits", "at most 32 bits (user seed)", or the
    // reason.
    QString text() const;
};

// The entropy of a password as the composer makes it. Each position takes a class drawn
// uniformly among the classes that still have room, then a character drawn uniformly from that
// class's pool; the classes' characters never overlap, so a password tells its class sequence
// and the entropy is that of the class sequence plus the expected sum of log2(pool size) over
// the positions. The class sequence is not uniform over arrangements (a class that fills up
// early narrows the later draws), so it is worked out over the composer's own states (how many
// characters each class has placed) or, for long passwords, in closed form.
class StrengthEstimate
{
public:
    // Most placement states worked through for an exact figure (each takes one double).
    static constexpr std::int64_t DefaultStateLimit = std::int64_t(1) << 21;
    // Most steps spent on the exact figure of a long password whose counts fill its length:
    // enough for every length the window's length box goes to (10,000), a few hundredths of a
    // second at that length.
    static constexpr std::int64_t DefaultWorkLimit = 200'000'000;

    // The shape the composer would work with under `settings`, or why it cannot compose.
    static std::optional<CompositionShape> shapeOf(const GenerationSettings &settings,
                                                   QString *whyNot = nullptr);

    // Exact when the placement states number at most `stateLimit`, or, when the capacities add
    // up to the length, when the closed form takes at most `workLimit` steps; bounded otherwise.
    static StrengthFigure entropyOf(const CompositionShape &shape,
                                    std::int64_t stateLimit = DefaultStateLimit,
                                    std::int64_t workLimit = DefaultWorkLimit);

    // The figure for the settings as they stand, the seed included: a user seed other than 0
    // caps it at 32 bits.
    static StrengthFigure ofSettings(const GenerationSettings &settings);

    // `figure` for draws fixed by a 32-bit user seed.
    static StrengthFigure limitedBySeed(const StrengthFigure &figure);
};
