#include "radargram_generator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <numbers>
#include <span>
#include <stdexcept>
#include <string>

#include "model/radar_records.h"
#include "model/text_field.h"

namespace trelvanox {

namespace {

constexpr std::size_t kFileBufferSize = std::size_t{8} << 20;
constexpr std::size_t kMemoryBufferSize = std::size_t{64} << 10;
constexpr double kPi = std::numbers::pi;
constexpr float kMaxAmplitude = 32000.0f;

// Small, fast and the same on every platform, unlike the standard distributions.
class TSplitMix {
  public:
    explicit TSplitMix(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, n).
    std::uint32_t Below(std::uint32_t n) {
        return static_cast<std::uint32_t>(((Next() >> 32) * n) >> 32);
    }
    // Uniform in [lo, hi).
    double Uniform(double lo, double hi) {
        return lo + (hi - lo) * static_cast<double>(Next() >> 11) * 0x1.0p-53;
    }
    void Fill(std::span<std::uint8_t> bytes) {
        for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(Next() >> 56);
    }
    void FillNonZero(std::span<std::uint8_t> bytes) {
        for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(1 + Below(255));
    }

  private:
    std::uint64_t state_;
};

template <typename T>
std::span<std::uint8_t> BytesOf(T& record) {
    return {reinterpret_cast<std::uint8_t*>(&record), sizeof(T)};
}

// A text field as the recording leaves it: the text, its NUL, and leftovers behind the NUL.
void PutText(std::span<char, kTextFieldSize> field, std::string_view utf8, TSplitMix& rng) {
    rng.FillNonZero({reinterpret_cast<std::uint8_t*>(field.data()), field.size()});
    WriteTextField(field, utf8);
}

// Collects the file in one buffer and hands it on whenever it is full.
class TOutput {
  public:
    using TSink = std::function<void(std::span<const std::uint8_t>)>;

    TOutput(std::size_t capacity, TSink sink) : buffer_(capacity), sink_(std::move(sink)) {}

    // Room for n bytes at the end of the output; valid until the next call.
    std::span<std::uint8_t> Append(std::size_t n) {
        if (used_ + n > buffer_.size()) {
            Flush();
            if (n > buffer_.size()) buffer_.resize(n);
        }
        const std::span<std::uint8_t> room(buffer_.data() + used_, n);
        used_ += n;
        return room;
    }
    template <typename T>
    void Put(const T& record) {
        std::memcpy(Append(sizeof(T)).data(), &record, sizeof(T));
    }
    void Flush() {
        if (used_ > 0) sink_({buffer_.data(), used_});
        used_ = 0;
    }

  private:
    std::vector<std::uint8_t> buffer_;
    std::size_t used_ = 0;
    TSink sink_;
};

// Which traces carry a label and which of those have no text.
class TLabelPlan {
  public:
    explicit TLabelPlan(const TGeneratorOptions& options)
        : every_(options.LabelEvery),
          first_(options.LabelFirst),
          share_(std::clamp(options.ShareWithoutText, 0.0, 1.0)) {
        if (every_ > 0 && first_ < options.TraceCount)
            labelled_ = (options.TraceCount - 1 - first_) / every_ + 1;
    }

    std::uint32_t Labelled() const { return labelled_; }
    // The ordinal of trace t among the labelled traces, or nothing.
    std::optional<std::uint32_t> Ordinal(std::uint32_t t) const {
        if (every_ == 0 || t < first_ || (t - first_) % every_ != 0) return std::nullopt;
        return (t - first_) / every_;
    }
    // Spreads the labels without text evenly: label k has none when the running share crosses
    // a whole number there.
    bool WithoutText(std::uint32_t k) const {
        return std::floor((k + 1.0) * share_) > std::floor(k * share_);
    }
    std::uint32_t CountWithoutText() const {
        std::uint32_t n = 0;
        for (std::uint32_t k = 0; k < labelled_; ++k) n += WithoutText(k) ? 1 : 0;
        return n;
    }

  private:
    std::uint32_t every_;
    std::uint32_t first_;
    double share_;
    std::uint32_t labelled_ = 0;
};

// A Ricker wavelet tabulated at sub-sample shifts, so that placing a reflection costs a few
// multiply-adds instead of exponentials.
class TWavelet {
  public:
    static constexpr int kPhases = 16;

