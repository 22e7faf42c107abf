// The main program's change messages: contacts, call log, message folders and settings.
// While another window is in front they only mark what is stale; the next activation
// applies it in one pass.
#include "corlist/frame/Frame.h"
#include "corlist/frame/MainPageTable.h"

#include "common/ContactRecord.h"
#include "common/Messages.h"
#include "corlist/contacts/ViewWord.h"
#include "corlist/controls/LetterBar.h"
#include "corlist/controls/ListView.h"

#include "ce/kernel.h"
#include "ce/user.h"

namespace corlist {

namespace {

// Kinds of CRVM_CONTACTCHANGED (high word of wParam).
constexpr WORD kContactRemoved = 4;
// CRVM_SETTINGSCHANGED bits.
constexpr WPARAM kGroupDaysChanged = 1;
constexpr WPARAM kLetterBarChanged = 2;
constexpr WPARAM kSkinChanged = 4;

} // namespace

void Frame::OnContactChanged(WPARAM wParam, LPARAM lParam) {
    auto* record = reinterpret_cast<const common::ContactRecord*>(lParam);
    if (HIWORD(wParam) == kContactRemoved && record) {
        // A removed record's rows go at once: the list must not show it again.
        m_model->Forget(record);
        m_marks.resize(m_model->Count());
        ListChanged();
    }
    if (!m_active) {
        m_deferred |= Deferred::kContactReload;
        return;
    }
    if (!IsContactView(m_view) && !IsCallHistoryView(m_view))
        return;
    // Changes come in bursts (a sync, a SIM read): the list is rebuilt once they settle.
    if (!m_timer)
        m_timer = SetTimer(Window(), kCoalesceTimer, kCoalesceMs, nullptr);
}

void Frame::OnCoalesceTimer() {
    KillTimer(Window(), kCoalesceTimer);
    m_timer = 0;
    RefreshList(true);
}

void Frame::OnCallLogChanged() {
    if (!m_active) {
        m_deferred |= Deferred::kCallLogReload;
        return;
    }
    if (IsCallHistoryView(m_view))
        RefreshList(true);
}

void Frame::OnContactsReload(LPARAM lParam) {
    if (!IsContactView(m_view) && !(m_view & (ViewBit::kCategories | ViewBit::kCompanies)))
        return;
    if (!m_active) {
        m_deferred |= Deferred::kContactReload;
        return;
    }
    RefreshList(true, reinterpret_cast<const common::ContactRecord*>(lParam));
}

void Frame::OnMessageFoldersChanged(WPARAM wParam, LPARAM lParam) {
    m_staleFolders |= wParam == 0 ? 0x1F : (1u << (DWORD(lParam) % 5));
    if (!(m_view & ViewBit::kMessages))
        return;
    if (!m_active) {
        m_deferred |= Deferred::kListRefresh;
        return;
    }
    m_staleFolders = 0;
    RefreshList(true);
}

void Frame::OnSettingsChanged(WPARAM changes) {
    if (changes & kSkinChanged) {
        // A new skin means a new frame: it opens on the default page.
        PostMessageW(Window(), WM_CLOSE, 0, 0);
        PostThreadMessageW(GetCurrentThreadId(), common::CRVM_OPENPAGE, 0x4000, 0);
        return;
    }
    if (changes & kLetterBarChanged)
        ShowLetterBar();
    if ((changes & kGroupDaysChanged) && (m_view & ViewBit::kGrouped)) {
        if (m_active)
            RefreshList(true);
        else
            m_deferred |= Deferred::kListRefresh;
    }
}

// The letter bar stands beside contact lists when the settings keep it visible. (Its
// visible bit: the same bit on the list itself would hide the list.)
void Frame::ShowLetterBar() {
    Control* bar = m_page ? m_page->FindKind("letterbar") : nullptr;
    if (!bar)
        return;
    bool on = IsContactView(m_view) && (Settings().flags & common::SettingsFlag::kLetterBarVisible);
    if (bar->IsVisible() != on)
        bar->SetFlags(ControlState::kVisible, on ? ControlState::kVisible : 0, true);
    if (ListView* list = m_page->List())
        list->Invalidate();
}

void Frame::ListChanged() {
    m_binding->Update();
    // A search result is ordered by the last call, not by name: no letters to jump to.
    if (auto* bar = static_cast<LetterBar*>(m_page ? m_page->FindKind("letterbar") : nullptr))
        bar->SetLetters(m_model->IsSearching() ? std::vector<BarLetter>() : m_binding->Letters());
}

// Builds the shown list again from the caches (an active search runs again), keeping the
// selected entry when asked, or selecting `select`.
void Frame::RefreshList(bool keepSelection, const common::ContactRecord* select) {
    ListView* list = m_page ? m_page->List() : nullptr;
    const common::ContactRecord* selected = select;
    if (!selected && keepSelection && list) {
        int focused = list->FocusedItem();
        if (focused >= 0 && size_t(focused) < m_model->Count())
            selected = m_model->Row(size_t(focused)).contact;
    }
    m_model->Reload();
    m_marks.resize(m_model->Count());
    ListChanged();
    m_selectedRow = -1;
    if (list) {
        int index = selected ? m_model->IndexOf(selected) : -1;
        list->SetFocusedItem(index);
        list->Invalidate();
    }
    if (m_page)
        m_page->ShowControls(MainControl::kNewContact, !m_number.empty() && m_model->Count() == 0);
}

} // namespace corlist
