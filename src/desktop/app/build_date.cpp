#include "desktop/app/build_date.h"

namespace trelvanox {

// __DATE__ is fixed when this file is compiled. An incremental build that does not touch it
// keeps the date of its last compilation; release builds come from a clean build folder.
std::string CompileDateText() {
    return __DATE__;
}

}  // namespace trelvanox
