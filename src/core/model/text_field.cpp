#include "model/text_field.h"

#include <algorithm>
#include <cstring>

#include "common/cp1251.h"

namespace trelvanox {

std::string ReadTextField(TConstTextField field) {
    const auto end = std::find(field.begin(), field.end(), '\0');
    return DecodeCp1251(std::string_view(field.data(), static_cast<size_t>(end - field.begin())));
}

void WriteTextField(TTextField field, std::string_view utf8) {
    const std::string bytes = EncodeCp1251(utf8);
    const size_t length = std::min(bytes.size(), kTextFieldSize - 1);
    std::memcpy(field.data(), bytes.data(), length);
    field[length] = '\0';
}

}  // namespace trelvanox
