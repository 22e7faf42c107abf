#include "common/BufferedStream.h"
#include "common/MemoryStream.h"
#include "common/Stream.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

using namespace common;

namespace {

struct SeekCase {
    LONG start;
    LONG offset;
    int origin;
    LONG expected;
};

// Ten bytes: origin 2 counts back from the end, every result is clamped to the block.
const SeekCase kSeekCases[] = {
    {0, 3, kSeekEnd, 7},      {0, 20, kSeekBegin, 10},    {0, -5, kSeekBegin, 0},
    {7, 4, kSeekCurrent, 10}, {7, -9, kSeekCurrent, 0},   {7, -2, kSeekCurrent, 5},
    {4, 0, kSeekEnd, 10},     {4, -3, kSeekEnd, 10},      {4, 11, kSeekEnd, 0},
    {4, 5, 9, 0},             {4, 0x7FFFFFFF, kSeekCurrent, 10},
};

TEST(MemoryStream, SeekFollowsTheOriginRulesAndClampsToTheBlock) {
    std::array<BYTE, 10> block{};
    for (const SeekCase& c : kSeekCases) {
        MemoryStream stream(block.data(), 10);
        stream.Seek(c.start, kSeekBegin);
        EXPECT_EQ(stream.Seek(c.offset, c.origin), c.expected)
            << c.start << " " << c.offset << " " << c.origin;
        EXPECT_EQ(stream.Tell(), c.expected);
    }
}

TEST(MemoryStream, ReadsStopAtTheEndOfTheBlock) {
    std::array<BYTE, 10> block{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    MemoryStream stream(block.data(), 10);
    BYTE buffer[16] = {};
    EXPECT_EQ(stream.Read(buffer, 0), 0);
    EXPECT_EQ(stream.Read(buffer, -4), 0);
    stream.Seek(3, kSeekEnd);
    EXPECT_EQ(stream.Read(buffer, 16), 3);
    EXPECT_EQ(buffer[0], 7);
    stream.Seek(20, kSeekBegin);
    EXPECT_TRUE(stream.AtEnd());
    EXPECT_EQ(stream.Read(buffer, 1), 0);
    EXPECT_EQ(stream.Size(), 10);
}

TEST(MemoryStream, WritingMovesTheHighWaterMarkButNeverGrowsTheBlock) {
    std::array<BYTE, 10> block{};
    MemoryStream stream(block.data(), 10);
    const BYTE data[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_EQ(stream.Write(data, 4), 4);
    EXPECT_EQ(stream.Size(), 4);
    EXPECT_TRUE(stream.AtEnd());
    stream.Seek(8, kSeekBegin);
    EXPECT_EQ(stream.Write(data, 12), 2);
    EXPECT_EQ(stream.Size(), 10);
    stream.Seek(1, kSeekBegin);
    EXPECT_EQ(stream.Write(data, 1), 1);
    EXPECT_EQ(stream.Size(), 2); // the mark follows the last write, not the furthest one
    EXPECT_EQ(block[9], 2);
}

TEST(StreamOpening, TheValidityCheckReleasesUnusableStreams) {
    Stream* stream = reinterpret_cast<Stream*>(1);
    EXPECT_EQ(OpenMemoryStream(nullptr, 10, &stream), -1);
    EXPECT_EQ(stream, nullptr);

    static int released = 0;
    struct Unusable : MemoryStream {
        using MemoryStream::MemoryStream;
        HANDLE Handle() override { return INVALID_HANDLE_VALUE; }
        ~Unusable() override { ++released; }
    };
    BYTE byte = 0;
    EXPECT_EQ(CheckStream(new Unusable(&byte, 1), &stream), -1);
    EXPECT_EQ(released, 1);

    ASSERT_EQ(OpenMemoryStream(&byte, 1, &stream), 0);
    EXPECT_EQ(stream->Handle(), &byte);
    stream->Release();
}

// The buffered stream must answer every operation as its inner stream does. Each run
// drives a plain memory stream and a buffered one over an identical block with the same
// random operations and compares every answer and the blocks at the end.
struct BufferShape {
    LONG bufferSize;
    LONG directReadSize;
    bool prefetch;
};

class BufferedStreamEquivalence : public ::testing::TestWithParam<BufferShape> {};

TEST_P(BufferedStreamEquivalence, AnswersAsTheInnerStreamDoes) {
    const BufferShape shape = GetParam();
    std::mt19937 random(1234 + shape.bufferSize);
    constexpr LONG kSize = 5000;
    std::vector<BYTE> plainBlock(kSize), bufferedBlock(kSize);
    for (LONG i = 0; i < kSize; ++i)
        plainBlock[i] = bufferedBlock[i] = BYTE(random());

    MemoryStream plain(plainBlock.data(), kSize);
    BufferedStream buffered(StreamPtr(new MemoryStream(bufferedBlock.data(), kSize)),
                            shape.bufferSize, shape.directReadSize, shape.prefetch);
    ASSERT_EQ(buffered.Handle(), bufferedBlock.data());

    std::vector<BYTE> a(kSize + 100), b(kSize + 100);
    for (int step = 0; step < 4000; ++step) {
        int operation = int(random() % 10);
        if (operation < 5) {
            LONG count = LONG(random() % 700) - 10;
            LONG readA = plain.Read(a.data(), count);
            LONG readB = buffered.Read(b.data(), count);
            ASSERT_EQ(readA, readB) << "step " << step;
            ASSERT_TRUE(std::equal(a.begin(), a.begin() + std::max<LONG>(readA, 0), b.begin()));
        } else if (operation < 8) {
            LONG offset = LONG(random() % 6000) - 500;
            int origin = int(random() % 4);
            ASSERT_EQ(plain.Seek(offset, origin), buffered.Seek(offset, origin)) << "step " << step;
        } else if (operation == 8) {
            LONG count = LONG(random() % 50);
            std::vector<BYTE> data(static_cast<size_t>(count), static_cast<BYTE>(step));
            ASSERT_EQ(plain.Write(data.data(), count), buffered.Write(data.data(), count));
        }
        ASSERT_EQ(plain.Tell(), buffered.Tell()) << "step " << step;
        ASSERT_EQ(plain.Size(), buffered.Size());
        ASSERT_EQ(plain.AtEnd(), buffered.AtEnd());
    }
    EXPECT_EQ(plainBlock, bufferedBlock);
}

INSTANTIATE_TEST_SUITE_P(Shapes, BufferedStreamEquivalence,
                         ::testing::Values(BufferShape{1, 0, false}, BufferShape{7, 0, true},
                                           BufferShape{64, 16, false}, BufferShape{512, 0, true},
                                           BufferShape{32768, 0, false},
                                           BufferShape{100, 1, true}),
                         [](const ::testing::TestParamInfo<BufferShape>& info) {
                             const BufferShape& s = info.param;
                             return "Buffer" + std::to_string(s.bufferSize) + "Direct" +
                                    std::to_string(s.directReadSize) +
                                    (s.prefetch ? "Prefetch" : "");
                         });

} // namespace
