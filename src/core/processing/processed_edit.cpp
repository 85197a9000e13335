#include "processing/processed_edit.h"

#include <algorithm>
#include <memory>

#include "processing/chain_runner.h"

namespace trelvanox {

TModelEdit ProcessedEdit(std::shared_ptr<const TProcessedTraces> traces,
                         const TProcessingChain& chain) {
    return {"Обработка: " + ChainText(StepsOn(chain)), [traces](TRadargram& target) {
                for (std::uint32_t t = traces->First; t < traces->First + traces->Count; ++t) {
                    const auto row = traces->Trace(t);
                    std::copy(row.begin(), row.end(), target.SampleMatrix().Row(t).begin());
                }
            }};
}

TModelEdit ProcessedEdit(const TRadargram& model, const TProcessingChain& chain) {
    return ProcessedEdit(std::make_shared<const TProcessedTraces>(*ProcessProfile(model, chain)),
                         chain);
}

}  // namespace trelvanox
