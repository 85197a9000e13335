#include "amplitude/amplitude_kernels.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace trelvanox {

namespace {

constexpr std::uint32_t kSignBit = 0x80000000u;

std::uint32_t Bits(float x) {
    return std::bit_cast<std::uint32_t>(x);
}

float FromBits(std::uint32_t bits) {
    return std::bit_cast<float>(bits);
}

float Amplitude(float x) {
    return FromBits(Bits(x) & ~kSignBit);
}

// x where take holds, else y; written with masks so that loops using it stay branch-free.
float Choose(bool take, float x, float y) {
    const std::uint32_t mask = 0u - static_cast<std::uint32_t>(take);
    return FromBits((Bits(x) & mask) | (Bits(y) & ~mask));
}

struct TBelowTest {
    float Below;
    bool operator()(float amplitude) const { return amplitude < Below; }
};

struct TAboveTest {
    float Above;
    bool operator()(float amplitude) const { return amplitude > Above; }
};

struct TBetweenTest {
    float Above;
    float Below;
    bool operator()(float amplitude) const { return (amplitude > Above) & (amplitude < Below); }
};

// Calls f with the condition's test as a concrete type, so that the mode is decided once per
// call rather than once per sample.
template <typename TFunction>
auto WithTest(TGainMode mode, float above, float below, TFunction&& f) {
    switch (mode) {
        case TGainMode::Below:
            return f(TBelowTest{below});
        case TGainMode::Above:
            return f(TAboveTest{above});
        case TGainMode::Between:
            break;
    }
    return f(TBetweenTest{above, below});
}

template <typename TTest>
void GainWithFloatProducts(std::span<float> samples, TTest test, float factor) {
    for (float& x : samples) {
        const float a = x;
        x = Choose(test(Amplitude(a)), factor * a, a);
    }
}

// x86-64 has no vector instructions for extended precision: the products are formed one by one
// in a tight loop of their own, into a buffer, so that the selection can still be vectorised.
template <typename TTest>
void GainWithExtendedProducts(std::span<float> samples, TTest test, long double factor) {
    constexpr std::size_t kChunk = 512;
    std::array<float, kChunk> products;
    for (std::size_t start = 0; start < samples.size(); start += kChunk) {
        const std::span<float> chunk =
            samples.subspan(start, std::min(kChunk, samples.size() - start));
        for (std::size_t i = 0; i < chunk.size(); ++i)
            products[i] = static_cast<float>(factor * static_cast<long double>(chunk[i]));
        for (std::size_t i = 0; i < chunk.size(); ++i)
            chunk[i] = Choose(test(Amplitude(chunk[i])), products[i], chunk[i]);
    }
}

// A factor that is a float: then k x a is exact in extended precision (at most 24 + 24 significant
// bits), and rounding it to float is what the float multiplication does in one instruction.
bool IsFloat(long double factor) {
    return static_cast<long double>(static_cast<float>(factor)) == factor;
}

float Max(float x, float y) {
    return x > y ? x : y;  // y when x is NaN: one instruction, and NaN drops out
}

float Min(float x, float y) {
    return x < y ? x : y;
}

}  // namespace

float BelowBound(double threshold) {
    float bound = static_cast<float>(threshold);
    if (static_cast<double>(bound) < threshold)
        bound = std::nextafter(bound, std::numeric_limits<float>::infinity());
    return bound;
}

float AboveBound(double threshold) {
    float bound = static_cast<float>(threshold);
    if (static_cast<double>(bound) > threshold)
        bound = std::nextafter(bound, -std::numeric_limits<float>::infinity());
    return bound;
}

TAmplitudeCondition TAmplitudeCondition::Below(double threshold) {
    return {TGainMode::Below, 0.0f, BelowBound(threshold)};
}

TAmplitudeCondition TAmplitudeCondition::Above(double threshold) {
    return {TGainMode::Above, AboveBound(threshold), 0.0f};
}

TAmplitudeCondition TAmplitudeCondition::Between(double lower, double upper) {
    return {TGainMode::Between, AboveBound(lower), BelowBound(upper)};
}

bool TAmplitudeCondition::Holds(float sample) const {
    return WithTest(mode_, above_, below_,
                    [&](auto test) { return static_cast<bool>(test(Amplitude(sample))); });
}

