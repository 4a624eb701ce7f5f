#pragma once
#include <cstdint>
#include <functional>

// Splits the rows [0, rowCount) into contiguous bands and runs work(first, end)
// on each. Only a large job (more than LargeJobPixels pixels) is spread over the
// machine's cores, one band per core (at most MaxBands); a small one runs in the
// calling thread, where starting threads would cost more than it saves. The
// bands never overlap, so work that writes only its own rows needs no lock.
// work must not throw.
namespace adjust {

inline constexpr int64_t LargeJobPixels = 1'000'000;
inline constexpr int MaxBands = 8;

void ForEachBand(int rowCount, int64_t pixelCount, const std::function<void(int first, int end)>& work);

// For benchmarks and tests: at most limit bands (1 keeps every job in the
// calling thread); 0 lifts the limit again. Not meant to change while a job runs.
void LimitBands(int limit);

} // namespace adjust
