#include "corlist/contacts/ContactAccess.h"

#include "common/CoreObject.h"
#include "common/PhoneKey.h"
#include "corlist/contacts/ContactFieldTable.h"
#include "corlist/contacts/ContactItem.h"
#include "corlist/controls/LibraryText.h"
#include "corlist/controls/SkinMessageBox.h"

#include "ce/kernel.h"
#include "ce/user.h"

#include <array>

namespace corlist {

namespace {

constexpr std::array<CEPROPID, 3> kEmailTags = {PIMPR_EMAIL1_ADDRESS, PIMPR_EMAIL2_ADDRESS, PIMPR_EMAIL3_ADDRESS};
constexpr std::array<CEPROPID, 3> kImTags = {PIMPR_IM1_ADDRESS, PIMPR_IM2_ADDRESS, PIMPR_IM3_ADDRESS};

bool StartsWith(const std::u16string& text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && std::u16string_view(text).substr(0, prefix.size()) == prefix;
}

// The new default index of a key block moved by `step` and the property of that number;
// false when the index leaves the block or the number is not a text property.
bool DefaultStep(const std::vector<BYTE>& block, int step, int& index, CEPROPID& tag) {
    if (block.size() < common::kPhoneKeyBlockHeaderSize)
        return false;
    index = int(block[1]) + step;
    if (index < 0 || index >= int(block[0]))
        return false;
    const BYTE* key = common::KeyAt(block.data(), block.size(), size_t(index));
    if (!key || key[1] >= std::size(common::kPhoneTypes))
        return false;
    tag = common::kPhoneTypes[key[1]].tag;
    return TypeOfTag(tag) == CEVT_LPWSTR;
}

} // namespace

std::u16string FavouritesName() { return LibraryText(kFavoritesText); }

ContactAccess::ContactAccess(common::CoreObject& core, std::u16string favourites)
    : m_core(core), m_favourites(std::move(favourites)) {}

bool ContactAccess::IsFavourite(const common::ContactRecord& record) const {
    for (const common::CategoryEntry* category : record.categories)
        if (category && category->name == m_favourites)
            return true;
    return false;
}

bool ContactAccess::SetFavourite(common::ContactRecord& record, bool favourite) {
    ContactItem item(m_core, record);
    if (!item)
        return false;
    HRESULT result = favourite ? item.Item()->AddCategory(m_favourites.c_str())
                               : item.Item()->RemoveCategory(m_favourites.c_str());
    return SUCCEEDED(result) && SUCCEEDED(item.Save());
}

bool ContactAccess::SetDefaultNumber(common::ContactRecord& record, int step) {
    int index = 0;
    CEPROPID tag = 0;
    {
        common::CoreLockGuard guard(m_core.ItemLock());
        if (!DefaultStep(record.phoneKeys, step, index, tag))
            return false;
    }
    ContactItem item(m_core, record);
    if (!item || FAILED(item.WriteNumber(PIMPR_SMARTPROP, tag)) || FAILED(item.Save()))
        return false;
    // The cache reads the new default from the store too; the index is set at once so that
    // the page shows it before the store's notification arrives.
    common::CoreLockGuard guard(m_core.ItemLock());
    if (record.phoneKeys.size() >= common::kPhoneKeyBlockHeaderSize && index < int(record.phoneKeys[0]))
        record.phoneKeys[1] = BYTE(index);
    return true;
}

bool ContactAccess::ChooseRingTone(common::ContactRecord& record, const RingToneChooser& chooser,
                                   const OutcomeNotice& notice) {
    std::u16string current;
    {
        ContactItem item(m_core, record);
        if (!item)
            return false;
        const CEPROPID tag = PIMPR_RINGTONE;
        item.ReadTexts(&tag, 1, &current);
    }
    // The item is not held while the user browses.
    std::u16string chosen;
    if (!chooser || !chooser(current, chosen))
        return false;
    ContactItem item(m_core, record);
    bool stored = item && SUCCEEDED(item.WriteText(PIMPR_RINGTONE, chosen.empty() ? nullptr : &chosen)) &&
                  SUCCEEDED(item.Save());
    if (notice) {
        if (!stored)
            notice(kRingToneFailedText, MB_OK | MB_ICONERROR);
        else
            notice(chosen.empty() ? kRingToneDefaultText : kRingToneAssignedText, MB_OK | MB_ICONINFORMATION);
    }
    return stored;
}

std::u16string ContactAccess::FirstEmail(common::ContactRecord& record) {
    ContactItem item(m_core, record);
    std::array<std::u16string, kEmailTags.size()> addresses;
    if (!item.ReadTexts(kEmailTags.data(), WORD(kEmailTags.size()), addresses.data()))
        return {};
    for (std::u16string& address : addresses)
        if (address.find(u'@') != std::u16string::npos)
            return std::move(address);
    return {};
}

bool ContactAccess::SetTaggedImValue(common::ContactRecord& record, std::u16string_view key, const WCHAR* text,
                                     bool force) {
    if (key.empty())
        return false;
    ContactItem item(m_core, record);
    std::array<std::u16string, kImTags.size()> values;
    if (!item.ReadTexts(kImTags.data(), WORD(kImTags.size()), values.data()))
        return false;
    if (!text) {
        // Only fields that hold the key are removed; another value is never lost.
        bool removed = false;
        for (size_t i = 0; i < values.size(); ++i)
            if (StartsWith(values[i], key)) {
                if (FAILED(item.WriteText(kImTags[i], nullptr)))
                    return false;
                removed = true;
            }
        return !removed || SUCCEEDED(item.Save());
    }
    // The field that holds the key already wins over an empty one, so a contact never ends
    // up with two values for one key.
    size_t picked = values.size();
    for (size_t i = 0; i < values.size() && picked == values.size(); ++i)
        if (StartsWith(values[i], key))
            picked = i;
    for (size_t i = 0; i < values.size() && picked == values.size(); ++i)
        if (values[i].empty())
            picked = i;
    if (picked == values.size()) {
        if (!force)
            return false;
        picked = values.size() - 1;
    }
    std::u16string value = std::u16string(key) + u":" + text;
    return SUCCEEDED(item.WriteText(kImTags[picked], &value)) && SUCCEEDED(item.Save());
}

ContactAccess::OutcomeNotice SkinOutcomeNotice(Skin& skin, ControlOwner& owner) {
    return [&skin, &owner](UINT textNumber, UINT type) {
        ShowMessageBox(skin, owner, kMessageTitleText, LibraryText(textNumber), type);
    };
}

} // namespace corlist
