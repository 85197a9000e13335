#include "header/header_edit.h"

#include <cmath>
#include <limits>
#include <optional>

#include "common/conversion.h"
#include "model/text_field.h"

namespace trelvanox {

namespace {

[[noreturn]] void ThrowNotFloat(const std::string& text) {
    throw TConversionError("'" + text + "' is not a valid floating point value");
}

// The millimetres of a start picket: the product in extended precision, cut toward zero. A
// product the 64-bit field cannot hold is refused under the picket's text, the one the user
// can correct.
std::int64_t StartCoordinateOf(const std::string& picketText, const std::string& baseText) {
    const long double picket = StrToFloat(picketText);
    const long double metres = StrToFloat(baseText);
    const long double product = std::trunc(picket * metres * 1000.0L);
    // -2^63 and 2^63 are exact in every floating type; NaN fails both comparisons.
    constexpr long double kLimit = 9223372036854775808.0L;
    if (!(product >= -kLimit && product < kLimit)) ThrowNotFloat(picketText);
    return static_cast<std::int64_t>(product);
}

float PermittivityOf(const std::string& text) {
    const long double value = StrToFloat(text);
    if (!(std::fabs(value) <= std::numeric_limits<float>::max())) ThrowNotFloat(text);
    return static_cast<float>(value);
}

}  // namespace

void EditHeader(TRadargram& model, const THeaderEditTexts& texts, const TSettings& settings) {
    if (!model.HasHeader()) return;

    // Every number first: a text that is not one must leave the whole header untouched.
    std::optional<std::int64_t> startCoordinate;
    std::optional<float> permittivity;
    if (settings.ChangePK) startCoordinate = StartCoordinateOf(texts.StartPicket, settings.BasePKm);
    if (settings.ChangeEpsilon) permittivity = PermittivityOf(texts.Permittivity);

    TRadarHeader& header = model.Header();
    if (settings.ChangeOperator) WriteTextField(header.OperatorName, texts.Operator);
    if (settings.ChangeObject) WriteTextField(header.ObjectName, texts.Object);
    if (settings.ChangeCommentary1) WriteTextField(header.Description1, texts.Description1);
    if (settings.ChangeCommentary2) WriteTextField(header.Description2, texts.Description2);
    if (settings.ChangeCommentary3) WriteTextField(header.Description3, texts.Description3);
    if (startCoordinate) header.StartCoordinate = *startCoordinate;
    if (permittivity) header.Permittivity = *permittivity;
}

void ClearHeader(TRadargram& model) {
    if (!model.HasHeader()) return;
    TRadarHeader& header = model.Header();
    for (char* field : {header.OperatorName, header.ObjectName, header.Description1,
                        header.Description2, header.Description3})
        field[0] = '\0';
    header.StartCoordinate = 0;
}

}  // namespace trelvanox
