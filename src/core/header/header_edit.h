#pragma once

#include <string>

#include "model/radargram.h"
#include "settings/settings.h"

namespace trelvanox {

// The texts of the header fields of "Данные для записи", as the user typed them (UTF-8).
struct THeaderEditTexts {
    std::string Operator;
    std::string Object;
    std::string Description1;
    std::string Description2;
    std::string Description3;
    std::string StartPicket;  // in pickets of settings.BasePKm metres
    std::string Permittivity;
};

// Copies into the header every field whose edit-scope flag is on in settings. The numbers
// (start picket, then BasePKm, then permittivity) are converted and range-checked before any
// field changes, so a failure leaves the model as it was. StartCoordinate becomes the
// extended-precision product picket x metres x 1000, cut toward zero to whole millimetres.
// Texts longer than 39 characters are cut to 39.
// Throws TConversionError ("'<text>' is not a valid floating point value") for a number that
// does not convert, a start coordinate outside the signed 64-bit range (naming the picket text)
// or a permittivity outside single precision. Requires a header (a complete read); without one
// it does nothing.
void EditHeader(TRadargram& model, const THeaderEditTexts& texts, const TSettings& settings);

// Empties the operator, the object and the three descriptions (first byte 0, the rest of each
// field kept) and sets StartCoordinate to 0; everything else stays. Requires a header; without
// one it does nothing.
void ClearHeader(TRadargram& model);

}  // namespace trelvanox
