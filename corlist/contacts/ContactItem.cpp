#include "corlist/contacts/ContactItem.h"

#include "common/CoreObject.h"

#include "ce/kernel.h"

namespace corlist {

ContactItem::ContactItem(common::CoreObject& core, common::ContactRecord& record) {
    if (record.IsSimEntry())
        return;
    common::CoreLockGuard guard(core.ItemLock());
    IContact* contact = core.Directory().FetchItem(record);
    if (!contact)
        return;
    void* item = nullptr;
    if (SUCCEEDED(contact->QueryInterface(IID_IItem, &item)))
        m_item = static_cast<IItem*>(item);
    core.Directory().ReleaseItem(record);
}

ContactItem::~ContactItem() {
    if (m_item)
        m_item->Release();
}

bool ContactItem::ReadTexts(const CEPROPID* tags, WORD count, std::u16string* texts) const {
    if (!m_item)
        return false;
    CEPROPVAL* values = nullptr;
    ULONG size = 0;
    if (FAILED(m_item->GetProps(tags, CEDB_ALLOWREALLOC, count, &values, &size, nullptr)) || !values)
        return false;
    for (WORD i = 0; i < count; ++i) {
        const CEPROPVAL& value = values[i];
        bool present = !(value.wFlags & CEDB_PROPNOTFOUND) && (value.propid & 0xFFFF) == CEVT_LPWSTR &&
                       value.val.lpwstr;
        texts[i] = present ? std::u16string(value.val.lpwstr) : std::u16string();
    }
    LocalFree(values);
    return true;
}

HRESULT ContactItem::WriteText(CEPROPID tag, const std::u16string* text) {
    if (!m_item)
        return E_FAIL;
    CEPROPVAL value{};
    value.propid = tag;
    if (text)
        value.val.lpwstr = const_cast<LPWSTR>(text->c_str());
    else
        value.wFlags = CEDB_PROPDELETE;
    return m_item->SetProps(0, 1, &value);
}

HRESULT ContactItem::WriteNumber(CEPROPID tag, ULONG number) {
    if (!m_item)
        return E_FAIL;
    CEPROPVAL value{};
    value.propid = tag;
    value.val.ulVal = number;
    return m_item->SetProps(0, 1, &value);
}

HRESULT ContactItem::Save() { return m_item ? m_item->Save() : E_FAIL; }

} // namespace corlist
