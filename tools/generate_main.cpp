// trelvanox-gen: writes a synthetic radargram for tests, benchmarks and demonstrations.

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "radargram_generator.h"

namespace {

using trelvanox::TGeneratorOptions;

constexpr std::string_view kUsage =
    "usage: trelvanox-gen OUT --traces N --samples S [options]\n"
    "\n"
    "Writes a synthetic radargram (layers, hyperbolas, noise, Cyrillic header texts,\n"
    "labels, random bytes in every uninterpreted area) to OUT.\n"
    "\n"
    "  --traces N          number of traces, 0 to 200000\n"
    "  --samples S         samples per trace, 0 to 512\n"
    "  --layout gpr|gpr2   file layout (default gpr2)\n"
    "  --seed N            seed; the same seed gives the same file (default 1)\n"
    "  --label-every N     a label on every N-th trace, 0 for none (default 0)\n"
    "  --label-first N     the first labelled trace (default 0)\n"
    "  --without-text X    share of labels without text, 0 to 1 (default 0.25)\n"
    "  --label-count N     header LabelCount and records stored (default: labelled traces)\n"
    "  --trailing N        random bytes after the label records (default 0)\n"
    "  --help              show this text\n";

class TUsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

std::uint32_t ParseCount(std::string_view name, std::string_view text, std::uint32_t max) {
    std::uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || text.empty())
        throw TUsageError(std::string(name) + ": not a whole number: '" + std::string(text) + "'");
    if (value > max) throw TUsageError(std::string(name) + ": at most " + std::to_string(max));
    return value;
}

double ParseShare(std::string_view name, std::string_view text) {
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || text.empty() || !(value >= 0) ||
        value > 1)
        throw TUsageError(std::string(name) + ": not a share from 0 to 1: '" + std::string(text) +
                          "'");
    return value;
}

struct TCommand {
    bool Help = false;
    std::string Output;
    TGeneratorOptions Options;
};

TCommand ParseArguments(int argc, char** argv) {
    TCommand command;
    bool haveTraces = false;
    bool haveSamples = false;
    constexpr std::uint32_t kAny = UINT32_MAX;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            command.Help = true;
            return command;
        }
        if (!arg.starts_with("--")) {
            if (!command.Output.empty()) throw TUsageError("more than one output file");
            command.Output = arg;
            continue;
        }
        if (i + 1 >= argc) throw TUsageError(std::string(arg) + ": value missing");
        const std::string_view value = argv[++i];
        TGeneratorOptions& o = command.Options;
        if (arg == "--traces") {
            o.TraceCount = ParseCount(arg, value, trelvanox::kMaxTraces);
            haveTraces = true;
        } else if (arg == "--samples") {
            o.SampleCount = ParseCount(arg, value, trelvanox::kMaxSamples);
            haveSamples = true;
        } else if (arg == "--layout") {
            if (value == "gpr" || value == "GPR") {
                o.Layout = trelvanox::TRadarLayout::Gpr;
            } else if (value == "gpr2" || value == "GPR2") {
                o.Layout = trelvanox::TRadarLayout::Gpr2;
            } else {
                throw TUsageError("--layout: gpr or gpr2, not '" + std::string(value) + "'");
            }
        } else if (arg == "--seed") {
            o.Seed = ParseCount(arg, value, kAny);
        } else if (arg == "--label-every") {
            o.LabelEvery = ParseCount(arg, value, kAny);
        } else if (arg == "--label-first") {
            o.LabelFirst = ParseCount(arg, value, kAny);
        } else if (arg == "--without-text") {
            o.ShareWithoutText = ParseShare(arg, value);
        } else if (arg == "--label-count") {
            o.LabelCount = ParseCount(arg, value, trelvanox::kMaxTraces);
        } else if (arg == "--trailing") {
            o.TrailingBytes = ParseCount(arg, value, 1u << 30);
        } else {
            throw TUsageError("unknown option " + std::string(arg));
        }
    }
    if (command.Output.empty()) throw TUsageError("no output file");
    if (!haveTraces || !haveSamples) throw TUsageError("--traces and --samples are required");
    return command;
}

}  // namespace

int main(int argc, char** argv) {
    TCommand command;
    try {
        command = ParseArguments(argc, argv);
    } catch (const TUsageError& e) {
        std::cerr << "trelvanox-gen: " << e.what() << "\n\n" << kUsage;
        return EXIT_FAILURE;
    }
    if (command.Help) {
        std::cout << kUsage;
        return EXIT_SUCCESS;
    }
    try {
        const TGeneratorOptions& o = command.Options;
        const auto summary = trelvanox::GenerateRadargram(command.Output, o);
        std::cout << command.Output << ": " << o.TraceCount << " traces x " << o.SampleCount
                  << " samples, " << (o.Layout == trelvanox::TRadarLayout::Gpr ? "GPR" : "GPR2")
                  << ", " << summary.FileSize << " bytes; labels " << summary.LabelsWithText
                  << " with text, " << summary.LabelsWithoutText << " without, LabelCount "
                  << summary.LabelCount << "\n";
    } catch (const std::exception& e) {
        std::cerr << "trelvanox-gen: " << e.what() << "\n";
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
