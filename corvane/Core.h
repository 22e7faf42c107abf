// The main program's resident object: the shared settings record and the operations the
// UI library calls. The contact and call-log caches join it with their own changes;
// until then their operations report that nothing is cached. The sound-profile engine
// lives here for the program's whole life.
#pragma once

#include "common/CoreObject.h"
#include "corvane/ProfileEngine.h"

#include <string>

namespace corvane {

class Core final : public common::CoreObject {
public:
    // `profileFile`: the device path of the profile file beside the program.
    explicit Core(std::u16string profileFile) : m_profiles(std::move(profileFile)) {}

    common::ContactRecord* FindContactByNumber(const WCHAR* number) override;
    common::ContactRecord* FindContactByOid(DWORD oid) override;
    BOOL BeamContact(common::ContactRecord* contact) override;
    void* CreateContact() override;
    BOOL DeleteContacts(common::ContactRecord** records, int count, BOOL followLinks) override;
    BOOL DeleteCallLogEntries(common::CallLogEntry** entries, int count, BOOL followGroup) override;
    int CountCalls(int kind, const FILETIME* start, const FILETIME* end, DWORD* seconds) override;
    CoreObject* Self() override { return this; }
    void SuppressNotification(common::ContactRecord* contact) override;
    void Destroy() override { delete this; }

    ProfileEngine& Profiles() { return m_profiles; }

private:
    ~Core() override = default;

    ProfileEngine m_profiles;
};

} // namespace corvane
