#include "common/ProfileWriter.h"

#include "common/TextCodec.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace common {

namespace {

void Append(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

void Append(std::string& out, const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    int length = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (length > 0)
        out.append(line, std::min(size_t(length), sizeof line - 1));
}

void AppendBody(std::string& out, const ProfileRecord& profile) {
    out += "\t<Call>\r\n";
    Append(out, "\t\t<Ring Vol=\"0x%X\" InitVol=\"%d\"", unsigned(profile.ringVolume),
           int(profile.initialRingLevel));
    if (profile.ringTone)
        out += " Sound=\"" + WideToUtf8(*profile.ringTone) + "\"";
    if (profile.ringScript)
        out += " Script=\"" + WideToUtf8(*profile.ringScript) + "\"";
    out += "/>\r\n";
    if (profile.declineAction != DeclineAction::None) {
        const char* action =
            profile.declineAction == DeclineAction::DeclineWithSms ? "DeclineWithSMS" : "Decline";
        Append(out, "\t\t<Decline mode=\"All\" action=\"%s\"", action);
        if (profile.declineText.empty())
            out += "/>\r\n";
        else
            out += ">" + WideToUtf8(profile.declineText) + "</Decline>\r\n";
    }
    out += "\t</Call>\r\n";
    Append(out, "\t<Volume System=\"0x%X\"/>\r\n", unsigned(profile.systemVolume));
}

void AppendScheduled(std::string& out, const ProfileRecord& profile) {
    out += "\t<SchedProfile Name=\"" + WideToUtf8(profile.name) + "\">\r\n";
    Append(out, "\t<Activation Time=\"%02d:%02d-%02d:%02d\"", int(profile.start / 3600),
           int(profile.start / 60 % 60), int(profile.end / 3600 % 24), int(profile.end / 60 % 60));
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    for (int day = 0; day < 7; ++day)
        Append(out, " %s=\"%d\"", kDays[day], int((profile.dayMask >> day) & 1));
    out += "/>\r\n";
    AppendBody(out, profile);
    out += "\t</SchedProfile>\r\n";
}

} // namespace

std::string FormatProfileFile(const ProfileRecord& base,
                              const std::vector<ProfileRecord>& scheduled) {
    std::string out = "<Profile name=\"" + WideToUtf8(base.name) + "\">\r\n";
    AppendBody(out, base);
    for (const ProfileRecord& profile : scheduled)
        AppendScheduled(out, profile);
    out += "</Profile>\r\n";
    return out;
}

} // namespace common
