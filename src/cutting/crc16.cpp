#include "cutting/crc16.h"

#include <array>
#include <atomic>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QC_CRC_FOLDING 1
#endif

namespace qc {

namespace {

using Tables = std::array<std::array<std::uint16_t, 256>, 8>;

constexpr Tables maketables()
{
    Tables t{};
    for (unsigned i = 0; i < 256; ++i) {
        std::uint16_t c = static_cast<std::uint16_t>(i);
        for (int k = 0; k < 8; ++k)
            c = static_cast<std::uint16_t>((c & 1) ? (c >> 1) ^ 0xA001 : c >> 1);
        t[0][i] = c;
    }
    // t[k][i]: the CRC of byte i followed by k zero bytes
    for (unsigned i = 0; i < 256; ++i)
        for (int k = 1; k < 8; ++k)
            t[k][i] = static_cast<std::uint16_t>((t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF]);
    return t;
}

constexpr Tables tables = maketables();


std::uint16_t tablecrc(std::uint16_t crc, const std::uint8_t* data, std::size_t n)
{
    while (n >= 8) {
        // the running CRC folds into the first two bytes of the block
        std::uint8_t b0 = static_cast<std::uint8_t>(data[0] ^ (crc & 0xFF));
        std::uint8_t b1 = static_cast<std::uint8_t>(data[1] ^ (crc >> 8));
        crc = static_cast<std::uint16_t>(tables[7][b0] ^ tables[6][b1] ^ tables[5][data[2]] ^
                                         tables[4][data[3]] ^ tables[3][data[4]] ^ tables[2][data[5]] ^
                                         tables[1][data[6]] ^ tables[0][data[7]]);
        data += 8;
        n -= 8;
    }
    while (n-- > 0)
        crc = static_cast<std::uint16_t>((crc >> 8) ^ tables[0][(crc ^ *data++) & 0xFF]);
    return crc;
}


#ifdef QC_CRC_FOLDING

// Carry-less multiplication folds the data 64 bytes at a time into four
// 16-byte remainders, which a final pass through the tables reduces. The
// data's bits are taken first-byte-first, lowest bit first, as the CRC
// reads them: in a 16-byte block loaded little-endian, bit j stands for
// x^(127-j), and a 64-bit constant's bit j for x^(63-j); the product of two
// such halves then stands one degree lower than the block's bits, so the
// constants are the powers x^(d-1) for a fold over a distance of d bits.

// x^n mod P (P = x^16 + x^15 + x^2 + 1), in a constant's bit order.
constexpr std::uint64_t foldconstant(unsigned n)
{
    std::uint32_t r = 1;
    for (unsigned i = 0; i < n; ++i) {
        r <<= 1;
        if (r & 0x10000)
            r ^= 0x18005;
    }
    std::uint64_t k = 0;
    for (unsigned d = 0; d < 16; ++d)
        if ((r >> d) & 1)
            k |= std::uint64_t{1} << (63 - d);
    return k;
}

// The block moved d bits on: its first half times x^(d+64), its second half times x^d.
#define QC_FOLD_CONSTANTS(d) _mm_set_epi64x(static_cast<long long>(foldconstant((d) - 1)), \
                                            static_cast<long long>(foldconstant((d) + 64 - 1)))

__attribute__((target("pclmul,sse2"))) inline __m128i fold(__m128i x, __m128i k)
{
    return _mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11));
}

__attribute__((target("pclmul,sse2"))) std::uint16_t foldedcrc(std::uint16_t crc, const std::uint8_t* data,
                                                               std::size_t n)
{
    // the running CRC goes into the first two bytes, as the tables' step takes it
    __m128i x0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
    __m128i x1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16));
    __m128i x2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 32));
    __m128i x3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 48));
    x0 = _mm_xor_si128(x0, _mm_cvtsi32_si128(crc));
    data += 64;
    n -= 64;
    const __m128i by512 = QC_FOLD_CONSTANTS(512);
    while (n >= 64) {
        x0 = _mm_xor_si128(fold(x0, by512), _mm_loadu_si128(reinterpret_cast<const __m128i*>(data)));
        x1 = _mm_xor_si128(fold(x1, by512), _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16)));
        x2 = _mm_xor_si128(fold(x2, by512), _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 32)));
        x3 = _mm_xor_si128(fold(x3, by512), _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 48)));
        data += 64;
        n -= 64;
    }
    const __m128i by128 = QC_FOLD_CONSTANTS(128);
    x1 = _mm_xor_si128(x1, fold(x0, by128));
    x2 = _mm_xor_si128(x2, fold(x1, by128));
    x3 = _mm_xor_si128(x3, fold(x2, by128));
    // x3 now stands for everything before the tail: its 16 bytes, run
    // through the tables from 0, give the CRC so far
    std::uint8_t last[16];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(last), x3);
    return tablecrc(tablecrc(0, last, 16), data, n);
}

bool canfold()
{
    static const bool has = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse2");
    return has;
}

#endif

std::atomic<bool> folding{true};

}  // namespace

std::uint16_t crc16arc(std::uint16_t crc, const std::uint8_t* data, std::size_t n)
{
#ifdef QC_CRC_FOLDING
    // below a few blocks the tables are as quick
    if (n >= 256 && usefolding() && canfold())
        return foldedcrc(crc, data, n);
#endif
    return tablecrc(crc, data, n);
}

bool usefolding()
{
    return folding.load(std::memory_order_relaxed);
}

void setfolding(bool on)
{
    folding.store(on, std::memory_order_relaxed);
}

}  // namespace qc
