#include "model/file_messages.h"

namespace trelvanox {

std::optional<TFileMessage> ReadFailureMessage(TReadStatus status) {
    switch (status) {
        case TReadStatus::Ok:
            return std::nullopt;
        case TReadStatus::OpenFailed:
            return TFileMessage{
                "Ошибка! Неверный формат или \n файл имеет атрибут -только для чтения-",
                "Ошибка чтения данных", TMessageIcon::Information};
        case TReadStatus::Refused:
        case TReadStatus::IoFault:
            break;
    }
    return TFileMessage{"Радарограмма не открыта или не прочитана", ""};
}

std::optional<TFileMessage> WriteFailureMessage(TWriteStatus status) {
    switch (status) {
        case TWriteStatus::Ok:
            return std::nullopt;
        case TWriteStatus::OpenFailed:
            return TFileMessage{"Невозможно записать файл", ""};
        case TWriteStatus::NotLoaded:
        case TWriteStatus::IoFault:
            break;
    }
    return TFileMessage{"Невозможно записать файл. Файл не открыт или не прочитан", ""};
}

std::string SizeFileText(std::uint64_t bytes) {
    return "Размер файла: " + std::to_string(bytes / 1048576) + " МБ (" + std::to_string(bytes) +
           " байт)";
}

}  // namespace trelvanox
