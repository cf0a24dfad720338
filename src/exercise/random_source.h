// Where the practice texts get their chance from, so that tests can fix it.
#pragma once

#include <cstdint>
#include <random>

namespace hayate {

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // Called once before each practice text is drawn.
    virtual void reseed() = 0;
    // A uniform integer in 0..n-1 (n >= 1).
    virtual int below(int n) = 0;
};

// A Mersenne Twister. By default it takes a new seed from the clock at every
// reseed; with a fixed seed every text repeats exactly.
class Mt19937Source final : public RandomSource {
  public:
    Mt19937Source();
    explicit Mt19937Source(std::uint32_t fixedSeed);
    void reseed() override;
    int below(int n) override;

  private:
    bool fixed_ = false;
    std::uint32_t fixedSeed_ = 0;
    std::mt19937 engine_;
};

}  // namespace hayate
