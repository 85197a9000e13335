#pragma once

// The check boxes of the options dialog as data: name, caption and what each one sets. The
// pages are built from these tables and the bindings look settings and options up in them.

#include "desktop/app/options_form.h"
#include "desktop/widgets/string_grid_view.h"
#include "settings/settings.h"

namespace trelvanox {

// A box of pages 1 and 2 and the table option that it sets. Page 2 names its boxes CheckBox1 to
// CheckBox15 in the same order.
struct TTableOptionBox {
    const char* Name;
    const char* Caption;
    TGridOption Option;
    bool Ticked;
};

inline constexpr TTableOptionBox kTableOptionBoxes[TFmOptions::kTableOptionCount] = {
    {"chkFixedVertLine", "  наличие вертикальных разделительных линий между закрепленными ячейками",
     TGridOption::FixedVertLine, true},
    {"chkFixedHorzLine",
     "  наличие горизонтальных разделительных линий между закрепленными ячейками",
     TGridOption::FixedHorzLine, true},
    {"chkVertLine", "  наличие вертикальных разделительных линий между незакрепленными ячейками",
     TGridOption::VertLine, true},
    {"chkHorzLine", "  наличие горизонтальных разделительных линий между незакрепленными ячейками",
     TGridOption::HorzLine, true},
    {"chkRangeSelect", "  возможность выделить диапазон ячеек", TGridOption::RangeSelect, true},
    {"chkDrawFocusSelected", "  закрашивание ячейки с фокусом ввода",
     TGridOption::DrawFocusSelected, true},
    {"chkRowSizing", "  возможность менять  высоту строк мышкой", TGridOption::RowSizing, true},
    {"chkColSizing", "  возможность менять ширину столбцов мышкой", TGridOption::ColSizing, true},
    {"chkRowMoving", "  возможность перетаскивания строки мышкой", TGridOption::RowMoving, true},
    {"chkColMoving", "  возможность перетаскивания столбца мышкой", TGridOption::ColMoving, true},
    {"chkEditing", "  возможность редактировать содержимое ячейки с клавиатуры",
     TGridOption::Editing, true},
    {"chkTabs",
     " во включенном положении фокус смещается на следующую ячейку в таблице, при выключенном - "
     "на следующий компонент",
     TGridOption::Tabs, true},
    {"chkRowSelect", "  при нажатии на ячейку выделяется вся строка", TGridOption::RowSelect,
     false},
    {"chkAlwaysShowEditor",
     " во включенном положении редактирование ячейки доступно сразу, при выключенном - "
     "редактирование возможно прсле щёлчка мышкой, нажатия клавищи Enter или F2(прим. : не "
     "действует при выделенной строке)",
     TGridOption::AlwaysShowEditor, true},
    {"chkThumbTracking",
     "  во включенном положении перемещение \"бегунка\" прокрутки  мышкой вызывает немедленное "
     "перемещение ячеек, \tв выключенном - ячейки перемещаются только при отпускании "
     "\"бегунка\"",
     TGridOption::ThumbTracking, true},
};

// A header edit-scope box: its setting and how far it is indented in its group.
struct THeaderScopeBox {
    const char* Name;
    const char* Caption;
    bool TSettings::*Flag;
    int Indent;
};

inline constexpr THeaderScopeBox kHeaderScopeBoxes[TFmOptions::HeaderFieldCount] = {
    {"chkChangeOperator", "Оператор", &TSettings::ChangeOperator, 1},
    {"chkChangeObject", "Объект", &TSettings::ChangeObject, 1},
    {"chkChangeCommentary1", "Описание №1", &TSettings::ChangeCommentary1, 2},
    {"chkChangeCommentary2", "Описание №2", &TSettings::ChangeCommentary2, 2},
    {"chkChangeCommentary3", "Описание №3", &TSettings::ChangeCommentary3, 2},
    {"chkChangePK", "Начальный пикет", &TSettings::ChangePK, 1},
    {"chkChangeEpsilon", "Диэлектрическая проницаемость", &TSettings::ChangeEpsilon, 1},
};

struct TLabelScopeBox {
    const char* Name;
    const char* Caption;
    bool TSettings::*Flag;
};

inline constexpr TLabelScopeBox kLabelScopeBoxes[TFmOptions::kLabelScopeCount] = {
    {"chkChangeLabelText", "Тексты меток", &TSettings::ChangeLabelText},
    {"chkChangeLabelCoord", "Координаты меток", &TSettings::ChangeLabelCoord},
    {"chkChangeLabelColor", "Цвета меток", &TSettings::ChangeLabelColor},
};

}  // namespace trelvanox
