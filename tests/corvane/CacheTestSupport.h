// A device with an empty phone book, SIM and call log, and a contact cache and call log
// cache opened on the test's thread the way the main program opens them: a watcher
// window that forwards the store notifications, timers and radio state to them, and a
// frame window that records what the caches post.
#pragma once

#include "common/CoreLock.h"
#include "common/Settings.h"
#include "console/Console.h"
#include "corvane/CallLogCache.h"
#include "corvane/ContactCache.h"
#include "support/TestDevice.h"

#include <memory>
#include <string>
#include <vector>

namespace cachetest {

struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class CacheTest : public testsupport::TestDevice {
protected:
    CacheTest() { m_options.factoryContacts = false; }
    void SetUp() override;
    void TearDown() override;

    // Opens both caches (the call log after the contacts, as at start).
    void OpenCaches();
    // Handles this thread's messages until none arrived for a while.
    void Pump();
    // Runs a console line and returns its data lines; the line must succeed.
    std::vector<std::string> Console(const std::string& line);
    // `contact add FIELDS`; returns the new contact's identifier.
    CEOID AddContact(const std::string& fields);
    // `calllog add LINE`; returns the record's identifier.
    CEOID AddCall(const std::string& line);
    // The messages posted to the frame since the last call.
    std::vector<Posted> TakePosted();
    // The names of the cached records in the cache's order.
    std::vector<std::string> Names() const;

    common::CoreLock m_lock;
    common::Settings m_settings;
    std::unique_ptr<corvane::ContactCache> m_contacts;
    std::unique_ptr<corvane::CallLogCache> m_calls;
    HWND m_watcher = nullptr;
    HWND m_frame = nullptr;
    platform::Console m_console;
};

std::string Narrow(const std::u16string& text);

} // namespace cachetest
