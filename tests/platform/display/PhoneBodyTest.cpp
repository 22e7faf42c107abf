// The phone body around the screen: where the glass and the hardware keys lie at each
// screen size and scale, and which key a click hits.
#include "display/PhoneBody.h"

#include "ce/user.h"

#include <gtest/gtest.h>

#include <set>

using platform::PhoneBody;

namespace {

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(PhoneBody, KeysLieBelowTheScreenInsideTheBodyAndApart) {
    for (auto [width, height, scale] : {std::tuple{240, 320, 1}, std::tuple{320, 240, 1}, std::tuple{480, 640, 1},
                                        std::tuple{240, 320, 2}, std::tuple{800, 480, 1}, std::tuple{240, 240, 1}}) {
        PhoneBody body(width, height, scale);
        const RECT& glass = body.Screen();
        EXPECT_EQ(glass.right - glass.left, width * scale);
        EXPECT_EQ(glass.bottom - glass.top, height * scale);
        EXPECT_EQ(glass.left, body.WindowWidth() - glass.right); // centred
        std::set<BYTE> keys;
        for (size_t i = 0; i < body.Keys().size(); ++i) {
            const RECT& key = body.Keys()[i].rect;
            keys.insert(body.Keys()[i].vk);
            EXPECT_GE(key.top, glass.bottom) << width << "x" << height;
            EXPECT_GE(key.left, 0);
            EXPECT_LE(key.right, body.WindowWidth());
            EXPECT_LE(key.bottom, body.WindowHeight());
            EXPECT_GE(key.right - key.left, 30 * scale); // big enough for a finger
            for (size_t j = i + 1; j < body.Keys().size(); ++j)
                EXPECT_FALSE(Overlap(key, body.Keys()[j].rect)) << i << " and " << j;
        }
        EXPECT_EQ(keys, (std::set<BYTE>{VK_TSOFT1, VK_TSOFT2, VK_TTALK, VK_TEND, VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT,
                                        VK_TACTION, VK_TBACK}));
    }
}

TEST(PhoneBody, AClickFindsTheKeyUnderIt) {
    PhoneBody body(240, 320, 2);
    for (size_t i = 0; i < body.Keys().size(); ++i) {
        const RECT& key = body.Keys()[i].rect;
        EXPECT_EQ(body.KeyAt((key.left + key.right) / 2, (key.top + key.bottom) / 2), int(i));
        EXPECT_EQ(body.KeyAt(key.left, key.top), int(i));
        EXPECT_NE(body.KeyAt(key.right, key.bottom), int(i)); // the far edges are outside
    }
    const RECT& glass = body.Screen();
    EXPECT_EQ(body.KeyAt((glass.left + glass.right) / 2, (glass.top + glass.bottom) / 2), -1);
    EXPECT_EQ(body.KeyAt(0, 0), -1);
}

} // namespace
