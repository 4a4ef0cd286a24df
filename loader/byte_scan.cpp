// Vector loops over the bytes of a script, with a plain fallback.
#include "loader/byte_scan.h"

#include "loader/scramble_key.h"

// The vector loops need GCC's or Clang's target attributes and processor
// checks; any other compiler, or another processor, gets the plain loops.
#if defined(__GNUC__) && defined(__SSE2__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define MURMEX_X86_VECTORS 1
#else
#define MURMEX_X86_VECTORS 0
#endif

#if defined(__GNUC__)
#define MURMEX_ALWAYS_INLINE inline __attribute__((always_inline))
#define MURMEX_RESTRICT __restrict
#else
#define MURMEX_ALWAYS_INLINE inline
#define MURMEX_RESTRICT
#endif

namespace murmex {

namespace {

// The key bytes laid out twice in a row, so that the key for any run of up
// to 256 offsets is one contiguous slice.
struct RepeatedKey {
    uint8_t bytes[512];
    RepeatedKey() {
        for (uint32_t i = 0; i < 512; ++i) {
            bytes[i] = scrambleKeyAt(i);
        }
    }
};
// Built on first use rather than at program start, so that a game may load
// a script from its own global constructors.
const RepeatedKey& repeatedKey() {
    static const RepeatedKey key;
    return key;
}

bool stopsValue(uint8_t byte) {
    return byte == '"' || byte == '\n' || byte == 0;
}

const uint8_t* findValueStopPlain(const uint8_t* from, const uint8_t* to) {
    for (const uint8_t* at = from; at != to; ++at) {
        if (stopsValue(*at)) {
            return at;
        }
    }
    return nullptr;
}

#if MURMEX_X86_VECTORS
const uint8_t* findValueStopSse2(const uint8_t* from, const uint8_t* to) {
    const __m128i quotes = _mm_set1_epi8('"');
    const __m128i lineFeeds = _mm_set1_epi8('\n');
    const __m128i zeros = _mm_setzero_si128();
    const uint8_t* at = from;
    for (; to - at >= 16; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, quotes), _mm_cmpeq_epi8(bytes, lineFeeds)),
            _mm_cmpeq_epi8(bytes, zeros));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        if (mask != 0) {
            return at + __builtin_ctz(mask);
        }
    }
    return findValueStopPlain(at, to);
}

__attribute__((target("avx2"))) const uint8_t* findValueStopAvx2(const uint8_t* from,
                                                                 const uint8_t* to) {
    const __m256i quotes = _mm256_set1_epi8('"');
    const __m256i lineFeeds = _mm256_set1_epi8('\n');
    const __m256i zeros = _mm256_setzero_si256();
    const uint8_t* at = from;
    for (; to - at >= 32; at += 32) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
        const __m256i hits = _mm256_or_si256(
            _mm256_or_si256(_mm256_cmpeq_epi8(bytes, quotes), _mm256_cmpeq_epi8(bytes, lineFeeds)),
            _mm256_cmpeq_epi8(bytes, zeros));
        const unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(hits));
        if (mask != 0) {
            return at + __builtin_ctz(mask);
        }
    }
    return findValueStopSse2(at, to);
}
#endif

#if MURMEX_X86_VECTORS
// Bit i set where byte i equals the byte.
unsigned bytesEqual(__m128i bytes, uint8_t byte) {
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(byte)))));
}

// Position of the first of targets or stops above position `after`, when it
// is a target; otherwise -1.
int firstTargetAfter(unsigned targets, unsigned stops, int after) {
    const unsigned above = (targets | stops) & ~((2u << after) - 1u);
    if (above == 0) {
        return -1;
    }
    const int at = __builtin_ctz(above);
    return (targets >> at) & 1u ? at : -1;
}
#endif

// One loop body, compiled twice below: for the baseline vector unit and for
// the wider one, which the reader uses where the processor has it.
MURMEX_ALWAYS_INLINE void descrambleLoop(uint8_t* bytes, size_t count, uint32_t firstOffset) {
    const uint8_t* keys = repeatedKey().bytes;
    size_t done = 0;
    while (done < count) {
        const uint32_t keyStart = (firstOffset + static_cast<uint32_t>(done)) & 255u;
        const size_t run = count - done < 256 ? count - done : 256;
        uint8_t* MURMEX_RESTRICT target = bytes + done;
        const uint8_t* MURMEX_RESTRICT key = keys + keyStart;
        for (size_t i = 0; i < run; ++i) {
            target[i] ^= key[i];
        }
        done += run;
    }
}

void descramblePlain(uint8_t* bytes, size_t count, uint32_t firstOffset) {
    descrambleLoop(bytes, count, firstOffset);
}

#if MURMEX_X86_VECTORS
__attribute__((target("avx2"))) void descrambleAvx2(uint8_t* bytes, size_t count,
                                                    uint32_t firstOffset) {
    descrambleLoop(bytes, count, firstOffset);
}
#endif

// The widest variants this processor runs, chosen on first use (not at
// program start, for the same reason as the key).
struct BestLoops {
    const uint8_t* (*findValueStop)(const uint8_t*, const uint8_t*) = findValueStopPlain;
    void (*descramble)(uint8_t*, size_t, uint32_t) = descramblePlain;
    BestLoops() {
#if MURMEX_X86_VECTORS
        __builtin_cpu_init();
        findValueStop = findValueStopSse2;
        if (__builtin_cpu_supports("avx2")) {
            findValueStop = findValueStopAvx2;
            descramble = descrambleAvx2;
        }
#endif
    }
};
const BestLoops& bestLoops() {
    static const BestLoops loops;
    return loops;
}

} // namespace

void descrambleBytes(uint8_t* bytes, size_t count, uint32_t firstOffset) {
    bestLoops().descramble(bytes, count, firstOffset);
}

const uint8_t* findValueStop(const uint8_t* from, const uint8_t* to) {
    return bestLoops().findValueStop(from, to);
}

const uint8_t* findFieldValue(const uint8_t* from, uint8_t letter) {
#if MURMEX_X86_VECTORS
    static_assert(FIELD_WINDOW == sizeof(__m128i));
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    unsigned stops = 0;
    for (const uint8_t stop : SEEK_STOPS) {
        stops |= bytesEqual(bytes, stop);
    }
    // No stop may come before the first letter.
    const unsigned letters = bytesEqual(bytes, letter);
    const unsigned beforeLetter = letters & (0u - letters);
    if (letters == 0 || (stops & (beforeLetter - 1u)) != 0) {
        return nullptr;
    }
    const int letterAt = __builtin_ctz(letters);
    const int equalsAt = firstTargetAfter(bytesEqual(bytes, '='), stops, letterAt);
    if (equalsAt < 0) {
        return nullptr;
    }
    const int quoteAt = firstTargetAfter(bytesEqual(bytes, '"'), stops, equalsAt);
    return quoteAt < 0 ? nullptr : from + quoteAt + 1;
#else
    static_cast<void>(from);
    static_cast<void>(letter);
    return nullptr;
#endif
}

} // namespace murmex
