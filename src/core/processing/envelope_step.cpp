#include "processing/envelope_step.h"

#include <kiss_fft.h>

#include <cmath>
#include <memory>
#include <vector>

namespace trelvanox {

namespace {

struct TFreeFft {
    void operator()(kiss_fft_state* state) const { kiss_fft_free(state); }
};
using TFftPlan = std::unique_ptr<kiss_fft_state, TFreeFft>;

// The transforms of one trace length, shared by the threads of a run: an FFT into another
// buffer only reads its plan.
struct TEnvelopePlan {
    std::uint32_t Length = 0;
    TFftPlan Forward;
    TFftPlan Inverse;
};

std::shared_ptr<const TEnvelopePlan> MakePlan(std::uint32_t length) {
    auto plan = std::make_shared<TEnvelopePlan>();
    plan->Length = length;
    if (length == 0) return plan;
    plan->Forward.reset(kiss_fft_alloc(static_cast<int>(length), 0, nullptr, nullptr));
    plan->Inverse.reset(kiss_fft_alloc(static_cast<int>(length), 1, nullptr, nullptr));
    if (!plan->Forward || !plan->Inverse) throw std::bad_alloc();
    return plan;
}

// The Hilbert transform is real and linear, so two traces go through one complex transform:
// z = a + i b gives H[z] = H[a] + i H[b]. H multiplies the spectrum by -i sign(k), with 0 at
// k = 0 and at the Nyquist frequency of an even length; the inverse transform of kissfft is not
// scaled, so 1 / n is taken here.
void EnvelopePair(const TEnvelopePlan& plan, std::span<float> a, std::span<float> b,
                  std::vector<kiss_fft_cpx>& buffer) {
    const std::uint32_t n = plan.Length;
    kiss_fft_cpx* in = buffer.data();
    kiss_fft_cpx* spectrum = buffer.data() + n;
    for (std::uint32_t j = 0; j < n; ++j) in[j] = {a[j], b.empty() ? 0.0f : b[j]};
    kiss_fft(plan.Forward.get(), in, spectrum);
    const float scale = 1.0f / static_cast<float>(n);
    spectrum[0] = {0.0f, 0.0f};
    const std::uint32_t positiveEnd = (n + 1) / 2;  // k = 1 .. positiveEnd - 1 are positive
    for (std::uint32_t k = 1; k < n; ++k) {
        const kiss_fft_cpx z = spectrum[k];
        if (k < positiveEnd)
            spectrum[k] = {z.i * scale, -z.r * scale};  // -i z
        else if (2 * k == n)
            spectrum[k] = {0.0f, 0.0f};
        else
            spectrum[k] = {-z.i * scale, z.r * scale};  // +i z
    }
    kiss_fft(plan.Inverse.get(), spectrum, in);
    for (std::uint32_t j = 0; j < n; ++j) a[j] = std::sqrt(a[j] * a[j] + in[j].r * in[j].r);
    if (!b.empty())
        for (std::uint32_t j = 0; j < n; ++j) b[j] = std::sqrt(b[j] * b[j] + in[j].i * in[j].i);
}

void RunEnvelope(const TEnvelopePlan& plan, TTraceBlock block) {
    if (plan.Length == 0) return;
    std::vector<kiss_fft_cpx> buffer(2 * std::size_t{plan.Length});
    std::uint32_t t = 0;
    for (; t + 1 < block.Traces; t += 2) EnvelopePair(plan, block.Row(t), block.Row(t + 1), buffer);
    if (t < block.Traces) EnvelopePair(plan, block.Row(t), {}, buffer);
}

}  // namespace

void ApplyEnvelope(const TEnvelopeParams&, TTraceBlock block) {
    RunEnvelope(*MakePlan(block.Samples), block);
}

const TStepKind kEnvelopeStep{
    .Name = "envelope",
    .Title = "Огибающая",
    .ValueCaption = "",
    .ValueName = "",
    .Default = [](const TRadarHeader&) { return 0.0; },
    .Prepare = [](double, const TStepContext& context) -> std::shared_ptr<const void> {
        return MakePlan(context.SampleCount);
    },
    .Run =
        [](double, const TStepContext& context, TTraceBlock block) {
            RunEnvelope(*static_cast<const TEnvelopePlan*>(context.Plan), block);
        },
};

}  // namespace trelvanox
