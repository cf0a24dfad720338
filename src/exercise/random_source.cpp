#include "exercise/random_source.h"

#include <chrono>

namespace hayate {

Mt19937Source::Mt19937Source() { reseed(); }

Mt19937Source::Mt19937Source(std::uint32_t fixedSeed) : fixed_(true), fixedSeed_(fixedSeed) {
    reseed();
}

void Mt19937Source::reseed() {
    if (fixed_) {
        engine_.seed(fixedSeed_);
        return;
    }
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    std::seed_seq seq{static_cast<std::uint32_t>(now), static_cast<std::uint32_t>(now >> 32)};
    engine_.seed(seq);
}

int Mt19937Source::below(int n) {
    if (n <= 1) return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(engine_);
}

}  // namespace hayate
