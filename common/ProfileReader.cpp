#include "common/ProfileReader.h"

#include "common/Stream.h"
#include "common/TextCodec.h"

#include <algorithm>
#include <cstring>
#include <strings.h>
#include <limits>

namespace common {

namespace {

// Node kinds of the elements the file knows; everything else is a generic, ignored node.
enum ProfileKind : uint32_t {
    kProfile = 1,
    kSchedProfile,
    kCall,
    kRing,
    kRoamingRing,
    kDecline,
    kVolume,
    kActivation,
};

struct ChildRule {
    uint32_t parent;
    const char* name;
    uint32_t kind;
};

constexpr ChildRule kChildRules[] = {
    {kProfile, "Call", kCall},          {kProfile, "Volume", kVolume},
    {kProfile, "SchedProfile", kSchedProfile}, {kSchedProfile, "Activation", kActivation},
    {kSchedProfile, "Call", kCall},     {kSchedProfile, "Volume", kVolume},
    {kCall, "Ring", kRing},             {kCall, "RoamingRing", kRoamingRing},
    {kCall, "Decline", kDecline},
};

constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

bool Is(const char* name, const char* expected) { return strcasecmp(name, expected) == 0; }

std::u16string Text(std::string_view utf8) {
    std::u16string text = Utf8ToWide(utf8);
    if (text.size() > ProfileReader::kMaxTextLength) {
        size_t keep = ProfileReader::kMaxTextLength;
        if (text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF)
            --keep; // do not keep half of a surrogate pair
        text.resize(keep);
    }
    return text;
}

// sscanf-like "%d": optional blanks and sign, at least one digit.
bool ScanInt(const char*& p, int64_t& result) {
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')
        ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (*p < '0' || *p > '9')
        return false;
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = std::min<int64_t>(value * 10 + (*p - '0'), int64_t(1) << 32);
    result = negative ? -value : value;
    return true;
}

bool Expect(const char*& p, char c) {
    if (*p != c)
        return false;
    ++p;
    return true;
}

// An element's content up to the first "</", as the text stands before its children are
// parsed.
std::u16string ContentText(const char* content) {
    if (!content)
        return {};
    const char* end = std::strstr(content, "</");
    size_t length = end ? size_t(end - content) : std::strlen(content);
    return Text(std::string_view(content, length));
}

} // namespace

int64_t ProfileReader::ParseNumber(const char* value) {
    constexpr int64_t kMax = std::numeric_limits<uint32_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    int64_t result = 0;
    if (value[0] == '0' && value[1] == 'x') {
        for (const char* p = value + 2;; ++p) {
            int digit = *p >= '0' && *p <= '9'   ? *p - '0'
                        : *p >= 'a' && *p <= 'f' ? *p - 'a' + 10
                        : *p >= 'A' && *p <= 'F' ? *p - 'A' + 10
                                                 : -1;
            if (digit < 0)
                return result;
            result = std::min(result * 16 + digit, kMax);
        }
    }
    bool negative = value[0] == '-';
    for (const char* p = negative ? value + 1 : value; *p >= '0' && *p <= '9'; ++p)
        result = std::min(result * 10 + (*p - '0'), kMax);
    return negative ? std::max(-result, kMin) : result;
}

bool ProfileReader::Read(Stream& stream, ProfileSet& result) {
    m_base.reset();
    m_scheduled.clear();
    if (!Load(stream))
        m_base.reset(); // unreadable, or parsing ran out of memory half-way
    Clear();            // everything the file holds was copied into the records
    result.base = std::move(m_base);
    result.scheduled.assign(m_scheduled.rbegin(), m_scheduled.rend());
    m_base.reset();
    m_scheduled.clear();
    if (!result.base)
        result.scheduled.clear();
    return result.base.has_value();
}

XmlNode* ProfileReader::OnEvent(XmlNode* node, XmlEvent event, const char* name,
                                const char* value) {
    switch (event) {
    case XmlEvent::ElementStart: {
        XmlNode* element = StartElement(node, name);
        if (element && element->Kind() == kDecline)
            m_declineText = ContentText(value);
        return element;
    }
    case XmlEvent::Attribute:
        SetAttribute(node, name, value);
        return node;
    case XmlEvent::AttributesEnd:
        return node;
    case XmlEvent::ElementEnd:
        // The decline text is the content up to the first "</"; a "/>" tag has none.
        if (node->Kind() == kDecline && value)
            static_cast<ProfileRecord*>(node->payload)->declineText = m_declineText;
        return node;
    }
    return nullptr;
}

XmlNode* ProfileReader::StartElement(XmlNode* parent, const char* name) {
    uint32_t kind = kGenericElementKind;
    auto* record = parent ? static_cast<ProfileRecord*>(parent->payload) : nullptr;
    if (!parent && !Root()) {
        if (Is(name, "Profile")) {
            kind = kProfile;
            m_base.emplace();
            record = &*m_base;
        }
    } else if (parent) {
        for (const ChildRule& rule : kChildRules)
            if (parent->Kind() == rule.parent && Is(name, rule.name))
                kind = rule.kind;
    }
    if (kind == kSchedProfile) {
        record = &m_scheduled.emplace_back();
        record->initialRingLevel = 0;
    }
    XmlNode* node = CreateNode(parent, name, kind);
    if (node)
        node->payload = kind == kGenericElementKind ? nullptr : record;
    return node;
}

void ProfileReader::SetAttribute(XmlNode* node, const char* name, const char* value) {
    auto* record = static_cast<ProfileRecord*>(node->payload);
    if (!record)
        return;
    switch (node->Kind()) {
    case kProfile:
    case kSchedProfile:
        if (Is(name, "Name"))
            record->name = Text(value);
        break;
    case kVolume:
        if (Is(name, "System"))
            record->systemVolume = uint32_t(ParseNumber(value));
        break;
    case kRing:
        if (Is(name, "Vol"))
            record->ringVolume = uint32_t(ParseNumber(value));
        else if (Is(name, "InitVol"))
            record->initialRingLevel = int32_t(ParseNumber(value));
        else if (Is(name, "Sound"))
            record->ringTone = Text(value);
        else if (Is(name, "Script"))
            record->ringScript = Text(value);
        break;
    case kDecline:
        if (Is(name, "Mode"))
            record->declineMode =
                std::strcmp(value, "All") == 0 ? DeclineMode::AllCalls : DeclineMode::None;
        else if (Is(name, "Action"))
            record->declineAction = std::strcmp(value, "DeclineWithSMS") == 0
                                        ? DeclineAction::DeclineWithSms
                                    : std::strcmp(value, "Decline") == 0 ? DeclineAction::Decline
                                                                         : DeclineAction::None;
        break;
    case kActivation:
        SetActivation(*record, name, value);
        break;
    default:
        break;
    }
}

// "Time" is "h:m-h:m"; an end before the start runs past midnight, and an end of 24:00 is
// the midnight at the end of the day ("08:00-24:00"). Other times outside a day (and a
// start at 24:00: a period cannot begin at the end of its day) are refused and leave the
// record as it was, as a time with fewer than four numbers does.
void ProfileReader::SetActivation(ProfileRecord& record, const char* name, const char* value) {
    if (Is(name, "Time")) {
        int64_t startHour, startMinute, endHour, endMinute;
        const char* p = value;
        if (!ScanInt(p, startHour) || !Expect(p, ':') || !ScanInt(p, startMinute) ||
            !Expect(p, '-') || !ScanInt(p, endHour) || !Expect(p, ':') || !ScanInt(p, endMinute))
            return;
        bool endsAtMidnight = endHour == 24 && endMinute == 0;
        if (startHour < 0 || startHour > 23 || endHour < 0 || (endHour > 23 && !endsAtMidnight))
            return;
        for (int64_t minute : {startMinute, endMinute})
            if (minute < 0 || minute > 59)
                return;
        record.start = int32_t(startHour * 3600 + startMinute * 60);
        record.end = int32_t((endHour * 60 + endMinute) * 60);
        if (record.end < record.start)
            record.end += kSecondsPerDay;
        return;
    }
    for (uint32_t day = 0; day < 7; ++day) {
        if (!Is(name, kDayNames[day]))
            continue;
        if (ParseNumber(value) > 0)
            record.dayMask |= 1u << day;
    }
}

} // namespace common
