#pragma once

#include <cstddef>
#include <span>

namespace trelvanox {

// The per-trace loops of the amplitude operations. Each one is prepared once per operation (the
// mode, the thresholds and the factor decided up front) and then applied to one trace's samples
// at a time, so that the per-sample work is a branch-free loop over contiguous floats that the
// compiler vectorises.

// Float stand-ins for double thresholds, so that the loops compare floats with floats and still
// decide as a comparison in double precision would: for every float x, NaN included,
// x < t exactly when x < BelowBound(t), and x > t exactly when x > AboveBound(t).
float BelowBound(double threshold);
float AboveBound(double threshold);

enum class TGainMode { Below, Above, Between };

// Which amplitudes |a| the gain changes, with strict comparisons: below |a| < T, above |a| > T,
// between A < |a| < B. Thresholds are absolute values in double precision.
class TAmplitudeCondition {
  public:
    static TAmplitudeCondition Below(double threshold);
    static TAmplitudeCondition Above(double threshold);
    static TAmplitudeCondition Between(double lower, double upper);

    bool Holds(float sample) const;

  private:
    TAmplitudeCondition(TGainMode mode, float above, float below)
        : mode_(mode), above_(above), below_(below) {}

    TGainMode mode_;
    float above_;  // amplitudes greater than this qualify (above, between)
    float below_;  // amplitudes less than this qualify (below, between)
    friend class TGainKernel;
};

// Multiplies the samples that meet the condition by the factor: k x a computed in extended
// precision and rounded to single precision, exactly as static_cast<float>(k * (long double)a).
class TGainKernel {
  public:
    TGainKernel(const TAmplitudeCondition& condition, long double factor);

    void Apply(std::span<float> samples) const;
    // Whether the products come from one float multiplication, which gives the same result when
    // the factor is a float; other factors take the slower extended-precision multiplication.
    bool UsesFloatProducts() const { return floatProducts_; }

  private:
    TAmplitudeCondition condition_;
    long double factor_;
    bool floatProducts_;
};

// Clipping: a sample with |a| > |M| becomes sigma x M rounded to single precision, sigma being -1
// for a < 0 and +1 otherwise (so a negative sample clipped to M = 0 becomes -0.0).
class TClipKernel {
  public:
    explicit TClipKernel(double level);
    void Apply(std::span<float> samples) const;

  private:
    float bound_;
    float level_;
    bool clamps_;
};

// Silencing: a sample with |a| < |m| becomes +0.0.
class TSilenceKernel {
  public:
    explicit TSilenceKernel(double level);
    void Apply(std::span<float> samples) const;

  private:
    float bound_;
};

// The largest amplitude of the samples, 0 when there are none; NaN samples do not count.
float LargestAmplitude(std::span<const float> samples);
// The smallest amplitude greater than zero, +infinity when there is none; NaN does not count.
float SmallestNonZeroAmplitude(std::span<const float> samples);
// The index of the first sample whose amplitude equals amplitude, or samples.size().
std::size_t FirstWithAmplitude(std::span<const float> samples, float amplitude);
// Whether any sample meets the condition.
bool AnyMeets(std::span<const float> samples, const TAmplitudeCondition& condition);

}  // namespace trelvanox
