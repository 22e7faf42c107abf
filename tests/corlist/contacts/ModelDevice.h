// A booted device with the main program's core object opened on the test's thread the way
// the main program opens it: a watcher window passes the store notifications, timers and
// radio state on to its caches. The SIM phonebook and the call log start empty; contacts and
// calls are added through the console.
#pragma once

#include "../skin/SkinDevice.h"
#include "console/Console.h"
#include "corlist/contacts/ListModel.h"
#include "corvane/Core.h"

#include <string>
#include <vector>

namespace modeltest {

class ModelDevice : public skintest::SkinOnDevice {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the stores (contacts, SIM, call log) and lets the caches load.
    void OpenStores();
    // Handles this thread's messages until none arrived for a while.
    void Pump();
    // Runs a console line that must succeed and returns its data lines.
    std::vector<std::string> Console(const std::string& line);
    // `contact add FIELDS`; the new contact's identifier.
    CEOID AddContact(const std::string& fields);
    // `calllog add LINE`.
    void AddCall(const std::string& line);
    // The cached contact whose display name is `name` (ASCII), or null.
    common::ContactRecord* Named(const std::string& name) const;

    corvane::Core* m_core = nullptr; // destroyed by TearDown
    HWND m_watcher = nullptr;
    platform::Console m_console;
};

// A text in ASCII ('?' for anything else).
std::string Narrow(std::u16string_view text);
// The name a row shows, for comparisons: a contact's display name, a category's or
// company's name, a call's number (or logged name).
std::string RowName(const corlist::ListRow& row);
// The names of the rows a model shows now.
std::vector<std::string> Names(const corlist::ListModel& model);

} // namespace modeltest
