// File name patterns of FindFirstFileW: "*" any run of characters, "?" exactly one,
// compared without regard to case. "*.*" matches every name, also names without a dot.
#pragma once

#include <string_view>

namespace platform {

bool MatchWildcard(std::u16string_view pattern, std::u16string_view name);

} // namespace platform
