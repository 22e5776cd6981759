// The rental lists and the return and delete bookings on real rental files:
// netting per rental, the return's limits, and failures that change nothing.

#include "CLocalFile.h"
#include "DataFile.h"
#include "RentalBook.h"
#include "RentalFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

const OleDate kWhen = OleDate::fromCalendar(2026, 12, 7, 10, 0);

RentalRecord rec(float qty, std::int32_t sale, std::uint16_t customer, const std::string& item)
{
    RentalRecord r;
    r.quantity = qty;
    r.saleNumber = sale;
    r.customerNumber = customer;
    r.itemNumber = item;
    r.date = kWhen;
    return r;
}

struct Listed {
    std::int32_t sale;
    float qty;
    bool operator==(const Listed&) const = default;
};

std::vector<Listed> listed(const std::vector<RentalRow>& rows)
{
    std::vector<Listed> out;
    for (const RentalRow& r : rows)
        out.push_back({r.saleNumber, r.quantity});
    return out;
}

TEST(RentalLedger, OutstandingRentalsNetTheirOwnReturnsOnly)
{
    struct Case {
        const char* what;
        std::vector<RentalRecord> records;
        std::string filter;
        std::vector<Listed> out;
    };
    const Case cases[] = {
        {"partial return", {rec(3, 1, 7, "SAW"), rec(-1, 1, 7, "SAW")}, "", {{1, 2}}},
        {"whole return", {rec(3, 1, 7, "SAW"), rec(-1, 1, 7, "SAW"), rec(-2, 1, 7, "saw")}, "", {}},
        {"two rentals, one returned",
         {rec(1, 4, 7, "SAW"), rec(1, 5, 7, "SAW"), rec(-1, 5, 7, "SAW")}, "", {{4, 1}}},
        {"walk-in returns match walk-in rentals only",
         {rec(2, 1, 0, "SAW"), rec(2, 2, 7, "SAW"), rec(-2, 1, 0, "SAW")}, "", {{2, 2}}},
        {"another customer's return counts not", {rec(2, 1, 7, "SAW"), rec(-2, 1, 8, "SAW")}, "", {{1, 2}}},
        {"tenths net to nothing",
         {rec(0.3f, 1, 7, "SAW"), rec(-0.1f, 1, 7, "SAW"), rec(-0.1f, 1, 7, "SAW"), rec(-0.1f, 1, 7, "SAW")}, "", {}},
        {"an edited sale's second record is returned after the first",
         {rec(2, 3, 7, "SAW"), rec(1, 3, 7, "SAW"), rec(-2.5f, 3, 7, "SAW")}, "", {{3, 0.5f}}},
        {"filter ignores case and still nets unshown rentals",
         {rec(1, 1, 7, "DRILL"), rec(2, 2, 7, "Saw"), rec(-1, 2, 7, "SAW")}, "saw", {{2, 1}}},
        {"returns and empty records are never listed", {rec(0, 1, 7, "SAW"), rec(-1, 2, 7, "SAW")}, "", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(listed(ListOutstandingRentals(c.records, c.filter)), c.out) << c.what;

    const std::vector<RentalRecord> all = {rec(3, 1, 7, "SAW"), rec(1, 2, 7, "Drill"), rec(-1, 1, 7, "saw")};
    EXPECT_EQ(listed(ListAllRentals(all, "")), (std::vector<Listed>{{1, 3}, {2, 1}, {1, -1}}));
    EXPECT_EQ(listed(ListAllRentals(all, "SAW")), (std::vector<Listed>{{1, 3}, {1, -1}}));
}

struct RentalBookTest : ::testing::Test {
    TempDir dir;
    CLocalFile local{dir.path()};

    void SetUp() override { write({}); }
    void TearDown() override { FileFaults::disarm(); }
    void write(const std::vector<RentalRecord>& records)
    {
        Transaction tx;
        const std::string path = local.GetPath("Rentals");
        tx.add(path, OpenMode::OpenOrCreate);
        ASSERT_EQ(tx.begin(), FileCause::None);
        std::vector<RentalRecord> present;
        ASSERT_TRUE(ReadRentals(tx.file(path), present));
        for (const RentalRecord& r : records) {
            StageRentalAppend(tx, tx.file(path), present, r);
            present.push_back(r);
        }
        ASSERT_EQ(tx.commit(), FileCause::None);
    }
    std::vector<RentalRecord> stored()
    {
        std::vector<RentalRecord> records;
        EXPECT_TRUE(ReadRentalRecords(local, records));
        return records;
    }
    RentalRow outstanding(std::size_t i) { return ListOutstandingRentals(stored(), "").at(i); }
};

TEST_F(RentalBookTest, ReturnBooksTheAskedQuantityWithinWhatIsStillOut)
{
    write({rec(3, 1, 7, "SAW")});
    const RentalRow shown = outstanding(0);
    struct Case {
        float asked;
        ReturnOutcome::Kind kind;
        float left;  // outstanding afterwards
    };
    const Case cases[] = {
        {0, ReturnOutcome::Kind::OutOfRange, 3},     {-1, ReturnOutcome::Kind::OutOfRange, 3},
        {3.01f, ReturnOutcome::Kind::OutOfRange, 3}, {1, ReturnOutcome::Kind::Booked, 2},
        // The row still shows 3, but another return was booked meanwhile.
        {2.5f, ReturnOutcome::Kind::OutOfRange, 2},  {2, ReturnOutcome::Kind::Booked, 0},
    };
    for (const Case& c : cases) {
        const ReturnOutcome got = BookRentalReturn(local, shown, c.asked, kWhen);
        EXPECT_EQ(got.kind, c.kind) << c.asked;
        const auto rows = ListOutstandingRentals(stored(), "");
        EXPECT_FLOAT_EQ(rows.empty() ? 0 : rows[0].quantity, c.left) << c.asked;
        if (got.kind == ReturnOutcome::Kind::OutOfRange) {
            EXPECT_FLOAT_EQ(got.outstanding, std::min(3.0f, rows.empty() ? 0 : rows[0].quantity));
        }
    }
    const std::vector<RentalRecord> after = stored();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_FLOAT_EQ(after[1].quantity, -1);
    EXPECT_EQ(after[1].saleNumber, 1);
    EXPECT_EQ(after[1].customerNumber, 7);
    EXPECT_EQ(after[1].itemNumber, "SAW");
    EXPECT_EQ(after[1].date, kWhen);
}

TEST_F(RentalBookTest, DeleteMovesTheLastRecordIntoTheFoundOne)
{
    write({rec(2, 1, 7, "SAW"), rec(1, 2, 7, "DRILL"), rec(-1, 1, 7, "SAW"), rec(4, 3, 8, "AXE")});
    RentalRow partly = outstanding(0);  // shows 1: no record holds that
    EXPECT_EQ(DeleteRentalRecord(local, partly), ChangeResult::NotFound);
    EXPECT_EQ(stored().size(), 4u);

    RentalRow drill = outstanding(1);
    drill.itemNumber = "drill";
    EXPECT_EQ(DeleteRentalRecord(local, drill), ChangeResult::Done);
    const std::vector<RentalRecord> after = stored();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[1].itemNumber, "AXE");
    EXPECT_EQ(after[2].quantity, -1);
    EXPECT_EQ(fileSize(local.GetPath("Rentals")), 8 + 4 * 48);  // the file keeps its length
}

TEST_F(RentalBookTest, FailedChangesLeaveTheFileAsItWas)
{
    write({rec(2, 1, 7, "SAW"), rec(1, 2, 7, "DRILL"), rec(4, 3, 8, "AXE")});
    const std::vector<RentalRecord> before = stored();
    auto same = [&](const std::vector<RentalRecord>& a) {
        if (a.size() != before.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (a[i].quantity != before[i].quantity || a[i].itemNumber != before[i].itemNumber)
                return false;
        return true;
    };
    // Operation n fails, once and from then on, until the change goes through.
    for (bool once : {true, false}) {
        for (int op : {0, 1}) {
            bool done = false;
            long n = 1;
            for (; !done && n < 200; ++n) {
                const RentalRow row = ListOutstandingRentals(before, "").at(0);
                FileFaults::arm(n, FileFaults::Action::Fail, once);
                done = op == 0 ? BookRentalReturn(local, row, 1, kWhen).kind == ReturnOutcome::Kind::Booked
                               : DeleteRentalRecord(local, row) == ChangeResult::Done;
                FileFaults::disarm();
                const std::vector<RentalRecord> now = stored();
                if (!done) {
                    EXPECT_TRUE(same(now)) << "op " << op << " failing at " << n;
                    continue;
                }
                EXPECT_EQ(now.size(), op == 0 ? 4u : 2u) << n;
                std::remove(local.GetPath("Rentals").c_str());  // back to the records before
                write(before);
            }
            EXPECT_TRUE(done);
            EXPECT_GT(n, 4) << "every step of the change was failed once";
        }
    }
}

}  // namespace
