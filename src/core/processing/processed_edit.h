#pragma once

#include <memory>
#include "document/model_edit.h"

#include "processing/chain_runner.h"
#include "processing/processing_chain.h"

namespace trelvanox {

// The chain's result written over the model's samples, as a change of the radargram that the
// document journals as one step ("Обработка: " and the chain's text). The samples are processed
// here, before the change is applied, so that a chain the profile does not allow is refused
// (TProgramError) before anything is written.
TModelEdit ProcessedEdit(const TRadargram& model, const TProcessingChain& chain);
// The same with the chain's result already computed (off the GUI thread, as the view does).
TModelEdit ProcessedEdit(std::shared_ptr<const TProcessedTraces> traces,
                         const TProcessingChain& chain);

}  // namespace trelvanox
