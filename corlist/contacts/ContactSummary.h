// The contact as a short text ("Send Contact" puts it into a new message) and the
// clipboard copy of a text.
#pragma once

#include "ce/types.h"

#include <string>
#include <string_view>

namespace common {
class CoreObject;
struct ContactRecord;
} // namespace common

namespace corlist {

// The longest summary text, in UTF-16 units.
constexpr size_t kMaxSummaryText = 511;

// A SIM entry: its name, ":", then its number. A device contact: its file-as name with the
// company in parentheses, ":", then one line per present number ("M:" mobile, "W:" work
// and work 2, "H:" home and home 2) and per present e-mail address. Every line ends with a
// line feed. A text longer than kMaxSummaryText keeps the lines that fit whole (a number
// is never cut); a first line that alone is too long is cut between characters. Empty
// when the contact's item cannot be read.
std::u16string ContactSummaryText(common::CoreObject& core, common::ContactRecord& record);

// Cuts `lines` (each ending with a line feed) to at most `limit` units as described above.
std::u16string LimitLines(std::u16string_view lines, size_t limit);

// Opens the clipboard for `owner`, empties it and stores a copy of `text` as Unicode text.
bool CopyTextToClipboard(HWND owner, std::u16string_view text);

} // namespace corlist
