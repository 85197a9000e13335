#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/radar_layout.h"

namespace trelvanox {

// A command line the tool cannot make sense of; the message says why.
class TCliUsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct TCliOption {
    std::string_view Name;  // "--layout"
    int Values;             // how many values follow it: 0 for a flag
};

struct TParsedArgs {
    std::vector<std::string> Positional;
    std::map<std::string, std::vector<std::string>, std::less<>> Options;

    bool Has(std::string_view name) const { return Options.find(name) != Options.end(); }
    // The first value of an option, if given.
    std::optional<std::string> Value(std::string_view name) const;
};

// Splits the arguments into positional ones and the known options; an unknown option, a
// missing value, a repeated option or a positional count other than expected (fewer than
// expected, when more are allowed) throws.
TParsedArgs ParseArgs(const std::vector<std::string_view>& args,
                      const std::vector<TCliOption>& known, std::size_t positionalCount,
                      bool morePositional = false);

// "gpr" or "gpr2", in any letter case.
TRadarLayout ParseLayout(std::string_view text);
// The layout of --layout, GPR2 when absent (the settings' default). "auto" takes the layout the
// file (the first positional argument) fits, GPR2 when it fits both or neither.
TRadarLayout LayoutOption(const TParsedArgs& args, std::string_view name = "--layout");

}  // namespace trelvanox
