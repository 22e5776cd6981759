// A list's copy of a file's records: read over several holds of the lock,
// kept records moved together, the count read as the scans read it.

#include "FileSetTest.h"
#include "storage/files/RecordBytes.h"
#include "storage/records/ByteCodec.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {
constexpr std::size_t kHeader = 12, kRecord = 220;
}

TEST_F(FileSetTest, RecordBytesHoldTheCountedRecordsThatAreKept)
{
    const std::string path = dir.file("records.pdb");
    const long long perHold = static_cast<long long>(kHoldBytes / kRecord);
    const long long whole = 2 * perHold + perHold / 2;  // three holds, the last one short
    std::vector<std::uint8_t> file(kHeader + kRecord * static_cast<std::size_t>(whole) + 100);  // and a torn record
    for (long long i = 0; i < whole; ++i)
        codec::putI32(file.data(), kHeader + kRecord * static_cast<std::size_t>(i) + 4, static_cast<std::int32_t>(i));
    const auto indexes = [](const RecordBytes& bytes) {
        std::vector<long long> out;
        for (std::size_t at = 0; at < bytes.size(); at += kRecord)
            out.push_back(codec::getI32(bytes.data(), at + 4));
        return out;
    };
    const std::function<bool(const std::uint8_t*)> everyThird = [](const std::uint8_t* rec) {
        return codec::getI32(rec, 4) % 3 == 1;
    };
    const struct {
        std::int32_t count;
        bool thirds;
        long long listed;  // records read: 0 .. listed-1
    } cases[] = {{static_cast<std::int32_t>(whole), false, whole}, {static_cast<std::int32_t>(whole), true, whole},
                 {static_cast<std::int32_t>(perHold + 1), true, perHold + 1}, {1 << 30, false, whole},
                 {-5, true, whole}, {0, false, 0}};
    for (const auto& c : cases) {
        codec::putI32(file.data(), 0, c.count);
        writeBytes(path, file);
        RecordBytes bytes;
        ASSERT_EQ(ReadRecordBytes(path, {kHeader, kRecord}, bytes, c.thirds ? everyThird : std::function<bool(const std::uint8_t*)>{}), FileCause::None);
        std::vector<long long> want;
        for (long long i = 0; i < c.listed; ++i)
            if (!c.thirds || i % 3 == 1)
                want.push_back(i);
        EXPECT_EQ(indexes(bytes), want) << c.count << (c.thirds ? " every third" : "");
    }
    RecordBytes none;
    EXPECT_EQ(ReadRecordBytes(dir.file("absent.pdb"), {kHeader, kRecord}, none), FileCause::NotFound);
    EXPECT_TRUE(none.empty());
}
