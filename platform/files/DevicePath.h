// The textual side of device paths: "\" (or "/") separated components, no drive
// letters, "." dropped and ".." applied by text. A path that would climb above the root
// is refused rather than clamped, so "..\..\etc" never names something by accident.
#pragma once

#include "ce/types.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class DevicePath {
public:
    // Longest device path accepted, in characters (MAX_PATH without the terminator).
    static constexpr size_t kMaxLength = MAX_PATH - 1;

    // Splits `path` into its components. A relative path counts from the root, as on the
    // device. Returns nullopt with `error` set: ERROR_BAD_PATHNAME when ".." climbs above
    // the root, ERROR_INVALID_NAME for a forbidden character (wildcards are allowed in
    // the last component only when `wildcardLast`), ERROR_FILENAME_EXCED_RANGE when too long.
    static std::optional<std::vector<std::u16string>> Split(std::u16string_view path, DWORD& error,
                                                            bool wildcardLast = false);
    // "\a\b"; the root is "\".
    static std::u16string Join(const std::vector<std::u16string>& components);
    // The last component of a path ("" for the root).
    static std::u16string_view FileName(std::u16string_view path);
    // Everything before the last separator ("\" for a name directly in the root).
    static std::u16string Folder(std::u16string_view path);
    // True when the last component holds a dot that starts an extension.
    static bool HasExtension(std::u16string_view path);
    static bool HasSeparator(std::u16string_view path);
    static bool HasWildcard(std::u16string_view text);
};

} // namespace platform
