#include "files/Wildcard.h"

#include "kernel/Utf.h"

namespace platform {

bool MatchWildcard(std::u16string_view pattern, std::u16string_view name) {
    if (pattern == u"*.*")
        return true;
    // Iterative matching with one backtrack point: linear in practice, no recursion.
    size_t p = 0, n = 0;
    size_t starPattern = std::u16string_view::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == u'?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (starPattern != std::u16string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

} // namespace platform
