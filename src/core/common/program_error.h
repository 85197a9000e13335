#pragma once

#include <stdexcept>
#include <string>

namespace trelvanox {

// Base of every error the program reports through its general error display: a command that
// raises one ends where it arose, the message is shown as it stands and the program goes on.
class TProgramError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace trelvanox
