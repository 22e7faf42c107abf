// The language files shipped with the main program: every translation parses, holds
// only strings the program has, and keeps the printf conversions of the English text.
#include "common/Language.h"
#include "resource/MuiFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(ShippedLanguageFiles, GermanTranslationMatchesTheBuiltInStrings) {
    auto german = platform::MuiFile::Parse(
        ReadAll(std::filesystem::path(DIALORA_IMAGE_DIR) / "Corvane.0407.mui"));
    ASSERT_TRUE(german) << "Corvane.0407.mui is missing or damaged";
    EXPECT_EQ(german->at(201), u"Favoriten");
    EXPECT_EQ(german->at(204), u"Unbekannt");
    for (const auto& [id, text] : *german) {
        EXPECT_GE(id, 201u);
        EXPECT_LE(id, 204u);
        EXPECT_FALSE(text.empty()) << id;
    }
}

} // namespace
