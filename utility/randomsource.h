#pragma once

#include <QtGlobal>
#include <array>
#include <cstdint>

// Uniform whole numbers from a ChaCha20 key stream. Unseeded or seeded with 0 it is keyed from
// the operating system's entropy source; any other seed keys it from that seed, so equal seeds
// give equal draws. The stream is produced a block at a time, so a draw is cheap.
class RandomSource
{
public:
    RandomSource();
    virtual ~RandomSource();
    RandomSource(const RandomSource &) = delete;
    RandomSource &operator=(const RandomSource &) = delete;

    // The instance the program shares, made on first use and kept until the process ends.
    static RandomSource &processInstance();

    // 0: a fresh key from the operating system; any other value: the sequence of that value.
    virtual void SetSeed(qint32 seed);

    // A uniformly chosen whole number from low to high, both included, without modulo bias.
    // Raises error 5 when low is above high.
    virtual qint32 RandomBetween(qint32 low, qint32 high);

    // RandomBetween() as this class draws it, inline, for a hot loop that has made sure the
    // source is this class itself and not one that draws otherwise.
    qint32 between(qint32 low, qint32 high)
    {
        if (low > high) [[unlikely]]
            raiseInvalidRange();
        const std::uint64_t range = std::uint64_t(std::int64_t(high) - std::int64_t(low)) + 1;
        if (range > 0xFFFFFFFFull) [[unlikely]]
            return qint32(std::int64_t(low) + nextWord());
        // Lemire's multiply-and-reject: the top half of word * range is uniform once the few
        // low values that would favour some results are thrown back.
        std::uint64_t product = std::uint64_t(nextWord()) * range;
        if (std::uint32_t(product) < range) [[unlikely]]
            product = redrawBiased(product, range);
        return qint32(std::int64_t(low) + std::int64_t(product >> 32));
    }

private:
    // Inline: a password takes some forty draws, and the call would cost more than the word.
    std::uint32_t nextWord()
    {
        if (m_next == BufferWords) [[unlikely]]
            refill();
        return m_buffer[m_next++];
    }
    void refill();
    [[noreturn]] static void raiseInvalidRange();
    // Draws again while the product's low half falls among the values that favour some results.
    std::uint64_t redrawBiased(std::uint64_t product, std::uint64_t range);
    void rekey(const unsigned char *key);

    static constexpr std::size_t BufferWords = 1024;
    std::array<unsigned char, 32> m_key {};
    std::array<std::uint32_t, BufferWords> m_buffer {};
    std::size_t m_next = BufferWords;
    std::uint64_t m_block = 0;
};
