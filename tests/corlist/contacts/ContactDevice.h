// A booted device with an empty phone book, SIM and call log, and the main program's core
// object with its stores opened on the test's thread: a watcher window hands the store's
// notifications to the contact cache, a frame window keeps what the caches post. The image
// loader runs on the install folder.
#pragma once

#include "common/ContactRecord.h"
#include "console/Console.h"
#include "corvane/Core.h"
#include "support/TestDevice.h"

#include <map>
#include <string>
#include <vector>

namespace contacttest {

class ContactDevice : public testsupport::TestDevice {
protected:
    void SetUp() override;
    void TearDown() override;

    // Handles this thread's messages until none arrived for a while.
    void Pump();
    // Runs a console line and returns its data lines; the line must succeed.
    std::vector<std::string> Console(const std::string& line);
    // `contact add FIELDS`; returns the new contact's identifier.
    CEOID AddContact(const std::string& fields);
    // The stored fields of a contact as `contact show` gives them (NAME -> value).
    std::map<std::string, std::string> Stored(CEOID oid);
    // The cached record of a device contact, after the cache saw it.
    common::ContactRecord* Record(CEOID oid);
    // The cached record whose display name is `name`, or null.
    common::ContactRecord* Named(const std::u16string& name);
    // Adds a SIM phonebook entry and has the cache load the SIM again; its record or null.
    common::ContactRecord* AddSimEntry(int location, const std::string& name, const std::string& number);
    // Stores `bytes` as the contact's picture through its store item.
    bool StorePicture(common::ContactRecord& record, const std::vector<uint8_t>& bytes);

    corvane::Core* m_core = nullptr; // destroyed through Destroy in TearDown
    HWND m_watcher = nullptr;
    HWND m_frame = nullptr;
    platform::Console m_console;
};

} // namespace contacttest
