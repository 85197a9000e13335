#include "document/document_messages.h"

namespace trelvanox {

namespace {

constexpr const char* kJournalFailed =
    "Невозможно записать файл: не удалось сохранить журнал изменений (нет места или нет доступа "
    "к папке состояния программы). Файл не изменён.";
constexpr const char* kRolledBack = "Невозможно записать файл. Файл остался без изменений.";
constexpr const char* kInterrupted =
    "Невозможно записать файл, и вернуть его прежнее содержимое сразу не удалось. Файл будет "
    "восстановлен при следующем чтении.";
constexpr const char* kHistoryLost =
    "Файл изменён другой программой после последнего изменения в этой программе. История "
    "изменений файла удалена.";

constexpr const char* kChangedDuringWrite =
    "Файл изменён или заменён другой программой во время записи. Запись отменена, файл не "
    "изменён. Прочитайте файл заново.";

TFileMessage Plain(std::string text) {
    return {std::move(text), "", TMessageIcon::None};
}

}  // namespace

std::string JournalMessage(const THistoryOutcome& outcome) {
    if (outcome.Status == THistoryStatus::JournalUnreadable)
        return "Не удалось прочитать журнал " + outcome.Detail +
               ". Файл не изменён, история изменений сохранена.";
    return "Журнал " + outcome.Detail +
           " повреждён и не применён; он сохранён под этим именем. Файл не изменён; более "
           "ранние изменения за ним отменить нельзя.";
}

std::optional<TFileMessage> ChangeFailureMessage(THistoryStatus status, TWriteStatus writer) {
    switch (status) {
        case THistoryStatus::Done:
        case THistoryStatus::Unchanged:
        case THistoryStatus::Cancelled:
            return std::nullopt;
        case THistoryStatus::WriterFailed:
            return WriteFailureMessage(writer);
        case THistoryStatus::JournalFailed:
            return Plain(kJournalFailed);
        case THistoryStatus::RolledBack:
            return Plain(kRolledBack);
        case THistoryStatus::Interrupted:
            return Plain(kInterrupted);
        case THistoryStatus::ChangedOnDisk:
            return Plain(kChangedDuringWrite);
        case THistoryStatus::NothingToUndo:
        case THistoryStatus::HistoryLost:
        case THistoryStatus::JournalUnreadable:
        case THistoryStatus::JournalDamaged:
        case THistoryStatus::FileUnreadable:
            break;
    }
    return Plain(kHistoryLost);
}

std::optional<TFileMessage> StepFailureMessage(const THistoryOutcome& outcome, bool undo) {
    switch (outcome.Status) {
        case THistoryStatus::Done:
            return std::nullopt;
        case THistoryStatus::NothingToUndo:
            return Plain(undo ? "Нет изменений для отмены."
                              : "Нет отменённых изменений для повтора.");
        case THistoryStatus::HistoryLost:
            return Plain(kHistoryLost);
        case THistoryStatus::RolledBack:
            return Plain(undo ? "Не удалось отменить изменение. Файл остался без изменений."
                              : "Не удалось повторить изменение. Файл остался без изменений.");
        case THistoryStatus::Interrupted:
            return Plain(kInterrupted);
        case THistoryStatus::JournalUnreadable:
        case THistoryStatus::JournalDamaged:
            return Plain(JournalMessage(outcome));
        case THistoryStatus::FileUnreadable:
            return Plain(
                "Не удалось прочитать файл, чтобы сравнить его с журналом изменений. Файл "
                "не изменён, история изменений сохранена.");
        case THistoryStatus::Unchanged:
        case THistoryStatus::WriterFailed:
        case THistoryStatus::JournalFailed:
        case THistoryStatus::Cancelled:
        case THistoryStatus::ChangedOnDisk:
            break;
    }
    return Plain(kJournalFailed);
}

TFileMessage ChangedOnDiskMessage(const TFileStamp& expected, const TFileStamp& found) {
    std::string reason = "изменено время изменения файла";
    if (expected.Device != found.Device || expected.Inode != found.Inode)
        reason = "по этому пути теперь другой файл";
    else if (expected.Size != found.Size)
        reason = "изменился размер файла (было " + std::to_string(expected.Size) + " байт, стало " +
                 std::to_string(found.Size) + " байт)";
    return Plain("Файл изменён другой программой после чтения: " + reason +
                 ". Запись отменена, файл не изменён. Прочитайте файл заново.");
}

TFileMessage BusyMessage(bool change, std::chrono::milliseconds waited) {
    const auto seconds = (waited.count() + 999) / 1000;
    return Plain("Файл сейчас изменяет другой процесс Trelvanox; ожидание (" +
                 std::to_string(seconds) + " с) истекло. " +
                 (change ? "Файл не изменён. Повторите команду позже."
                         : "Файл не прочитан. Повторите чтение позже."));
}

}  // namespace trelvanox
