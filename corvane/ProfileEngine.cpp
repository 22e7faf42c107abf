#include "corvane/ProfileEngine.h"

#include "ce/regext.h"
#include "ce/registry.h"
#include "common/ProfileFile.h"
#include "common/Settings.h"
#include "corvane/BuiltinProfiles.h"
#include "corvane/SoundSettings.h"

namespace corvane {

namespace {

constexpr WCHAR kLastProfileValue[] = u"LastProfile";
constexpr WCHAR kScheduledValue[] = u"ScheduledProfiles";

bool ScheduledProfilesEnabled() {
    DWORD enabled = 0;
    if (FAILED(RegistryGetDWORD(HKEY_LOCAL_MACHINE, common::kOptionsKey, kScheduledValue, &enabled)))
        return false;
    return enabled != 0;
}

// The stored "LastProfile" as a signed number; nothing when it is missing.
std::optional<int64_t> LastProfile() {
    DWORD value = 0;
    if (FAILED(RegistryGetDWORD(HKEY_LOCAL_MACHINE, common::kOptionsKey, kLastProfileValue, &value)))
        return std::nullopt;
    return int64_t(int32_t(value));
}

} // namespace

class ProfileEngine::Guard {
public:
    explicit Guard(CRITICAL_SECTION& lock) : m_lock(lock) { EnterCriticalSection(&m_lock); }
    ~Guard() { LeaveCriticalSection(&m_lock); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    CRITICAL_SECTION& m_lock;
};

ProfileEngine::ProfileEngine(std::u16string profileFile)
    : m_profileFile(std::move(profileFile)), m_scheduler([this] { OnWakeUp(); }) {
    InitializeCriticalSection(&m_lock);
}

ProfileEngine::~ProfileEngine() {
    m_scheduler.Stop();
    DeleteCriticalSection(&m_lock);
}

bool ProfileEngine::ApplyByIndex(int64_t index) {
    std::lock_guard serial(m_indexLock);
    if (index == kLastProfileIndex) {
        auto stored = LastProfile();
        if (!stored)
            return false;
        index = *stored;
    }
    // A damaged "LastProfile" must not reach past the built-in table.
    if (index < kFirstProfileIndex || index > kCustomProfileIndex)
        return false;
    bool wasCurrent;
    {
        Guard guard(m_lock);
        wasCurrent = m_current.has_value();
    }
    if (wasCurrent)
        m_scheduler.Stop();
    Guard guard(m_lock);
    if (wasCurrent) {
        SoundSettings::RestoreRingScript();
        m_current.reset();
        m_scheduled.clear();
    }
    if (!LoadLocked(int(index)))
        return false;
    bool scheduledInForce = false;
    if (!m_scheduled.empty())
        scheduledInForce = m_scheduler.DecideAndApply(
            m_scheduled, [](const common::ProfileRecord& record) { SoundSettings::Apply(record); });
    if (!scheduledInForce)
        SoundSettings::Apply(*m_current);
    RegistrySetDWORD(HKEY_LOCAL_MACHINE, common::kOptionsKey, kLastProfileValue, DWORD(index));
    return true;
}

bool ProfileEngine::LoadLocked(int index) {
    bool scheduled = ScheduledProfilesEnabled();
    common::ProfileSet file;
    bool fileRead = false;
    if (index == kCustomProfileIndex || scheduled)
        fileRead = common::ReadProfileFile(m_profileFile.c_str(), file);
    if (index == kCustomProfileIndex)
        m_current = fileRead ? file.base : std::nullopt;
    else
        m_current = BuiltinProfile(index);
    if (!m_current)
        return false;
    if (scheduled && fileRead)
        m_scheduled = std::move(file.scheduled);
    return true;
}

void ProfileEngine::ApplyRecord(const common::ProfileRecord& record) {
    Guard guard(m_lock);
    SoundSettings::Apply(record);
}

void ProfileEngine::RestoreRingScript() {
    Guard guard(m_lock);
    SoundSettings::RestoreRingScript();
}

void ProfileEngine::Shutdown() {
    std::lock_guard serial(m_indexLock);
    m_scheduler.Stop();
    RestoreRingScript();
}

void ProfileEngine::OnWakeUp() {
    Guard guard(m_lock);
    if (m_scheduled.empty() || !m_current)
        return;
    // As an apply by the user does: the saved ring script (the user's own) comes back
    // before the next profile saves the current one, or the saved one would be lost.
    SoundSettings::RestoreRingScript();
    bool inForce = m_scheduler.DecideAndApply(
        m_scheduled, [](const common::ProfileRecord& record) { SoundSettings::Apply(record); });
    if (!inForce)
        SoundSettings::Apply(*m_current);
}

std::optional<ProfileEngine::DeclineRule> ProfileEngine::CurrentDeclineRule() const {
    Guard guard(m_lock);
    if (!m_current || m_current->declineMode != common::DeclineMode::AllCalls ||
        m_current->declineAction == common::DeclineAction::None)
        return std::nullopt;
    return DeclineRule{m_current->declineAction, m_current->declineText};
}

std::optional<std::u16string> ProfileEngine::CurrentName() const {
    Guard guard(m_lock);
    if (!m_current)
        return std::nullopt;
    return m_current->name;
}

} // namespace corvane