    explicit TWavelet(double width) : half_(static_cast<int>(std::ceil(3.5 * width))) {
        const int taps = 2 * half_ + 1;
        table_.resize(static_cast<std::size_t>(kPhases * taps));
        for (int p = 0; p < kPhases; ++p) {
            for (int j = 0; j < taps; ++j) {
                const double z = (j - half_ - p / double{kPhases}) / width;
                table_[static_cast<std::size_t>(p * taps + j)] =
                    static_cast<float>((1.0 - 2.0 * z * z) * std::exp(-z * z));
            }
        }
    }

    void Add(std::span<float> trace, double position, float amplitude) const {
        const double floorPos = std::floor(position);
        const int phase = static_cast<int>((position - floorPos) * kPhases);
        const long centre = static_cast<long>(floorPos);
        const int taps = 2 * half_ + 1;
        const float* row = &table_[static_cast<std::size_t>(phase * taps)];
        const long size = static_cast<long>(trace.size());
        for (int j = 0; j < taps; ++j) {
            const long s = centre + j - half_;
            if (s >= 0 && s < size) trace[static_cast<std::size_t>(s)] += amplitude * row[j];
        }
    }

  private:
    int half_;
    std::vector<float> table_;
};

// A reflecting boundary that wanders slowly in depth along the profile.
struct TLayer {
    double Depth;  // share of the window
    double Swing1, Period1, Phase1;
    double Swing2, Period2, Phase2;
    float Amplitude;
};

// A local object (a pipe, a stone) seen as a diffraction hyperbola.
struct THyperbola {
    double ApexTrace;
    double ApexSample;
    double HalfWidth;  // traces
    double Slope;      // samples per trace far from the apex
    float Amplitude;
};

// Everything that shapes the samples; drawn once from its own stream.
class TSceneSampler {
  public:
    TSceneSampler(const TGeneratorOptions& options, std::uint64_t seed)
        : samples_(options.SampleCount),
          wavelet_(std::max(0.8, options.SampleCount / 170.0)),
          noise_(seed ^ 0x6E6F697365ull) {
        TSplitMix rng(seed);
        const double s = samples_;
        const std::array<double, 5> depths = {0.14, 0.27, 0.43, 0.6, 0.78};
        for (double d : depths) {
            TLayer layer{};
            layer.Depth = d + rng.Uniform(-0.03, 0.03);
            layer.Swing1 = rng.Uniform(0.004, 0.02) * s;
            layer.Period1 = rng.Uniform(600.0, 4000.0);
            layer.Phase1 = rng.Uniform(0.0, 2 * kPi);
            layer.Swing2 = rng.Uniform(0.001, 0.006) * s;
            layer.Period2 = rng.Uniform(60.0, 300.0);
            layer.Phase2 = rng.Uniform(0.0, 2 * kPi);
            const double sign = rng.Below(3) == 0 ? -1.0 : 1.0;
            layer.Amplitude = static_cast<float>(sign * rng.Uniform(7000.0, 15000.0));
            layers_.push_back(layer);
        }
        const std::uint32_t count = options.TraceCount / 250 + 1;
        for (std::uint32_t i = 0; i < count; ++i) {
            THyperbola h{};
            h.ApexTrace = rng.Uniform(0.0, options.TraceCount);
            h.ApexSample = rng.Uniform(0.2, 0.8) * s;
            h.HalfWidth = rng.Uniform(30.0, kMaxHalfWidth);
            h.Slope = rng.Uniform(0.15, 0.45) * s / h.HalfWidth;
            const double sign = rng.Below(2) == 0 ? -1.0 : 1.0;
            h.Amplitude = static_cast<float>(sign * rng.Uniform(6000.0, 14000.0));
            hyperbolas_.push_back(h);
        }
        std::sort(
            hyperbolas_.begin(), hyperbolas_.end(),
            [](const THyperbola& a, const THyperbola& b) { return a.ApexTrace < b.ApexTrace; });
    }

