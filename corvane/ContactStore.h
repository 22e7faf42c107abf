// The main program's session with the device's contact store: the application object
// logged on with the watcher window (which then receives the change notifications), the
// contacts folder with its notifications switched on, its item collection, and property
// reads into one reusable buffer of the process heap.
#pragma once

#include "ce/pimstore.h"

namespace corvane {

class ContactStore {
public:
    // Reads start in a buffer of this size; a contact that needs more is read again
    // into a grown buffer, which is kept for the next reads.
    static constexpr ULONG kReadBufferSize = 4096;

    ContactStore() = default;
    ContactStore(const ContactStore&) = delete;
    ContactStore& operator=(const ContactStore&) = delete;
    ~ContactStore() { LogOff(); }

    // Creates the application object and logs on with `window` as owner; once.
    bool LogOn(HWND window);
    // Gets the contacts folder and its items and asks for its change notifications.
    bool OpenFolder();
    bool FolderOpen() const { return m_items != nullptr; }
    // Releases everything and logs off.
    void LogOff();

    int Count() const;
    // The item at 1-based `index`, or null; the caller releases it.
    IContact* ItemAt(int index) const;
    // The item with identifier `oid`, or null; the caller releases it.
    IContact* ItemFromOid(CEOID oid) const;
    // Reads `count` properties of `item`; the values stay valid until the next read.
    HRESULT Read(IContact* item, const CEPROPID* tags, WORD count, const CEPROPVAL*& values);
    CEOID OidOf(IContact* item) const;

    IPOutlookApp* Application() const { return m_application; }
    IPOutlookItemCollection* Items() const { return m_items; }

private:
    void EnableNotifications();

    IPOutlookApp* m_application = nullptr;
    bool m_loggedOn = false;
    IFolder* m_folder = nullptr;
    IPOutlookItemCollection* m_items = nullptr;
    CEPROPVAL* m_buffer = nullptr;
    ULONG m_bufferSize = 0;
};

// Asks `object` for another of its interfaces; null when it has none.
template <typename Interface> Interface* QueryAs(IUnknown* object, REFIID iid) {
    void* result = nullptr;
    if (!object || FAILED(object->QueryInterface(iid, &result)))
        return nullptr;
    return static_cast<Interface*>(result);
}

} // namespace corvane