TGainKernel::TGainKernel(const TAmplitudeCondition& condition, long double factor)
    : condition_(condition), factor_(factor), floatProducts_(IsFloat(factor)) {}

void TGainKernel::Apply(std::span<float> samples) const {
    WithTest(condition_.mode_, condition_.above_, condition_.below_, [&](auto test) {
        if (floatProducts_)
            GainWithFloatProducts(samples, test, static_cast<float>(factor_));
        else
            GainWithExtendedProducts(samples, test, factor_);
    });
}

TClipKernel::TClipKernel(double level)
    : bound_(AboveBound(std::fabs(level))),
      level_(static_cast<float>(level)),
      clamps_(!std::signbit(level)) {}

void TClipKernel::Apply(std::span<float> samples) const {
    const float level = level_;
    if (clamps_) {
        // With M >= 0 the stage is a clamp to [-M, M] rounded to float: a sample between the
        // bound and that rounded M is replaced by itself. The operand order keeps NaN and -0.0.
        const float low = -level;
        for (float& x : samples) x = Min(level, Max(low, x));
        return;
    }
    // A sample that qualifies is neither zero nor NaN, so its sign bit says whether it is
    // negative; flipping the sign of M rounded to float is rounding -M.
    const std::uint32_t levelBits = Bits(level);
    const float bound = bound_;
    for (float& x : samples) {
        const float clipped = FromBits(levelBits ^ (Bits(x) & kSignBit));
        x = Choose(Amplitude(x) > bound, clipped, x);
    }
}

TSilenceKernel::TSilenceKernel(double level) : bound_(BelowBound(std::fabs(level))) {}

void TSilenceKernel::Apply(std::span<float> samples) const {
    const float bound = bound_;
    for (float& x : samples) x = Choose(Amplitude(x) < bound, 0.0f, x);
}

// Reductions keep kLanes running values, updated element by element, which the compiler turns
// into vector maxima and minima; the lanes are folded at the end.
constexpr std::size_t kLanes = 32;

float LargestAmplitude(std::span<const float> samples) {
    std::array<float, kLanes> lanes{};
    std::size_t i = 0;
    for (; i + kLanes <= samples.size(); i += kLanes) {
        for (std::size_t j = 0; j < kLanes; ++j)
            lanes[j] = Max(Amplitude(samples[i + j]), lanes[j]);
    }
    float largest = 0.0f;
    for (const float lane : lanes) largest = Max(lane, largest);
    for (; i < samples.size(); ++i) largest = Max(Amplitude(samples[i]), largest);
    return largest;
}

// Works on the bits of each amplitude less one, as a float: a positive amplitude becomes the
// float below it (the order is kept), zero becomes NaN, which Min drops.
float SmallestNonZeroAmplitude(std::span<const float> samples) {
    constexpr float kNone = std::numeric_limits<float>::infinity();
    const auto lessOne = [](float x) { return FromBits(Bits(Amplitude(x)) - 1u); };
    std::array<float, kLanes> lanes;
    lanes.fill(kNone);
    std::size_t i = 0;
    for (; i + kLanes <= samples.size(); i += kLanes) {
        for (std::size_t j = 0; j < kLanes; ++j) lanes[j] = Min(lessOne(samples[i + j]), lanes[j]);
    }
    float smallest = kNone;
    for (const float lane : lanes) smallest = Min(lane, smallest);
    for (; i < samples.size(); ++i) smallest = Min(lessOne(samples[i]), smallest);
    // Infinity (less one) comes back as infinity; a NaN sample, or none at all, as more.
    const std::uint32_t bits = Bits(smallest) + 1u;
    return bits > Bits(kNone) ? kNone : FromBits(bits);
}

std::size_t FirstWithAmplitude(std::span<const float> samples, float amplitude) {
    const auto it = std::find_if(samples.begin(), samples.end(),
                                 [&](float x) { return Amplitude(x) == amplitude; });
    return static_cast<std::size_t>(it - samples.begin());
}

bool AnyMeets(std::span<const float> samples, const TAmplitudeCondition& condition) {
    return std::any_of(samples.begin(), samples.end(), [&](float x) { return condition.Holds(x); });
}

}  // namespace trelvanox
