#include "desktop/app/command_set.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <utility>

#include "desktop/app/command_icons.h"
#include "desktop/widgets/ribbon.h"

namespace trelvanox {

namespace {

// The action list, in its order. A screen tip's description lines are separated by '\n'; the
// blanks at the ends and inside the texts, the "^" and the quotation marks are the texts' own.
constexpr TCommandInfo kCommands[] = {
    {.Name = "acnReadFile",
     .Caption = "Обновить",
     .Hint = "Обновить/прочитать файл",
     .Category = "Радарограмма",
     .Shortcut = "F5",
     .KeyScope = TKeyScope::Window,
     .TipHeader = "Просмотр",
     .TipText = "Чтение файла",
     .ThemeIcon = "view-refresh",
     .Glyph = TCommandGlyph::ReadFile},
    {.Name = "acnWriteFile",
     .Caption = "Редактирование",
     .Category = "Радарограмма",
     .TipHeader = "Редактирование",
     .TipText = "Редактирование",
     .ThemeIcon = "document-save",
     .StandardIcon = QStyle::SP_DriveHDIcon},
    {.Name = "acnChangeHeaderSets",
     .Caption = "Редактировать заголовок",
     .Category = "Радарограмма",
     .TipHeader = "Редактировать заголовок",
     .TipText =
         "Сохранение изменений в заголовке файла данных, отмеченных флажком в диалоговом окне",
     .ThemeIcon = "document-edit",
     .StandardIcon = QStyle::SP_FileDialogDetailedView},
    {.Name = "acnChangeLabelSets",
     .Caption = "Редактировать метки",
     .Category = "Радарограмма",
     .TipHeader = "Редактировать метки",
     .TipText = "Сохранение в файле параметров меток (подпись, координата, цвет).",
     .ThemeIcon = "document-edit",
     .StandardIcon = QStyle::SP_FileDialogContentsView},
    {.Name = "acnSetNoHeader",
     .Caption = "Удаление данных заголовка",
     .Category = "Радарограмма",
     .TipHeader = "Удаление данных заголовка",
     .TipText = "Стирание редактируемых данных из заголовка файла^\n"
                "- Ф.И.О. оператора;\n"
                "- Объект;\n"
                "- Описание 1,2,3;\n"
                "- Начальный пикет;",
     .ThemeIcon = "edit-clear",
     .Glyph = TCommandGlyph::ClearHeader},
    {.Name = "acnSetZeroPosition",
     .Caption = "Сброс положений",
     .Category = "Радарограмма",
     .TipHeader = "Сброс положений",
     .TipText =
         "Обнуление координат всех трасс для их дальнейшего перерасчета по координатам меток",
     .ThemeIcon = "go-first",
     .Glyph = TCommandGlyph::ZeroPosition},
    {.Name = "acnSetNoLabelText",
     .Caption = "Сброс названия меток",
     .Category = "Радарограмма",
     .TipHeader = "Сброс названия меток",
     .TipText = "Стирание названий всех меток в файле",
     .ThemeIcon = "edit-clear",
     .StandardIcon = QStyle::SP_LineEditClearButton},
    {.Name = "acnDlgColorSettings",
     .Caption = "Цвет меток",
     .Category = "Радарограмма",
     .TipHeader = "Цвет меток",
     .TipText = "Определить соответствия цвета индексу",
     .ThemeIcon = "preferences-desktop-color",
     .Glyph = TCommandGlyph::LabelColors},
    {.Name = "acnInsertLabel",
     .Caption = "Вставить метку",
     .Category = "Радарограмма",
     .TipHeader = "Вставить метку",
     .TipText = "Вставка метки на определенной трассе радарограммы",
     .ThemeIcon = "list-add",
     .StandardIcon = QStyle::SP_ArrowDown},
    {.Name = "acnCalibrateByLabels",
     .Caption = "Пересчёт координат по меткам",
     .Category = "Радарограмма",
     .TipHeader = "Пересчёт координат по меткам",
     .TipText = "Координаты всех трасс по истинным пикетам двух или более меток",
     .ThemeIcon = "measure",
     .StandardIcon = QStyle::SP_FileDialogDetailedView},
    {.Name = "acnRegulationAmplitude",
     .Caption = "Регулировка амплитуд",
     .Category = "Радарограмма",
     .TipHeader = "Регулировка амплитуд",
     .TipText = "Усиление и обрезание амплитуд, обнуление трасс",
     .ThemeIcon = "audio-volume-high",
     .Glyph = TCommandGlyph::Amplitude},
    {.Name = "acnViewRadargram",
     .Caption = "Просмотр",
     .Category = "Радарограмма",
     .TipHeader = "Просмотр радарограммы",
     .TipText = "Радарограмма как изображение: метки, масштаб, окно обработки",
     .Glyph = TCommandGlyph::Radargram},
    {.Name = "acnDeleteZeroDelimiter",
     .Caption = "Удалить 0-разделитель",
     .Category = "Радарограмма",
     .TipHeader = "Удалить 0-разделитель",
     .TipText = "Удаление 0-разделителей в файле для совместимости с другими программами "
                "(RadExplorer и др.)",
     .ThemeIcon = "edit-delete",
     .Glyph = TCommandGlyph::DeleteZeroDelimiter},
    {.Name = "acnUndo",
     .Caption = "Отменить",
     .Category = "Радарограмма",
     .Shortcut = "Ctrl+Z",
     .KeyScope = TKeyScope::KeyMap,
     .TipHeader = "Отменить",
     .TipText = "Вернуть файл радарограммы в состояние до последнего изменения",
     .ThemeIcon = "edit-undo",
     .StandardIcon = QStyle::SP_ArrowBack},
    {.Name = "acnRedo",
     .Caption = "Повторить",
     .Category = "Радарограмма",
     .Shortcut = "Ctrl+Y, Ctrl+Shift+Z",
     .KeyScope = TKeyScope::KeyMap,
     .TipHeader = "Повторить",
     .TipText = "Повторить последнее отменённое изменение файла радарограммы",
     .ThemeIcon = "edit-redo",
     .StandardIcon = QStyle::SP_ArrowForward},
    {.Name = "acnHistory",
     .Caption = "История изменений",
     .Category = "Радарограмма",
     .TipHeader = "История изменений",
     .TipText = "Список изменений файла радарограммы, которые можно отменить и повторить",
     .ThemeIcon = "document-open-recent",
     .StandardIcon = QStyle::SP_FileDialogListView},
    {.Name = "acnImportTable",
     .Caption = "Импорт таблицы",
     .Category = "Таблицы",
     .TipHeader = "Импорт таблицы",
     .TipText = "Импорт таблицы из текстового файла (с разделителями табуляции) ",
     .ThemeIcon = "document-import",
     .Glyph = TCommandGlyph::ImportTable},
    {.Name = "acnExportTable",
     .Caption = "Экспорт таблицы",
     .Category = "Таблицы",
     .TipHeader = "Экспорт таблицы",
     .TipText = "Экспорт таблицы в текстовый файл (с разделителями табуляции) для обмена данными с "
                "другими программами",
     .ThemeIcon = "document-export",
     .Glyph = TCommandGlyph::ExportTable},
    {.Name = "acnClearTableLabels",
     .Caption = "Очистка таблицы",
     .Category = "Таблицы",
     .TipHeader = "Очистка таблицы заголовка",
     .TipText = "Очистка таблицы с данными для записи",
     .ThemeIcon = "edit-clear",
     .StandardIcon = QStyle::SP_DialogResetButton},
    {.Name = "acnTranslateTable",
     .Caption = "Перенести таблицу",
     .Category = "Таблицы",
     .TipHeader = "Перенести таблицу",
     .TipText = "Перенос дааных по меткам из таблицы прочитанных данных в таблицу параметров для "
                "записи. Происходит автоматическая переиндексация цветов",
     .ThemeIcon = "go-next",
     .StandardIcon = QStyle::SP_ArrowForward},
    {.Name = "EditCut1",
     .Caption = "Вырезать",
     .Category = "Правка",
     .Shortcut = "Ctrl+X",
     .TipHeader = "Вырезать",
     .TipText = "Вырезать (переместить в буфер обмена)\n"
                "",
     .ThemeIcon = "edit-cut",
     .Glyph = TCommandGlyph::Cut},
    {.Name = "EditCopy1",
     .Caption = "Копировать",
     .Category = "Правка",
     .Shortcut = "Ctrl+C",
     .TipHeader = "Копировать",
     .TipText = "Копировать (в буфер обмена)",
     .ThemeIcon = "edit-copy",
     .Glyph = TCommandGlyph::Copy},
    {.Name = "EditPaste1",
     .Caption = "Вставить",
     .Category = "Правка",
     .Shortcut = "Ctrl+V",
     .TipHeader = "Вставить",
     .TipText = "Вставить из буфера обмена",
     .ThemeIcon = "edit-paste",
     .Glyph = TCommandGlyph::Paste},
    {.Name = "EditUndo1",
     .Caption = "Отменить",
     .Category = "Правка",
     .Shortcut = "Ctrl+Z",
     .KeyScope = TKeyScope::KeyMap,
     .TipHeader = "Отменить",
     .TipText = "Отменить последнее действие",
     .ThemeIcon = "edit-undo",
     .StandardIcon = QStyle::SP_ArrowBack},
    {.Name = "EditDelete1",
     .Caption = "Удалить",
     .Category = "Правка",
     .Shortcut = "Del",
     .TipHeader = "Удалить",
     .TipText = "Удалить выбранное",
     .ThemeIcon = "edit-delete",
     .StandardIcon = QStyle::SP_DialogCancelButton},
    {.Name = "acnOptionsAll",
     .Caption = "Настройка",
     .Category = "Настройка",
     .TipHeader = "Настройка",
     .TipText = "Настройка некоторых параметров и сохранение настроек в системе",
     .ThemeIcon = "preferences-system",
     .Glyph = TCommandGlyph::Options},
    {.Name = "acnOptionsTable1",
     .Caption = "Настройки таблицы чтения",
     .Category = "Настройка",
     .TipHeader = "Настройки таблицы чтения",
     .TipText = "Настройки таблицы с прочитанными данными",
     .StandardIcon = QStyle::SP_FileDialogListView},
    {.Name = "acnOptionsTable2",
     .Caption = "Настройка таблицы записи",
     .Category = "Настройка",
     .TipHeader = "Настройка таблицы записи",
     .TipText = "Настройки таблицы с параметрами записи",
     .StandardIcon = QStyle::SP_FileDialogInfoView},
    {.Name = "acnOptionsRedact",
     .Caption = "Параметры редактирования",
     .Category = "Настройка",
     .TipHeader = "Параметры редактирования",
     .TipText = "Определить параметры, подлежащие изменению по нажатии кнопок \"Редактирование\", "
                "\"Редактирование заголовка\" и \"Редактирование меток\"",
     .Glyph = TCommandGlyph::EditOptions},
    {.Name = "acnLoadOptions",
     .Caption = "Загрузить настройки",
     .Category = "Ini",
     .TipHeader = "acnLoadOptions",
     .ThemeIcon = "document-open",
     .StandardIcon = QStyle::SP_DirOpenIcon},
    {.Name = "acnSaveOptions",
     .Caption = "Сохранить настройки",
     .Category = "Ini",
     .TipHeader = "acnSaveOptions",
     .ThemeIcon = "document-save",
     .StandardIcon = QStyle::SP_DialogSaveButton},
    {.Name = "acnSkinObsidian",
     .Caption = "Обсидиан",
     .Category = "Скин",
     .TipHeader = "Обсидиан",
     .TipText = "Скин \"Обсидиан\" - мягкие серо-черные тона оформления ленты",
     .Glyph = TCommandGlyph::SkinObsidian},
    {.Name = "acnSkinSilver",
     .Caption = "Серебро",
     .Category = "Скин",
     .TipHeader = "Серебро",
     .TipText = "Скин \"Серебро\" - серебристо-серые тона оформления ленты",
     .Glyph = TCommandGlyph::SkinSilver},
    {.Name = "acnSkinLuna",
     .Caption = "Луна",
     .Category = "Скин",
     .TipHeader = "Луна",
     .TipText = "Скин \"Луна\" -голубые тона оформления ленты",
     .Glyph = TCommandGlyph::SkinLuna},
    {.Name = "acnExportSegy",
     .Caption = "Экспорт в SEG-Y",
     .Category = "Общие",
     .TipHeader = "Экспорт в SEG-Y",
     .TipText = "Запись радарограммы в файл SEG-Y для обработки в других программах.\n"
                "Подписи, координаты и цвета меток - в файл CSV рядом с ним",
     .Glyph = TCommandGlyph::ExportSegy},
    {.Name = "acnPrint",
     .Caption = "Печать",
     .Category = "Общие",
     .Shortcut = "Ctrl+P",
     .KeyScope = TKeyScope::Window,
     .TipHeader = "Печать",
     .TipText = "Печать документа",
     .ThemeIcon = "document-print",
     .Glyph = TCommandGlyph::Print},
    {.Name = "acnAbout",
     .Caption = "О программе",
     .Category = "Справка",
     .TipHeader = "О программе",
     .TipText = "Данные о названии программы, текущей версии, авторе и контактной информацией",
     .ThemeIcon = "help-about",
     .Glyph = TCommandGlyph::About},
    {.Name = "acnHelp",
     .Caption = "Помощь",
     .Category = "Справка",
     .Shortcut = "F1",
     .KeyScope = TKeyScope::Application,
     .TipHeader = "Помощь",
     .TipText = "Система справочной информации.\n"
                "Файл справки Trelvanox.chm должен находиться в той же директории, что и "
                "исполняемый файл  Trelvanox.exe",
     .ThemeIcon = "help-contents",
     .Glyph = TCommandGlyph::Help},
    {.Name = "acnExit",
     .Caption = "Выход",
     .Category = "Общие",
     .TipHeader = "Выход",
     .TipText = "Выход из программы с потерей всех не сохраненных данных",
     .ThemeIcon = "application-exit",
     .Glyph = TCommandGlyph::Exit},
};

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::span<const TCommandInfo> CommandTable() {
    return kCommands;
}

const TCommandInfo* FindCommand(std::string_view name) {
    for (const TCommandInfo& info : kCommands)
        if (info.Name == name) return &info;
    return nullptr;
}

QString CommandHint(const TCommandInfo& info) {
    return FromUtf8(info.Hint.empty() ? info.TipHeader : info.Hint);
}

QStringList ScreenTipLines(const TCommandInfo& info) {
    if (info.TipText.empty()) return {};
    // Empty lines count: the cut command's tip ends with one.
    return FromUtf8(info.TipText).split(QLatin1Char('\n'), Qt::KeepEmptyParts);
}

QString ScreenTipKeys(const TCommandInfo& info) {
    return FromUtf8(info.Shortcut);
}

QIcon CommandIcon(const TCommandInfo& info) {
    // The program's own drawing comes first: a theme's icon may be a dark symbolic one that
    // vanishes on the dark ribbon style.
    if (info.Glyph != TCommandGlyph::Standard) return GlyphIcon(info.Glyph);
    const QIcon fallback = QApplication::style()->standardIcon(info.StandardIcon);
    if (info.ThemeIcon.empty()) return fallback;
    return QIcon::fromTheme(FromUtf8(info.ThemeIcon), fallback);
}

QLineEdit* EditTarget(QWidget* focus) {
    if (auto* edit = qobject_cast<QLineEdit*>(focus)) return edit;
    if (auto* combo = qobject_cast<QComboBox*>(focus)) return combo->lineEdit();
    // A spin box keeps its line edit to itself but makes it a child.
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(focus))
        return spin->findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
    return nullptr;
}

void RunEditCommand(TEditCommand command, QWidget* focus) {
    QLineEdit* edit = EditTarget(focus);
    if (!edit) return;
    if (command == TEditCommand::Copy) {
        edit->copy();
        return;
    }
    if (edit->isReadOnly()) return;
    switch (command) {
        case TEditCommand::Cut:
            edit->cut();
            break;
        case TEditCommand::Paste:
            edit->paste();
            break;
        case TEditCommand::Undo:
            edit->undo();
            break;
        case TEditCommand::Delete:
            // The selection only: with none, the button does not eat the character after the
            // caret the way the Delete key does.
            if (edit->hasSelectedText()) edit->del();
            break;
        case TEditCommand::Copy:
            break;
    }
}

TCommandSet::TCommandSet(QObject* owner) : QObject(owner) {
    const std::pair<std::string_view, TEditCommand> editCommands[] = {
        {"EditCut1", TEditCommand::Cut},       {"EditCopy1", TEditCommand::Copy},
        {"EditPaste1", TEditCommand::Paste},   {"EditUndo1", TEditCommand::Undo},
        {"EditDelete1", TEditCommand::Delete},
    };
    for (const TCommandInfo& info : kCommands) {
        auto* action = new QAction(owner);
        const QString name = FromUtf8(info.Name);
        action->setObjectName(name);
        action->setText(FromUtf8(info.Caption));
        const QString hint = CommandHint(info);
        action->setToolTip(hint);
        action->setStatusTip(hint);
        action->setProperty("category", FromUtf8(info.Category));
        action->setIcon(CommandIcon(info));
        if (!info.Shortcut.empty() && info.KeyScope != TKeyScope::KeyMap) {
            action->setShortcut(
                QKeySequence::fromString(FromUtf8(info.Shortcut), QKeySequence::PortableText));
            // Edit keys only inside the widget holding the action; see the header.
            action->setShortcutContext(
                info.KeyScope == TKeyScope::Widget   ? Qt::WidgetWithChildrenShortcut
                : info.KeyScope == TKeyScope::Window ? Qt::WindowShortcut
                                                     : Qt::ApplicationShortcut);
        }
        // Replaces the plain tool tip with the formatted one; the status tip keeps the hint.
        SetScreenTip(action, FromUtf8(info.TipHeader), ScreenTipLines(info), ScreenTipKeys(info));
        for (const auto& [editName, command] : editCommands) {
            if (info.Name != editName) continue;
            connect(action, &QAction::triggered, this,
                    [command] { RunEditCommand(command, QApplication::focusWidget()); });
        }
        actions_.append(action);
        byName_.insert(name, action);
    }
}

QList<QAction*> TCommandSet::WindowActions() const {
    QList<QAction*> result;
    for (const TCommandInfo& info : kCommands)
        if (!info.Shortcut.empty() &&
            (info.KeyScope == TKeyScope::Window || info.KeyScope == TKeyScope::Application))
            result.append(Action(FromUtf8(info.Name)));
    return result;
}

QAction* TCommandSet::Action(const QString& name) const {
    return byName_.value(name, nullptr);
}

}  // namespace trelvanox
