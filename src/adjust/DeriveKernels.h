#pragma once
#include "adjust/ColorAdjustment.h"

#include <QtGlobal>

#include <cstdint>

// The per-row kernels of DeriveAdjustedPicture: 32-bit pixels 0xAARRGGBB in,
// opaque 32-bit pixels out, each channel exactly as ApplyColorAdjustment would
// make it. Where the processor has AVX-512 VBMI, sixteen pixels go through
// one pass of vector instructions (the 256-byte ToneTable fits in four
// registers); everywhere else a portable one-pixel-at-a-time loop does the work.
namespace adjust {

enum class DeriveKind {
    Copy,     // all three values 0: both tables are the identity
    ToneOnly, // saturation 0: the saturation step gives back each channel
    Full,
};

struct DeriveTables {
    int32_t Chroma[256];
    int32_t Grey[768];
    uint8_t Tone[256];
    // ToneTable[clamp(i, 0, 255)] for i = -257 to 767, every value that
    // GreyTable[s] + ChromaTable[c] can take, so the loop needs no clamp.
    uint8_t ClampedTone[1025];
    int SaturationFactor;
};

DeriveKind ChooseDeriveKind(int brightness, int contrast, int saturation);
void BuildDeriveTables(const AdjustTables& tables, int saturationFactor, DeriveTables& out);

// Rows [first, end) of width pixels; the tables are unused for Copy.
void DeriveRows(DeriveKind kind, const DeriveTables& tables, const uchar* srcBits, qsizetype srcStride, uchar* dstBits,
                qsizetype dstStride, int width, int first, int end);

// Whether the vector kernels run on this processor, and a switch for tests and
// benchmarks that forces the portable kernels (false) or allows the vector
// ones again (true). Not meant to be flipped while a derivation runs.
bool VectorKernelsAvailable();
void AllowVectorKernels(bool allow);

} // namespace adjust
