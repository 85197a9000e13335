#include <gtest/gtest.h>

#include "model/file_messages.h"

namespace trelvanox {
namespace {

TEST(FileMessagesTest, ReaderFailures) {
    EXPECT_FALSE(ReadFailureMessage(TReadStatus::Ok));
    const auto open = ReadFailureMessage(TReadStatus::OpenFailed);
    ASSERT_TRUE(open);
    EXPECT_EQ(open->Text, "Ошибка! Неверный формат или \n файл имеет атрибут -только для чтения-");
    EXPECT_EQ(open->Caption, "Ошибка чтения данных");
    for (const TReadStatus status : {TReadStatus::Refused, TReadStatus::IoFault}) {
        const auto fault = ReadFailureMessage(status);
        ASSERT_TRUE(fault);
        EXPECT_EQ(fault->Text, "Радарограмма не открыта или не прочитана");
        EXPECT_EQ(fault->Caption, "");
    }
}

TEST(FileMessagesTest, WriterFailures) {
    EXPECT_FALSE(WriteFailureMessage(TWriteStatus::Ok));
    EXPECT_EQ(WriteFailureMessage(TWriteStatus::OpenFailed)->Text, "Невозможно записать файл");
    for (const TWriteStatus status : {TWriteStatus::NotLoaded, TWriteStatus::IoFault}) {
        const auto fault = WriteFailureMessage(status);
        EXPECT_EQ(fault->Text, "Невозможно записать файл. Файл не открыт или не прочитан");
        EXPECT_EQ(fault->Caption, "");
    }
}

TEST(FileMessagesTest, SizeInMebibytesRoundedDownAndInBytes) {
    EXPECT_EQ(SizeFileText(5000000), "Размер файла: 4 МБ (5000000 байт)");
    EXPECT_EQ(SizeFileText(1048575), "Размер файла: 0 МБ (1048575 байт)");
    EXPECT_EQ(SizeFileText(1048576), "Размер файла: 1 МБ (1048576 байт)");
    EXPECT_EQ(SizeFileText(0), "Размер файла: 0 МБ (0 байт)");
}

}  // namespace
}  // namespace trelvanox