    // Traces must be asked for in ascending order.
    void Trace(std::uint32_t t, std::span<float> out) {
        AddNoise(out);
        const double s = samples_;
        const double tt = t;
        // The direct wave at the top of every trace.
        wavelet_.Add(out, 0.035 * s, 28000.0f);
        wavelet_.Add(out, 0.035 * s + 0.02 * s + 1.0, -9000.0f);
        for (const TLayer& layer : layers_) {
            const double depth =
                layer.Depth * s +
                layer.Swing1 * std::sin(2 * kPi * tt / layer.Period1 + layer.Phase1) +
                layer.Swing2 * std::sin(2 * kPi * tt / layer.Period2 + layer.Phase2);
            wavelet_.Add(out, depth, layer.Amplitude * Attenuation(depth));
        }
        while (firstHyperbola_ < hyperbolas_.size() &&
               hyperbolas_[firstHyperbola_].ApexTrace + kMaxHalfWidth < tt)
            ++firstHyperbola_;
        for (std::size_t i = firstHyperbola_; i < hyperbolas_.size(); ++i) {
            const THyperbola& h = hyperbolas_[i];
            if (h.ApexTrace - kMaxHalfWidth > tt) break;
            const double distance = std::abs(tt - h.ApexTrace);
            if (distance > h.HalfWidth) continue;
            const double offset = h.Slope * distance;
            const double depth = std::sqrt(h.ApexSample * h.ApexSample + offset * offset);
            const double fade = 1.0 - distance / h.HalfWidth;
            wavelet_.Add(out, depth, static_cast<float>(h.Amplitude * fade) * Attenuation(depth));
        }
        for (float& v : out) v = std::clamp(v, -kMaxAmplitude, kMaxAmplitude);
    }

  private:
    static constexpr double kMaxHalfWidth = 140.0;

    float Attenuation(double depth) const {
        return static_cast<float>(std::exp(-1.2 * depth / std::max(1.0, double(samples_))));
    }

    // Triangular noise of at most +-500, two values per draw.
    void AddNoise(std::span<float> out) {
        std::size_t i = 0;
        while (i < out.size()) {
            std::uint64_t bits = noise_.Next();
            for (int k = 0; k < 2 && i < out.size(); ++k, ++i) {
                const int a = static_cast<int>(bits & 0xFFFF);
                const int b = static_cast<int>((bits >> 16) & 0xFFFF);
                bits >>= 32;
                out[i] = static_cast<float>(a + b - 0xFFFF) * (500.0f / 0xFFFF);
            }
        }
    }

