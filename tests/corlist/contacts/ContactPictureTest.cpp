// Contact pictures: the stored JPEG decoded and fitted into a box, and the failure code
// for contacts without a picture, damaged bytes and SIM entries.
#include "ContactDevice.h"

#include "../image/ImageFixtures.h"
#include "corlist/contacts/ContactPicture.h"

using namespace contacttest;
using common::ContactRecord;
using corlist::Image;

namespace {

class ContactPictureTest : public ContactDevice {
protected:
    ContactRecord* WithPicture(const std::vector<uint8_t>& bytes) {
        CEOID oid = AddContact("FIRST_NAME=Pic" + std::to_string(++m_count));
        ContactRecord* record = Record(oid);
        if (record && !StorePicture(*record, bytes))
            return nullptr;
        return record;
    }
    int m_count = 0;
};

TEST_F(ContactPictureTest, FitsTheStoredPictureIntoTheBox) {
    struct Case {
        int width, height;   // the stored picture
        LONG boxW, boxH;     // the box asked for
        LONG outW, outH;     // the picture given
    };
    const Case cases[] = {
        {64, 48, 32, 32, 32, 24},   // wide: the width meets the box
        {48, 64, 32, 32, 24, 32},   // tall: the height meets the box
        {64, 48, 16, 100, 16, 12},  // a narrow box
        {64, 48, 200, 200, 64, 48}, // never enlarged
        {100, 30, 40, 40, 40, 12},
        {30, 100, 40, 40, 12, 40},
    };
    for (const Case& item : cases) {
        imagetest::JpegSpec spec;
        spec.width = item.width;
        spec.height = item.height;
        ContactRecord* record = WithPicture(imagetest::MakeJpeg(spec));
        ASSERT_NE(record, nullptr);
        Image image;
        ASSERT_EQ(corlist::LoadContactPicture(*m_core, *record, item.boxW, item.boxH, image), corlist::kImageOk)
            << item.width << "x" << item.height;
        EXPECT_EQ(image.Bitmap().Width(), item.outW) << item.width << "x" << item.height << " in " << item.boxW;
        EXPECT_EQ(image.Bitmap().Height(), item.outH) << item.width << "x" << item.height << " in " << item.boxW;
        EXPECT_EQ(image.Bitmap().BitsPerPixel(), 16);
    }
}

TEST_F(ContactPictureTest, KeepsThePictureColours) {
    imagetest::JpegSpec spec;
    ContactRecord* record = WithPicture(imagetest::MakeJpeg(spec));
    ASSERT_NE(record, nullptr);
    Image image;
    ASSERT_EQ(corlist::LoadContactPicture(*m_core, *record, 32, 32, image), corlist::kImageOk);
    // The pattern's red grows along x: the right edge is redder than the left one.
    imagetest::Rgb left = imagetest::PixelOf(image.Bitmap(), 0, 12);
    imagetest::Rgb right = imagetest::PixelOf(image.Bitmap(), 31, 12);
    EXPECT_GT(right.red, left.red + 100);
}

TEST_F(ContactPictureTest, FailsWithOneCodeForEveryMissingOrDamagedPicture) {
    CEOID plain = AddContact("FIRST_NAME=NoPicture");
    ContactRecord* none = Record(plain);
    ASSERT_NE(none, nullptr);
    imagetest::JpegSpec spec;
    imagetest::Bytes good = imagetest::MakeJpeg(spec);
    imagetest::Bytes truncated(good.begin(), good.begin() + 40);
    imagetest::Bytes garbage = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 1, 2, 3, 4, 5};
    ContactRecord* cut = WithPicture(truncated);
    ContactRecord* bad = WithPicture(garbage);
    ContactRecord* sim = AddSimEntry(5, "Sim Pic", "5550111");
    ASSERT_NE(cut, nullptr);
    ASSERT_NE(bad, nullptr);
    ASSERT_NE(sim, nullptr);
    for (ContactRecord* record : {none, cut, bad, sim}) {
        Image image;
        EXPECT_EQ(corlist::LoadContactPicture(*m_core, *record, 32, 32, image), corlist::kImageOpenFailed)
            << corlist::kImageOpenFailed;
        EXPECT_TRUE(image.Bitmap().IsEmpty());
    }
    // A box without area is refused too.
    ContactRecord* fine = WithPicture(good);
    Image image;
    EXPECT_EQ(corlist::LoadContactPicture(*m_core, *fine, 0, 32, image), corlist::kImageOpenFailed);
}

} // namespace
