#pragma once

class QWidget;

namespace trelvanox {

class TPlatform;
class TStringGrid;
class TStringGridView;

// "Копировать" of the edit table's menu: the whole edit table onto the clipboard as text.
void CopyTableToClipboard(TPlatform& platform, const TStringGrid& editTable);
// "Вставить" of the edit table's menu: the clipboard's text into the edit table (the view's grid)
// from row 1; the message for an empty clipboard belongs to owner.
void PasteTableFromClipboard(TPlatform& platform, QWidget& owner, TStringGridView& editTable);

}  // namespace trelvanox
