// Reads the profile file "CustomProfile.xml": the base profile and the scheduled
// profiles. Element and attribute names are compared without regard to case; unknown
// elements are skipped with everything inside them.
#pragma once

#include "common/ProfileRecord.h"
#include "common/XmlReaderFor.h"

#include <deque>

namespace common {

class ProfileReader final : public XmlReaderFor<ProfileReader> {
public:
    // Texts keep at most this many UTF-16 characters.
    static constexpr size_t kMaxTextLength = 259;

    // False when the text cannot be read or its first element is not "Profile"; `result`
    // then has no base profile and no scheduled ones.
    bool Read(Stream& stream, ProfileSet& result);

    XmlNode* OnEvent(XmlNode* node, XmlEvent event, const char* name,
                     const char* value) override;

    // "0x" followed by hexadecimal digits, else an optionally negative decimal integer
    // (leading digits; none gives 0). Clamped to the range of 32 bits, signed or not.
    static int64_t ParseNumber(const char* value);

private:
    XmlNode* StartElement(XmlNode* parent, const char* name);
    void SetAttribute(XmlNode* node, const char* name, const char* value);
    void SetActivation(ProfileRecord& record, const char* name, const char* value);

    std::optional<ProfileRecord> m_base;
    std::deque<ProfileRecord> m_scheduled; // file order; stable addresses for node payloads
    // The text of the decline element being read, taken at its start tag: by its end tag
    // the parse has written terminators into any tags inside it.
    std::u16string m_declineText;
};

} // namespace common
