#pragma once

#include <vector>

#include "desktop/widgets/modeless_dialog.h"
#include "document/file_history.h"

class QTableWidget;

namespace trelvanox {

// "История изменений": the steps of the open file's history, oldest first, with their time, the
// bytes their journal keeps and whether they are in the file or undone. Modeless; the main
// window fills it whenever the document changes.
class TFmHistory : public TModelessDialog {
    Q_OBJECT
  public:
    explicit TFmHistory(QWidget* parent = nullptr);

    void ShowEntries(const std::vector<THistoryEntry>& entries);
    QTableWidget* lvHistory() const { return table_; }

  signals:
    // A double click on the step of that row (oldest first): bring the file to just after it.
    void StepChosen(int row);

  private:
    QTableWidget* table_;
};

}  // namespace trelvanox
