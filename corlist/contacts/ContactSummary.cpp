#include "corlist/contacts/ContactSummary.h"

#include "common/CoreObject.h"
#include "corlist/contacts/ContactItem.h"

#include "ce/kernel.h"
#include "ce/user.h"

#include <array>
#include <cstring>

namespace corlist {

namespace {

// The properties of a device contact's summary, in the order of its lines.
constexpr std::array<CEPROPID, 10> kSummaryTags = {
    PIMPR_FILEAS,
    PIMPR_COMPANY_NAME,
    PIMPR_MOBILE_TELEPHONE_NUMBER,
    PIMPR_BUSINESS_TELEPHONE_NUMBER,
    PIMPR_BUSINESS2_TELEPHONE_NUMBER,
    PIMPR_HOME_TELEPHONE_NUMBER,
    PIMPR_HOME2_TELEPHONE_NUMBER,
    PIMPR_EMAIL1_ADDRESS,
    PIMPR_EMAIL2_ADDRESS,
    PIMPR_EMAIL3_ADDRESS,
};
constexpr size_t kFirstNumber = 2;
constexpr size_t kFirstEmail = 7;
// The label in front of each number.
constexpr std::array<std::u16string_view, 5> kNumberLabels = {u"M:", u"W:", u"W:", u"H:", u"H:"};

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

} // namespace

std::u16string LimitLines(std::u16string_view lines, size_t limit) {
    if (lines.size() <= limit)
        return std::u16string(lines);
    if (limit == 0)
        return {};
    size_t end = 0;
    for (size_t next = lines.find(u'\n'); next != std::u16string_view::npos && next < limit;
         next = lines.find(u'\n', next + 1))
        end = next + 1;
    if (end > 0)
        return std::u16string(lines.substr(0, end));
    // Not even the first line fits: it is cut, never inside a surrogate pair.
    size_t cut = limit - 1;
    if (cut > 0 && IsHighSurrogate(lines[cut - 1]))
        --cut;
    return std::u16string(lines.substr(0, cut)) + u"\n";
}

std::u16string ContactSummaryText(common::CoreObject& core, common::ContactRecord& record) {
    std::u16string text;
    if (record.IsSimEntry()) {
        text = record.displayName + u":\n" + record.primaryNumber + u"\n";
        return LimitLines(text, kMaxSummaryText);
    }
    std::array<std::u16string, kSummaryTags.size()> values;
    {
        ContactItem item(core, record);
        if (!item.ReadTexts(kSummaryTags.data(), WORD(kSummaryTags.size()), values.data()))
            return {};
    }
    text = values[0];
    if (!values[1].empty())
        text += u" (" + values[1] + u")";
    text += u":\n";
    for (size_t i = kFirstNumber; i < kFirstEmail; ++i)
        if (!values[i].empty())
            text.append(kNumberLabels[i - kFirstNumber]).append(values[i]).append(u"\n");
    for (size_t i = kFirstEmail; i < values.size(); ++i)
        if (!values[i].empty())
            text.append(values[i]).append(u"\n");
    return LimitLines(text, kMaxSummaryText);
}

bool CopyTextToClipboard(HWND owner, std::u16string_view text) {
    if (!OpenClipboard(owner))
        return false;
    bool stored = false;
    if (EmptyClipboard()) {
        size_t bytes = (text.size() + 1) * sizeof(WCHAR);
        HLOCAL memory = LocalAlloc(LMEM_FIXED, bytes);
        if (memory) {
            auto* copy = static_cast<WCHAR*>(memory);
            if (!text.empty())
                memcpy(copy, text.data(), text.size() * sizeof(WCHAR));
            copy[text.size()] = 0;
            // The clipboard owns the block once it took it.
            stored = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
            if (!stored)
                LocalFree(memory);
        }
    }
    CloseClipboard();
    return stored;
}

} // namespace corlist
