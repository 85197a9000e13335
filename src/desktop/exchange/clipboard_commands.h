#pragma once

namespace trelvanox {

class TFmMainForm;

// "Копировать" of the edit table's menu: the whole edit table onto the clipboard as text.
void CopyTableToClipboard(TFmMainForm& form);
// "Вставить" of the edit table's menu: the clipboard's text into the edit table from row 1.
void PasteTableFromClipboard(TFmMainForm& form);

}  // namespace trelvanox
