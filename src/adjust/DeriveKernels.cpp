#include "adjust/DeriveKernels.h"

#include <algorithm>
#include <atomic>

#if defined(__x86_64__) && defined(__GNUC__)
// GCC 12 warns about the deliberately undefined vectors inside its own AVX-512
// intrinsics (_mm512_undefined_epi32) wherever they are inlined.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
#define LUMACET_VBMI_KERNELS 1
#endif

namespace adjust {

namespace {

constexpr int ClampedLow = -257; // GreyTable >= m - 2(m + 1) >= -257
constexpr int ClampedHigh = 767; // GreyTable <= 255, ChromaTable <= 512
static_assert(sizeof(DeriveTables::ClampedTone) == ClampedHigh - ClampedLow + 1);

std::atomic<bool> vectorAllowed{true};

void CopyRow(const uint32_t* src, uint32_t* dst, int width)
{
    for (int x = 0; x < width; ++x)
        dst[x] = src[x] | 0xFF000000u;
}

void ToneRow(const uint32_t* src, uint32_t* dst, int width, const DeriveTables& t)
{
    for (int x = 0; x < width; ++x) {
        const uint32_t p = src[x];
        dst[x] = 0xFF000000u | uint32_t(t.Tone[(p >> 16) & 0xFF]) << 16 | uint32_t(t.Tone[(p >> 8) & 0xFF]) << 8
                 | t.Tone[p & 0xFF];
    }
}

void FullRow(const uint32_t* src, uint32_t* dst, int width, const DeriveTables& t)
{
    const uint8_t* tone = t.ClampedTone - ClampedLow;
    for (int x = 0; x < width; ++x) {
        const uint32_t p = src[x];
        const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        const int grey = t.Grey[r + g + b];
        dst[x] = 0xFF000000u | uint32_t(tone[grey + t.Chroma[r]]) << 16 | uint32_t(tone[grey + t.Chroma[g]]) << 8
                 | tone[grey + t.Chroma[b]];
    }
}

#ifdef LUMACET_VBMI_KERNELS

#define LUMACET_VBMI __attribute__((target("avx512f,avx512bw,avx512vbmi")))

// ToneTable[i] for every byte i of the vector: the low seven bits pick one of
// 128 entries from each half of the table, bit 7 picks the half.
struct VbmiTone {
    __m512i q0, q1, q2, q3;
};

LUMACET_VBMI VbmiTone LoadTone(const uint8_t* tone)
{
    return {_mm512_loadu_si512(tone), _mm512_loadu_si512(tone + 64), _mm512_loadu_si512(tone + 128),
            _mm512_loadu_si512(tone + 192)};
}

LUMACET_VBMI inline __m512i LookUpBytes(const VbmiTone& t, __m512i index)
{
    const __m512i low = _mm512_permutex2var_epi8(t.q0, index, t.q1);
    const __m512i high = _mm512_permutex2var_epi8(t.q2, index, t.q3);
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(index), low, high);
}

LUMACET_VBMI void ToneRowVbmi(const uint32_t* src, uint32_t* dst, int width, const DeriveTables& t)
{
    const VbmiTone tone = LoadTone(t.Tone);
    const __m512i opaque = _mm512_set1_epi32(int(0xFF000000u));
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        // The fourth byte is looked up too and then overwritten with 0xFF.
        const __m512i p = _mm512_loadu_si512(src + x);
        _mm512_storeu_si512(dst + x, _mm512_or_si512(LookUpBytes(tone, p), opaque));
    }
    ToneRow(src + x, dst + x, width - x, t);
}

LUMACET_VBMI inline __m512i Chroma(__m512i c, __m512i one, __m512i factor)
{
    return _mm512_srli_epi32(_mm512_mullo_epi32(_mm512_add_epi32(c, one), factor), 8);
}

LUMACET_VBMI inline __m512i ClampToByte(__m512i v, __m512i zero, __m512i max)
{
    return _mm512_min_epi32(_mm512_max_epi32(v, zero), max);
}

