// Golden-image comparison: a rendered surface against a stored PNG of
// tests/fixtures/golden. DIALORA_UPDATE_GOLDEN=1 rewrites the PNG instead.
#pragma once

#include "gdi/Surface.h"

#include <filesystem>

namespace testsupport {

// tests/fixtures/golden of the source tree.
std::filesystem::path GoldenFolder();
// Pixels may differ by `tolerance` per channel (anti-aliased text), and up to `allowed`
// pixels may differ by more.
void ExpectMatchesGolden(const platform::Surface& surface, const char* name, int tolerance = 0, int allowed = 0);

} // namespace testsupport
