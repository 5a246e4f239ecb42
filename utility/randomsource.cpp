#include "randomsource.h"

#include "errorrecord.h"

#include <QString>
#include <cstring>
#include <sodium.h>

namespace {

const QString Source = QStringLiteral("Utility.RandomSource");

void initialiseSodium()
{
    if (sodium_init() < 0)
        raiseError(ErrorNumber::InternalError, Source,
                   QStringLiteral("The random number library could not start"));
}

} // namespace

RandomSource::RandomSource()
{
    initialiseSodium();
    SetSeed(0);
}

RandomSource::~RandomSource()
{
    sodium_memzero(m_key.data(), m_key.size());
    sodium_memzero(m_buffer.data(), sizeof m_buffer);
}

RandomSource &RandomSource::processInstance()
{
    static RandomSource instance;
    return instance;
}

void RandomSource::SetSeed(qint32 seed)
{
    std::array<unsigned char, crypto_stream_chacha20_KEYBYTES> key {};
    if (seed == 0) {
        randombytes_buf(key.data(), key.size());
    } else {
        // The seed is hashed into a full key, so neighbouring seeds give unrelated streams.
        static constexpr unsigned char context[] = "Quorvex.RandomSource.seed";
        const std::uint32_t u = std::uint32_t(seed);
        const unsigned char bytes[4] = { (unsigned char)(u), (unsigned char)(u >> 8),
                                         (unsigned char)(u >> 16), (unsigned char)(u >> 24) };
        crypto_generichash_state state;
        crypto_generichash_init(&state, nullptr, 0, key.size());
        crypto_generichash_update(&state, context, sizeof context - 1);
        crypto_generichash_update(&state, bytes, sizeof bytes);
        crypto_generichash_final(&state, key.data(), key.size());
    }
    rekey(key.data());
    sodium_memzero(key.data(), key.size());
}

void RandomSource::rekey(const unsigned char *key)
{
    std::memcpy(m_key.data(), key, m_key.size());
    m_block = 0;
    m_next = BufferWords; // drop what is left of the old stream
}

void RandomSource::refill()
{
    static constexpr unsigned char nonce[crypto_stream_chacha20_NONCEBYTES] = {};
    static constexpr std::size_t Bytes = sizeof m_buffer;
    auto *bytes = reinterpret_cast<unsigned char *>(m_buffer.data());
    std::memset(bytes, 0, Bytes);
    crypto_stream_chacha20_xor_ic(bytes, bytes, Bytes, nonce, m_block, m_key.data());
    m_block += Bytes / 64;
    m_next = 0;
}

qint32 RandomSource::RandomBetween(qint32 low, qint32 high)
{
    return between(low, high);
}

void RandomSource::raiseInvalidRange()
{
    raiseError(ErrorNumber::InvalidArgument, Source);
}

std::uint64_t RandomSource::redrawBiased(std::uint64_t product, std::uint64_t range)
{
    const std::uint32_t threshold = std::uint32_t((0x100000000ull - range) % range);
    while (std::uint32_t(product) < threshold)
        product = std::uint64_t(nextWord()) * range;
    return product;
}
