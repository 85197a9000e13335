#include "desktop/document/document_use.h"

namespace trelvanox {

TDocumentUse::TScope::TScope(TDocumentUse& use) : use_(use) {
    use_.inUse_ = true;
    emit use_.UseChanged(true);
}

TDocumentUse::TScope::~TScope() {
    use_.inUse_ = false;
    emit use_.UseChanged(false);
}

}  // namespace trelvanox