// The saturation step in 32-bit lanes, with ChromaTable and GreyTable computed
// by their defining formulas instead of looked up: ChromaTable[c] =
// ((c + 1) * F) >> 8, and m = s div 3 = (s * 0xAAAB) >> 17, exact for every
// s below 2^16. The clamped indices of the three channels are then packed into
// the bytes of one vector and looked up in ToneTable at once.
LUMACET_VBMI void FullRowVbmi(const uint32_t* src, uint32_t* dst, int width, const DeriveTables& t)
{
    const VbmiTone tone = LoadTone(t.Tone);
    const __m512i opaque = _mm512_set1_epi32(int(0xFF000000u));
    const __m512i byteMask = _mm512_set1_epi32(0xFF);
    const __m512i one = _mm512_set1_epi32(1);
    const __m512i third = _mm512_set1_epi32(0xAAAB);
    const __m512i factor = _mm512_set1_epi32(t.SaturationFactor);
    const __m512i zero = _mm512_setzero_si512();
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        const __m512i p = _mm512_loadu_si512(src + x);
        const __m512i b = _mm512_and_si512(p, byteMask);
        const __m512i g = _mm512_and_si512(_mm512_srli_epi32(p, 8), byteMask);
        const __m512i r = _mm512_and_si512(_mm512_srli_epi32(p, 16), byteMask);
        const __m512i sum = _mm512_add_epi32(_mm512_add_epi32(r, g), b);
        const __m512i mean = _mm512_srli_epi32(_mm512_mullo_epi32(sum, third), 17);
        const __m512i grey = _mm512_sub_epi32(mean, Chroma(mean, one, factor));
        const __m512i nb = ClampToByte(_mm512_add_epi32(grey, Chroma(b, one, factor)), zero, byteMask);
        const __m512i ng = ClampToByte(_mm512_add_epi32(grey, Chroma(g, one, factor)), zero, byteMask);
        const __m512i nr = ClampToByte(_mm512_add_epi32(grey, Chroma(r, one, factor)), zero, byteMask);
        const __m512i index =
            _mm512_or_si512(_mm512_or_si512(nb, _mm512_slli_epi32(ng, 8)), _mm512_slli_epi32(nr, 16));
        _mm512_storeu_si512(dst + x, _mm512_or_si512(LookUpBytes(tone, index), opaque));
    }
    FullRow(src + x, dst + x, width - x, t);
}

bool CpuHasVbmi()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")
           && __builtin_cpu_supports("avx512vbmi");
}

#endif

} // namespace

DeriveKind ChooseDeriveKind(int brightness, int contrast, int saturation)
{
    if (brightness == 0 && contrast == 0 && saturation == 0)
        return DeriveKind::Copy;
    return saturation == 0 ? DeriveKind::ToneOnly : DeriveKind::Full;
}

void BuildDeriveTables(const AdjustTables& tables, int saturationFactor, DeriveTables& out)
{
    std::copy(tables.ChromaTable.begin(), tables.ChromaTable.end(), out.Chroma);
    std::copy(tables.GreyTable.begin(), tables.GreyTable.end(), out.Grey);
    std::copy(tables.ToneTable.begin(), tables.ToneTable.end(), out.Tone);
    for (int i = ClampedLow; i <= ClampedHigh; ++i)
        out.ClampedTone[i - ClampedLow] = tables.ToneTable[std::clamp(i, 0, 255)];
    out.SaturationFactor = saturationFactor;
}

bool VectorKernelsAvailable()
{
#ifdef LUMACET_VBMI_KERNELS
    static const bool available = CpuHasVbmi();
    return available;
#else
    return false;
#endif
}

void AllowVectorKernels(bool allow)
{
    vectorAllowed.store(allow, std::memory_order_relaxed);
}

void DeriveRows(DeriveKind kind, const DeriveTables& tables, const uchar* srcBits, qsizetype srcStride, uchar* dstBits,
                qsizetype dstStride, int width, int first, int end)
{
    [[maybe_unused]] const bool vector = VectorKernelsAvailable() && vectorAllowed.load(std::memory_order_relaxed);
    for (int y = first; y < end; ++y) {
        const auto* src = reinterpret_cast<const uint32_t*>(srcBits + y * srcStride);
        auto* dst = reinterpret_cast<uint32_t*>(dstBits + y * dstStride);
        switch (kind) {
        case DeriveKind::Copy:
            CopyRow(src, dst, width);
            break;
        case DeriveKind::ToneOnly:
#ifdef LUMACET_VBMI_KERNELS
            if (vector) {
                ToneRowVbmi(src, dst, width, tables);
                break;
            }
#endif
            ToneRow(src, dst, width, tables);
            break;
        case DeriveKind::Full:
#ifdef LUMACET_VBMI_KERNELS
            if (vector) {
                FullRowVbmi(src, dst, width, tables);
                break;
            }
#endif
            FullRow(src, dst, width, tables);
            break;
        }
    }
}

} // namespace adjust
