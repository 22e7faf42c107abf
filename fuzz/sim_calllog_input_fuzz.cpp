// Feeds arbitrary input to what the SIM and call log stores read from outside: the
// console's local time text, SIM entry texts and dial strings, and property values
// written into a call record. What is accepted must hold the stores' limits.
#include "console/Tokenizer.h"
#include "pim/CedbRecordBuffer.h"
#include "pim/SimCard.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void FuzzLocalTime(const uint8_t* data, size_t size) {
    SYSTEMTIME time;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (platform::Tokenizer::ParseLocalTime(text, time) &&
        (size != 19 || time.wYear > 9999 || time.wMonth > 99 || time.wSecond > 99))
        std::abort();
}

void FuzzSimEntry(const uint8_t* data, size_t size) {
    std::u16string all(size / 2, u'\0');
    std::memcpy(all.data(), data, all.size() * 2);
    size_t split = all.find(u'\0');
    std::u16string name = all.substr(0, split);
    std::u16string number = split == std::u16string::npos ? u"" : all.substr(split + 1);
    if (SUCCEEDED(platform::SimCard::CheckEntry(name, number)) &&
        (name.size() > platform::SimCard::kMaxNameLength || number.empty() ||
         number.size() > platform::SimCard::kMaxNumberLength))
        std::abort();
}

// Each property takes 3 bytes (tag choice, flags, text length) and its text after them.
void FuzzRecordProps(const uint8_t* data, size_t size) {
    static const CEPROPID kTags[] = {0x00020040, 0x00030040, 0x00040003, 0x0006001F,
                                     0x0007001F, 0x000A001F, 0x0099001F};
    std::vector<std::u16string> texts;
    std::vector<CEPROPVAL> values;
    texts.reserve(16);
    size_t at = 0;
    while (at + 3 <= size && values.size() < 16) {
        CEPROPVAL value{};
        value.propid = kTags[data[at] % 7];
        value.wFlags = (data[at + 1] & 1) ? 0x0200 : 0;
        size_t length = std::min<size_t>(size_t(data[at + 2]) * 2, (size - at - 3) / 2);
        std::u16string text(length, u'\0');
        std::memcpy(text.data(), data + at + 3, length * 2);
        texts.push_back(std::move(text));
        if (TypeFromPropID(value.propid) == CEVT_LPWSTR)
            value.val.lpwstr = (data[at + 1] & 2) ? nullptr : texts.back().data();
        else
            value.val.filetime = FILETIME{data[at], data[at + 2]};
        values.push_back(value);
        at += 3 + length * 2;
    }
    platform::CallLogRecord record;
    if (platform::ApplyRecordProps(record, values.data(), WORD(values.size())) != ERROR_SUCCESS)
        return;
    for (const auto* text : {&record.number, &record.name, &record.numberKind})
        if (*text && (*text)->size() > platform::kClogMaxText)
            std::abort();
    platform::CedbRecordBuffer packed(record, nullptr, 0);
    std::vector<BYTE> buffer(packed.Size());
    packed.WriteTo(buffer.data());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    switch (data[0] % 3) {
    case 0: FuzzLocalTime(data + 1, size - 1); break;
    case 1: FuzzSimEntry(data + 1, size - 1); break;
    default: FuzzRecordProps(data + 1, size - 1); break;
    }
    return 0;
}
