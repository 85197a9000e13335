#pragma once

#include <cstdint>

class QString;
class QWidget;

namespace trelvanox {

class TPlatform;
class TStringGrid;
class TStringGridView;

// "Импорт таблицы": a delimited text file chosen by the user into the edit table (the view's
// grid), fields split at the delimiter of delimiterIndex (a setting). The dialog proposes
// lastImportPath and keeps the choice there.
void acnImportTableExecute(TPlatform& platform, QWidget& owner, TStringGridView& editTable,
                           std::int32_t delimiterIndex, QString& lastImportPath);
// "Экспорт таблицы": the read-label table into a TAB-delimited text file chosen by the user; the
// dialog proposes a name made from radargramFileName. Windows-1251 unless utf8 (the choice on the
// options page "Общие").
void acnExportTableExecute(TPlatform& platform, QWidget& owner, const TStringGrid& readLabelTable,
                           const QString& radargramFileName, bool utf8 = false);

}  // namespace trelvanox
