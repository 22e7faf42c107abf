// Date and time pictures come from the caller: any text must split and print without a
// crash, and a picture of plain letters must print as the same fields again.
#include "ce/winnls.h"
#include "kernel/DatePicture.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    std::u16string picture(size / 2, u'\0');
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = char16_t(data[2 * i] | data[2 * i + 1] << 8);
    SYSTEMTIME time{};
    time.wYear = 2024;
    time.wMonth = 2;
    time.wDay = 29;
    time.wHour = 13;
    time.wMinute = 5;
    platform::DatePicture::FormatDate(picture, time);
    platform::DatePicture::FormatTime(picture, time, data[0] & 0x0F);
    size_t total = 0;
    for (const auto& field : platform::DatePicture::Split(picture, u"dMyg"))
        total += field.letter ? field.count : 0;
    if (total > picture.size())
        std::abort();
    return 0;
}
