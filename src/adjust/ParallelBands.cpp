#include "adjust/ParallelBands.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace adjust {

namespace {
std::atomic<int> bandLimit{0};
}

void LimitBands(int limit)
{
    bandLimit.store(std::max(limit, 0), std::memory_order_relaxed);
}

void ForEachBand(int rowCount, int64_t pixelCount, const std::function<void(int, int)>& work)
{
    if (rowCount <= 0)
        return;
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    const int limit = bandLimit.load(std::memory_order_relaxed);
    const int bands =
        pixelCount > LargeJobPixels ? std::min({cores, MaxBands, rowCount, limit > 0 ? limit : MaxBands}) : 1;
    if (bands < 2) {
        work(0, rowCount);
        return;
    }
    auto bandStart = [&](int band) { return static_cast<int>(static_cast<int64_t>(rowCount) * band / bands); };

    // jthreads join when they go out of scope, also when the caller's band throws.
    std::vector<std::jthread> helpers;
    helpers.reserve(bands - 1);
    // Bands 1.. go to helper threads; the calling thread takes band 0 and any band
    // whose thread could not be started, so the job completes either way.
    std::vector<int> leftOver;
    for (int band = 1; band < bands; ++band) {
        const int first = bandStart(band), end = bandStart(band + 1);
        try {
            helpers.emplace_back([&work, first, end] { work(first, end); });
        } catch (const std::system_error&) {
            leftOver.push_back(band);
        }
    }
    work(0, bandStart(1));
    for (int band : leftOver)
        work(bandStart(band), bandStart(band + 1));
}

} // namespace adjust
