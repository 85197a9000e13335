#include "cli/cli_args.h"

#include <algorithm>
#include <cctype>

#include "common/file_paths.h"
#include "model/layout_detection.h"

namespace trelvanox {

std::optional<std::string> TParsedArgs::Value(std::string_view name) const {
    const auto it = Options.find(name);
    if (it == Options.end() || it->second.empty()) return std::nullopt;
    return it->second.front();
}

TParsedArgs ParseArgs(const std::vector<std::string_view>& args,
                      const std::vector<TCliOption>& known, std::size_t positionalCount,
                      bool morePositional) {
    TParsedArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        // A lone "-" or a negative number is a value, not an option.
        const bool isOption = arg.size() > 2 && arg.starts_with("--");
        if (!isOption) {
            parsed.Positional.emplace_back(arg);
            continue;
        }
        const auto option = std::find_if(known.begin(), known.end(),
                                         [&](const TCliOption& s) { return s.Name == arg; });
        if (option == known.end()) throw TCliUsageError("unknown option " + std::string(arg));
        if (parsed.Has(arg)) throw TCliUsageError("option " + std::string(arg) + " given twice");
        std::vector<std::string> values;
        for (int v = 0; v < option->Values; ++v) {
            if (++i >= args.size())
                throw TCliUsageError("option " + std::string(arg) + " needs a value");
            values.emplace_back(args[i]);
        }
        parsed.Options.emplace(std::string(arg), std::move(values));
    }
    if (morePositional && parsed.Positional.size() < positionalCount)
        throw TCliUsageError("expected at least " + std::to_string(positionalCount) +
                             " argument(s), got " + std::to_string(parsed.Positional.size()));
    if (!morePositional && parsed.Positional.size() != positionalCount)
        throw TCliUsageError("expected " + std::to_string(positionalCount) + " argument(s), got " +
                             std::to_string(parsed.Positional.size()));
    return parsed;
}

TRadarLayout ParseLayout(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "gpr") return TRadarLayout::Gpr;
    if (lower == "gpr2") return TRadarLayout::Gpr2;
    throw TCliUsageError("unknown layout '" + std::string(text) + "' (use gpr, gpr2 or auto)");
}

TRadarLayout LayoutOption(const TParsedArgs& args, std::string_view name) {
    const auto value = args.Value(name);
    if (!value) return TRadarLayout::Gpr2;
    std::string lower(*value);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower != "auto") return ParseLayout(*value);
    // The layout the file fits; GPR2, the default, when it fits both or neither.
    const std::optional<TLayoutFit> fit =
        args.Positional.empty() ? std::nullopt : CheckLayoutFit(PathFromUtf8(args.Positional[0]));
    return fit ? OtherFittingLayout(*fit, TRadarLayout::Gpr2).value_or(TRadarLayout::Gpr2)
               : TRadarLayout::Gpr2;
}

}  // namespace trelvanox
