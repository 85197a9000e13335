#include "radar_image.h"

#include <algorithm>
#include <cstring>

namespace trelvanox::test {

namespace {

struct TPlaces {
    std::size_t TraceStart, TraceBytes, Stride, LabelStart;
};

TPlaces Places(std::uint32_t traces, std::uint32_t samples, bool gaps, bool tail) {
    TPlaces p{};
    p.TraceStart = 1536 + 4 * std::size_t{samples};
    p.TraceBytes = 36 + 4 * std::size_t{samples};
    p.Stride = p.TraceBytes + (gaps ? 8 : 0);
    p.LabelStart = p.TraceStart + traces * p.Stride + (tail ? 4 : 0);
    return p;
}

TBytes Cut(const TBytes& file, std::size_t at, std::size_t size) {
    return TBytes(file.begin() + static_cast<std::ptrdiff_t>(at),
                  file.begin() + static_cast<std::ptrdiff_t>(at + size));
}

void Paste(TBytes& file, std::size_t at, const TBytes& block) {
    if (file.size() < at + block.size()) file.resize(at + block.size(), 0);
    std::copy(block.begin(), block.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

std::uint32_t U32At(const TBytes& bytes, std::size_t offset) {
    std::uint32_t v;
    std::memcpy(&v, bytes.data() + offset, 4);
    return v;
}

void PutU32(TBytes& bytes, std::size_t offset, std::uint32_t value) {
    std::memcpy(bytes.data() + offset, &value, 4);
}

TRadarImage CutImage(const TBytes& file, TRadarLayout layout) {
    const bool gpr2 = layout == TRadarLayout::Gpr2;
    const std::uint32_t traces = U32At(file, 24), samples = U32At(file, 28),
                        labels = U32At(file, 32);
    const TPlaces p = Places(traces, samples, gpr2, gpr2);
    TRadarImage image;
    image.Header = Cut(file, 0, 400);
    image.Block = Cut(file, 512, 1024);
    image.Table = Cut(file, 1536, 4 * std::size_t{samples});
    for (std::uint32_t t = 0; t < traces; ++t)
        image.Traces.push_back(Cut(file, p.TraceStart + t * p.Stride, p.TraceBytes));
    for (std::uint32_t k = 0; k < labels; ++k)
        image.Labels.push_back(Cut(file, p.LabelStart + 48 * std::size_t{k}, 48));
    return image;
}

TBytes PasteImage(TBytes file, const TRadarImage& image, std::size_t labelCount,
                  TRadarLayout layout, bool packed) {
    const bool gpr2 = layout == TRadarLayout::Gpr2;
    const auto traces = static_cast<std::uint32_t>(image.Traces.size());
    const TPlaces p = Places(traces, static_cast<std::uint32_t>(image.Table.size() / 4),
                             gpr2 && !packed, gpr2 || packed);
    Paste(file, 0, image.Header);
    Paste(file, 512, image.Block);
    Paste(file, 1536, image.Table);
    for (std::uint32_t t = 0; t < traces; ++t)
        Paste(file, p.TraceStart + t * p.Stride, image.Traces[t]);
    for (std::size_t k = 0; k < labelCount; ++k)
        Paste(file, p.LabelStart + 48 * k, k < image.Labels.size() ? image.Labels[k] : TBytes(48));
    return file;
}

}  // namespace trelvanox::test
