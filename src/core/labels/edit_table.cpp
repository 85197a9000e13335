#include "labels/edit_table.h"

namespace trelvanox {

void SetEditTableCaptions(TStringGrid& grid) {
    static const char* const kTitles[] = {"№ п/п", "Подпись метки", "Координата \n от начала, м",
                                          "Цвет метки(индекс)"};
    int col = 0;
    for (const char* title : kTitles) grid.SetCell(col++, 0, title);
}

}  // namespace trelvanox
