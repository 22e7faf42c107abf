#include "corvane/BuiltinProfiles.h"

#include <iterator>

namespace corvane {

namespace {

struct BuiltinEntry {
    const char16_t* name;
    uint32_t systemVolume;
    uint32_t ringVolume;
    int32_t initialRingLevel;
    const char16_t* ringTone; // null: the ring tone is left as it is
    const char16_t* ringScript;
    bool declinesAll;
};

// A volume of 0x99999999 is level 9 of 15 in every nibble, both channels.
const BuiltinEntry kBuiltinProfiles[] = {
    {u"Normal", 0x99999999, 0x99999999, 3, nullptr, u"apw3r", false},
    {u"Silent", 0, 0, 0, u"*none*", u"af3", false},
    {u"Meeting", 0, 0, 0, u"*vibrate*", u"av1w1r", false},
    {u"Loud", 0xFFFFFFFF, 0xFFFFFFFF, 5, nullptr, u"av0pw3r", false},
    {u"Decline", 0, 0, 0, u"*none*", u"af3", true},
    {u"Custom", 0x99999999, 0x99999999, 3, nullptr, u"apw3r", false},
};

} // namespace

std::optional<common::ProfileRecord> BuiltinProfile(int index) {
    if (index < kFirstProfileIndex || index >= int(std::size(kBuiltinProfiles)))
        return std::nullopt;
    const BuiltinEntry& entry = kBuiltinProfiles[index];
    common::ProfileRecord record;
    record.name = entry.name;
    record.systemVolume = entry.systemVolume;
    record.ringVolume = entry.ringVolume;
    record.initialRingLevel = entry.initialRingLevel;
    if (entry.ringTone)
        record.ringTone = entry.ringTone;
    record.ringScript = entry.ringScript;
    if (entry.declinesAll) {
        record.declineMode = common::DeclineMode::AllCalls;
        record.declineAction = common::DeclineAction::Decline;
    }
    return record;
}

} // namespace corvane
