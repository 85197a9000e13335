#include "processing/processed_edit.h"

#include <algorithm>
#include <memory>

#include "processing/chain_runner.h"

namespace trelvanox {

TModelEdit ProcessedEdit(const TRadargram& model, const TProcessingChain& chain) {
    auto processed = std::make_shared<TProcessedTraces>(*ProcessProfile(model, chain));
    return {"Обработка: " + ChainText(StepsOn(chain)), [processed](TRadargram& target) {
                for (std::uint32_t t = processed->First; t < processed->First + processed->Count;
                     ++t) {
                    const auto row = processed->Trace(t);
                    std::copy(row.begin(), row.end(), target.SampleMatrix().Row(t).begin());
                }
            }};
}

}  // namespace trelvanox
