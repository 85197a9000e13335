#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "labels/label_edit.h"

class QWidget;

namespace trelvanox {

class TPlatform;
class TRadargramDocument;

// Makes an edit of the labels or the trace coordinates and applies it as one step of the file's
// history, then reads the file again so that the tables, the counts and every view follow. The
// maker may refuse with the program's error (a label edit or a recalculation that cannot be
// made): its message is shown under caption and nothing changes. An edit that would change
// nothing does nothing. True when the file changed.
bool ApplyModelEdit(TRadargramDocument& document, TPlatform& platform, QWidget* owner,
                    const QString& caption, const std::function<std::optional<TLabelEdit>()>& make);

}  // namespace trelvanox
