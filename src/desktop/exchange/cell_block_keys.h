#pragma once

namespace trelvanox {

class TPlatform;
class TStringGridView;

// Ctrl+C copies the selected cells of the grid as a block (rows on lines, cells separated by
// TAB), Ctrl+V pastes such a block with its first cell at the current cell, in a grid whose
// cells can be edited. The keys are taken before any window-wide command sees them. The filter
// is a child of the view and goes with it.
void InstallCellBlockKeys(TStringGridView& view, TPlatform& platform);

}  // namespace trelvanox
