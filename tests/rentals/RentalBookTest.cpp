#include "RentalRecords.h"
#include "rentals/RentalBook.h"
#include "support/DataFolder.h"

#include <cstdio>
#include <tuple>

namespace {

RentalRecord rec(float qty, std::int32_t sale, std::uint16_t customer, const std::string& item = "SAW")
{
    return rentalRecord(qty, sale, customer, item);
}
const OleDate kWhen = OleDate::fromCalendar(2026, 12, 7, 10, 0);

// Rows as (sale, quantity) pairs.
std::vector<std::pair<std::int32_t, float>> listed(const std::vector<RentalRow>& rows)
{
    std::vector<std::pair<std::int32_t, float>> out;
    for (const RentalRow& r : rows)
        out.emplace_back(r.saleNumber, r.quantity);
    return out;
}

TEST(RentalLedger, OutstandingRentalsNetTheirOwnReturnsOnly)
{
    struct Case {
        const char* what;
        std::vector<RentalRecord> records;
        std::string filter;
        std::vector<std::pair<std::int32_t, float>> out;
    };
    const Case cases[] = {
        {"partial return", {rec(3, 1, 7), rec(-1, 1, 7)}, "", {{1, 2}}},
        {"whole return in two", {rec(3, 1, 7), rec(-1, 1, 7), rec(-2, 1, 7, "saw")}, "", {}},
        {"two rentals, the second returned", {rec(1, 4, 7), rec(1, 5, 7), rec(-1, 5, 7)}, "", {{4, 1}}},
        {"walk-in returns match walk-in rentals only", {rec(2, 1, 0), rec(2, 2, 7), rec(-2, 1, 0)}, "", {{2, 2}}},
        {"tenths net to nothing", {rec(0.3f, 1, 7), rec(-0.1f, 1, 7), rec(-0.1f, 1, 7), rec(-0.1f, 1, 7)}, "", {}},
        {"an edited sale's records are returned in turn", {rec(2, 3, 7), rec(1, 3, 7), rec(-2.5f, 3, 7)}, "",
         {{3, 0.5f}}},
        {"filter ignores case", {rec(1, 1, 7, "DRILL"), rec(2, 2, 7, "Saw"), rec(-1, 2, 7)}, "saw", {{2, 1}}},
        {"returns and empty records are not listed", {rec(0, 1, 7), rec(-1, 2, 7)}, "", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(listed(ListOutstandingRentals(c.records, c.filter)), c.out) << c.what;
}

struct RentalBookTest : DataFolder {
    void TearDown() override { FileFaults::disarm(); }
    std::vector<RentalRecord> stored()
    {
        std::vector<RentalRecord> records;
        EXPECT_TRUE(ReadRentalRecords(local, records));
        return records;
    }
    std::vector<RentalRow> outstanding() { return ListOutstandingRentals(stored(), ""); }
};

TEST_F(RentalBookTest, DeleteFindsTheShownRecordAndFailuresChangeNothing)
{
    const std::vector<RentalRecord> before = {rec(2, 1, 7), rec(1, 2, 7, "DRILL"), rec(-1, 1, 7), rec(4, 3, 8, "AXE")};
    appendRentals(local.GetPath("Rentals"), before);
    EXPECT_EQ(DeleteRentalRecord(local, outstanding().at(0)), ChangeResult::NotFound);  // shows 1, holds 2
    EXPECT_EQ(stored().size(), 4u);

    // Operation n fails, once and from then on, until the change goes through.
    for (bool once : {true, false})
        for (bool isReturn : {true, false}) {
            bool done = false;
            long n = 1;
            for (; !done && n < 200; ++n) {
                const RentalRow drill = outstanding().at(1);
                FileFaults::arm(n, FileFaults::Action::Fail, once);
                done = isReturn ? BookRentalReturn(local, drill, 1, kWhen).kind == ReturnOutcome::Kind::Booked
                                : DeleteRentalRecord(local, drill) == ChangeResult::Done;
                FileFaults::disarm();
                const std::vector<RentalRecord> now = stored();
                if (!done) {
                    ASSERT_EQ(now.size(), before.size()) << n;
                    for (std::size_t i = 0; i < now.size(); ++i)
                        EXPECT_EQ(now[i].itemNumber, before[i].itemNumber) << n;
                }
            }
            EXPECT_TRUE(done);
            EXPECT_GT(n, 4) << "every step of the change failed once";
            const std::vector<RentalRecord> after = stored();
            ASSERT_EQ(after.size(), isReturn ? 5u : 3u);
            if (isReturn) {
                const RentalRecord& r = after[4];
                EXPECT_EQ(std::tie(r.quantity, r.saleNumber, r.customerNumber, r.itemNumber, r.date),
                          std::make_tuple(-1.0f, 2, std::uint16_t{7}, std::string("DRILL"), kWhen));
            }
            EXPECT_EQ(after[1].itemNumber, isReturn ? "DRILL" : "AXE");  // the last record moved in
            std::remove(local.GetPath("Rentals").c_str());
            appendRentals(local.GetPath("Rentals"), before);
        }
}

}  // namespace