    std::uint32_t samples_;
    TWavelet wavelet_;
    TSplitMix noise_;
    std::vector<TLayer> layers_;
    std::vector<THyperbola> hyperbolas_;
    std::size_t firstHyperbola_ = 0;
};

constexpr std::array<std::uint32_t, 6> kLabelColors = {255,   16711680, 65280,
                                                       65535, 16711935, 33023};

std::string PicketText(std::int64_t millimetres) {
    return std::to_string(millimetres / 100000);
}

std::string MakeLabelText(std::uint32_t k, std::int64_t chainage, TSplitMix& rng) {
    const std::string pk = PicketText(chainage);
    const std::string n = std::to_string(1 + rng.Below(40));
    switch (rng.Below(7)) {
        case 0:
            return "ПК" + pk + " опора №" + n;
        case 1:
            return "Переезд ПК" + pk + "+" + std::to_string(chainage % 100000 / 1000);
        case 2:
            return "Стрелочный перевод №" + n;
        case 3:
            return "Труба водопропускная ПК" + pk;
        case 4:
            return "Светофор Н" + n;
        case 5:
            return "Кривая R=" + std::to_string(300 + 50 * rng.Below(20)) + " м";
        default:
            return "Метка " + std::to_string(k + 1) + ", выплеск балласта";
    }
}

TRadarHeader MakeHeader(const TGeneratorOptions& options, std::uint32_t labelCount,
                        TSplitMix& rng) {
    TRadarHeader h;
    rng.Fill(BytesOf(h));
    h.TraceCount = options.TraceCount;
    h.SampleCount = options.SampleCount;
    h.LabelCount = labelCount;
    h.RecordTime = options.RecordTime;
    h.Permittivity = options.Permittivity;
    h.StepX = options.StepX;
    h.StartCoordinate = options.StartCoordinate;
    h.StartTime = options.StartTime;
    h.ScanMode = 2;
    h.Stacking = 4;
    PutText(h.AntennaName, "Антенный блок АБ-400М", rng);
    PutText(h.OperatorName, "Петров А.С.", rng);
    PutText(h.ObjectName, "Путь 1, перегон Заречная - Сосновка", rng);
    PutText(h.Description1, "Балластная призма, глубина до 2 м", rng);
    PutText(h.Description2, "Датчик пути: колесо, шаг 50 мм", rng);
    PutText(h.Description3, "Съёмка №" + std::to_string(options.Seed), rng);
    return h;
}

void Generate(const TGeneratorOptions& options, TOutput& out) {
    const TLabelPlan plan(options);
    const std::uint32_t labelCount = options.LabelCount.value_or(plan.Labelled());
    const TLayoutGeometry g =
        ComputeGeometry(options.TraceCount, options.SampleCount, options.Layout);
    TSplitMix rng(TSplitMix(options.Seed).Next());
    TSceneSampler scene(options, rng.Next());

    out.Put(MakeHeader(options, labelCount, rng));
    rng.Fill(out.Append(kBlockOffset - sizeof(TRadarHeader)));  // reserved area
    rng.Fill(out.Append(sizeof(THeaderBlock)));
    rng.Fill(out.Append(g.SampleBytes));  // sample table

    std::vector<float> samples(options.SampleCount);
    for (std::uint32_t t = 0; t < options.TraceCount; ++t) {
        TTraceHeader th;
        rng.Fill(BytesOf(th));
        th.Coordinate = static_cast<std::int32_t>(static_cast<std::int64_t>(t) * options.StepX);
        th.LabelIndex = 0;
        if (const auto k = plan.Ordinal(t)) th.LabelIndex = plan.WithoutText(*k) ? 1 : *k + 2;
        out.Put(th);
        scene.Trace(t, samples);
        if (!samples.empty())
            std::memcpy(out.Append(g.SampleBytes).data(), samples.data(), g.SampleBytes);
        rng.FillNonZero(out.Append(g.TraceGap));
    }
    rng.FillNonZero(out.Append(g.TailGap));

    for (std::uint32_t k = 0; k < labelCount; ++k) {
        TLabelRecord r;
        rng.Fill(BytesOf(r));
        r.LabelColor = kLabelColors[rng.Below(static_cast<std::uint32_t>(kLabelColors.size()))];
        if (k < plan.Labelled() && plan.WithoutText(k)) {
            r.LabelNumber = 1;
            PutText(r.LabelText, "", rng);
        } else {
            r.LabelNumber = static_cast<std::int32_t>(k + 2);
            const std::int64_t trace =
                std::int64_t{options.LabelFirst} + std::int64_t{k} * options.LabelEvery;
            PutText(r.LabelText,
                    MakeLabelText(k, options.StartCoordinate + trace * options.StepX, rng), rng);
        }
        out.Put(r);
    }
    rng.Fill(out.Append(options.TrailingBytes));
    out.Flush();
}

}  // namespace

TGeneratorSummary DescribeRadargram(const TGeneratorOptions& options) {
    const TLabelPlan plan(options);
    TGeneratorSummary summary;
    summary.LabelCount = options.LabelCount.value_or(plan.Labelled());
    summary.LabelsWithoutText = plan.CountWithoutText();
    summary.LabelsWithText = plan.Labelled() - summary.LabelsWithoutText;
    const TLayoutGeometry g =
        ComputeGeometry(options.TraceCount, options.SampleCount, options.Layout);
    summary.FileSize = g.LabelStart + std::uint64_t{summary.LabelCount} * sizeof(TLabelRecord) +
                       options.TrailingBytes;
    return summary;
}

TGeneratorSummary GenerateRadargram(const std::filesystem::path& path,
                                    const TGeneratorOptions& options) {
    std::ofstream file;
    // Our own buffer is large already; a second one in the stream would only copy.
    file.rdbuf()->pubsetbuf(nullptr, 0);
    file.open(path, std::ios::binary | std::ios::trunc);
    if (!file) throw std::runtime_error("cannot create " + path.string());
    TOutput out(kFileBufferSize, [&](std::span<const std::uint8_t> bytes) {
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        if (!file) throw std::runtime_error("cannot write " + path.string());
    });
    Generate(options, out);
    file.close();
    if (!file) throw std::runtime_error("cannot write " + path.string());
    return DescribeRadargram(options);
}

std::vector<std::uint8_t> GenerateRadargramBytes(const TGeneratorOptions& options) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(DescribeRadargram(options).FileSize);
    TOutput out(kMemoryBufferSize, [&](std::span<const std::uint8_t> chunk) {
        bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    });
    Generate(options, out);
    return bytes;
}

}  // namespace trelvanox
