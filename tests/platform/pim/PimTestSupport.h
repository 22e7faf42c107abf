// A booted device with the contact store's application object created and logged on with
// a window of the test thread, and helpers to make contacts and collect notifications.
#pragma once

#include "ce/kernel.h"
#include "ce/pimstore.h"
#include "ce/user.h"
#include "support/TestDevice.h"

#include <string>
#include <vector>

namespace pimtest {

struct Notification {
    UINT message;
    WPARAM oid;
    LPARAM folder;
    bool operator==(const Notification&) const = default;
};

class PimTest : public testsupport::TestDevice {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new contact saved with these text properties; returns its IItem (caller releases).
    IItem* NewContact(std::initializer_list<std::pair<CEPROPID, const char16_t*>> texts);
    // The stored contact with `oid`, or null.
    IItem* Fetch(CEOID oid);
    LONG OidOf(IItem* item);
    // The text of `tag` read through GetProps, or "<missing>".
    std::u16string Text(IItem* item, CEPROPID tag);
    // Sets PIMPR_FOLDERNOTIFICATIONS on the contacts folder of the logged-on application.
    void EnableNotifications(DWORD flags);
    // Every PIM_ITEM_* message queued for the test window.
    std::vector<Notification> TakeNotifications();

    IPOutlookApp* m_app = nullptr;
    HWND m_window = nullptr;
};

} // namespace pimtest
