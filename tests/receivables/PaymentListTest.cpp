#include "../storage/RecordingPrompt.h"
#include "receivables/PaidRule.h"
#include "receivables/PaymentActivity.h"
#include "receivables/PaymentList.h"
#include "sale/PaymentHistory.h"
#include "sale/SaleTotals.h"
#include "storage/files/InvoiceFile.h"
#include "support/DataFolder.h"
#include "support/StoredRecords.h"

#include <cmath>
#include <filesystem>
#include <tuple>

namespace {

struct ScriptedPrompt : PaymentPrompt {
    std::vector<std::string> told, asked;
    bool ok = true;
    void tell(const std::string& text) override { told.push_back(text); }
    bool askOkCancel(const std::string& text) override { return asked.push_back(text), ok; }
};

EnteredPayment entered(const std::string& type, const std::string& amount)
{
    EnteredPayment e;
    e.payType = type, e.amountText = amount;
    e.date = OleDate::fromCalendar(2026, 12, 7, 10, 0);
    return e;
}

struct PaymentListTest : DataFolder {
    RecordingPrompt storage;
    ScriptedPrompt prompt;
};

TEST_F(PaymentListTest, SplitAndDepositCloseOnBalancesCountedInCents)
{
    using Close = PaymentList::Close;
    struct Case {
        PaymentList::Kind kind;
        double total;
        std::vector<const char*> amounts;
        bool answerOk;
        Close expected;
        const char* message;  // told or asked; empty for none
    } cases[] = {
        {PaymentList::Kind::Split, 100, {"60", "40"}, true, Close::Accept, ""},
        {PaymentList::Kind::Split, 10.28, {"3.42", "3.42", "3.44"}, true, Close::Accept, ""},
        {PaymentList::Kind::Split, 100, {"60"}, true, Close::Stay, "The balance is not paid off."},
        {PaymentList::Kind::Split, 100, {"60"}, false, Close::Reject, "The balance is not paid off."},
        {PaymentList::Kind::Deposit, 100, {"0.01"}, true, Close::Accept, ""},
        {PaymentList::Kind::Deposit, 100, {}, true, Close::Stay, "No payment was made."},
        {PaymentList::Kind::Deposit, 100, {}, false, Close::Reject, "No payment was made."},
    };
    for (const Case& c : cases) {
        const bool split = c.kind == PaymentList::Kind::Split;
        const int sale =
            storeSale(local, SaleSpec().total(static_cast<float>(c.total)).payType(split ? "Split" : "Deposit"));
        SCOPED_TRACE(sale);
        ScriptedPrompt p;
        p.ok = c.answerOk;
        PaymentList list(local, p, sale, c.kind, "Ann");
        list.SetTotal(c.total);
        ASSERT_TRUE(list.Refresh());
        for (const char* amount : c.amounts) {
            ASSERT_TRUE(list.MayAdd());
            ASSERT_TRUE(list.Add(entered("Cash", amount)));
        }
        EXPECT_EQ(list.payments().size(), c.amounts.size());
        EXPECT_EQ(split ? list.CloseSplit() : list.CloseDeposit(), c.expected);
        const auto& said = p.asked.empty() ? p.told : p.asked;
        if (*c.message)
            EXPECT_TRUE(said.size() == 1 && said[0].find(c.message) == 0) << (said.empty() ? "" : said[0]);
        else
            EXPECT_TRUE(said.empty()) << said[0];
    }
}

TEST_F(PaymentListTest, MoreThanTheBalanceIsCutToItAndNothingIsTakenOnAPaidSale)
{
    const int n = storeSale(local, SaleSpec().total(100).payType("Split"));
    PaymentList list(local, prompt, n, PaymentList::Kind::Split, "Ann");
    list.SetTotal(100);
    ASSERT_TRUE(list.Refresh());
    ASSERT_TRUE(list.Add(entered("Visa", "150")));
    EXPECT_EQ(prompt.told, (std::vector<std::string>{
                               "Overpayment not allowed.\n\nOnly the amount due was applied to this Invoice.\n",
                               "Change amount: 50.00"}));
    ASSERT_EQ(list.payments().size(), 1u);
    const PaymentRecord& p = list.payments()[0];
    EXPECT_EQ(std::tie(p.amount, p.kind, p.cashier, p.invoiceNumber),
              std::make_tuple(100.0f, PaymentRecord::kSplitPart, "Ann", n));
    prompt.told.clear();
    EXPECT_FALSE(list.MayAdd());
    EXPECT_EQ(prompt.told, std::vector<std::string>{"Overpayment not allowed.\n"});

    // An edit is not checked: the balance goes below 0 and the split cannot close.
    EnteredPayment more = EnteredOf(p);
    more.amountText = "120", more.payType = "Check";
    ASSERT_TRUE(list.Edit(p.paymentId, more));
    EXPECT_EQ(list.balance(), -20);
    EXPECT_EQ(list.CloseSplit(), PaymentList::Close::Stay);
    EXPECT_EQ(prompt.told.back(), "Over Payment.");
    EXPECT_EQ(storedSale(local, n).paid, 1);
    more.amountText = "99.99";  // lowered by an edit: the stored sale owes again
    ASSERT_TRUE(list.Edit(p.paymentId, more));
    EXPECT_EQ(storedSale(local, n).paid, 0);
    EXPECT_FALSE(list.Edit(99, more)) << "no payment has that id";
}

TEST_F(PaymentListTest, UnreadablePaymentsAreAFailureNeverNoPayments)
{
    std::filesystem::create_directory(local.GetPath("Payments"));
    PaymentList list(local, prompt, 0, PaymentList::Kind::Deposit, "Ann");
    list.SetTotal(50);
    EXPECT_FALSE(list.Refresh());
    EXPECT_FALSE(list.known());
    EXPECT_FALSE(list.MayAdd());
    EXPECT_EQ(list.CloseDeposit(), PaymentList::Close::Stay) << "it must not ask as if nothing was paid";
    EXPECT_TRUE(prompt.asked.empty());
    for (const std::string& text : prompt.told)
        EXPECT_EQ(text, "Error opening Payment file.");
    std::vector<PaymentRecord> none;
    EXPECT_NE(ReadPayments(local, 0, 0, none), 0);
    InvoiceRecord sale;
    sale.total = 50;
    EXPECT_EQ(PaymentHistoryText(local, sale), "Payments:\r\nError opening Payment file.\r\n");
}

}  // namespace

// Totals between 65,536 and 131,072 paid in three parts whose float sum is off
// by a cent: paid exactly they close and count as paid, one cent short they do not.
TEST_F(PaymentListTest, LargeBalancesAreExactToTheCent)
{
    std::uint32_t seed = 12345;
    const auto next = [&seed](std::uint32_t range) { return (seed = seed * 1103515245u + 12345u) / 65536u % range; };
    const auto asFloat = [](long long cents) { return static_cast<float>(static_cast<double>(cents) / 100); };
    for (int found = 0; found < 6;) {
        const long long totalCents = 6553600 + next(6553600);
        const long long first = 100 + next(static_cast<std::uint32_t>(totalCents / 3));
        const long long second = 100 + next(static_cast<std::uint32_t>(totalCents / 3));
        const float floatSum = asFloat(first) + asFloat(second) + asFloat(totalCents - first - second);
        if (std::llround(static_cast<double>(floatSum) * 100) == totalCents)
            continue;
        ++found;
        for (const long long shortBy : {0, 1}) {
            const long long parts[] = {first, second, totalCents - first - second - shortBy};
            const float total = asFloat(totalCents);
            SCOPED_TRACE(std::to_string(totalCents) + " short by " + std::to_string(shortBy));
            const int split = storeSale(local, SaleSpec().total(total).payType("Split"));
            const int terms = storeSale(local, SaleSpec().total(total).payType("Terms"));
            ScriptedPrompt p;
            p.ok = false;
            PaymentList list(local, p, split, PaymentList::Kind::Split, "Ann");
            list.SetTotal(total);
            ASSERT_TRUE(list.Refresh());
            for (const long long cents : parts) {
                ASSERT_TRUE(list.Add(entered("Cash", FixedText(static_cast<double>(cents) / 100, 2))));
                PaymentRecord onAccount;
                onAccount.amount = asFloat(cents);
                onAccount.invoiceNumber = terms;
                ASSERT_GE(AppendPaymentToSale(local, onAccount), 0);
            }
            EXPECT_EQ(list.CloseSplit(), shortBy ? PaymentList::Close::Reject : PaymentList::Close::Accept);
            EXPECT_EQ(p.told, std::vector<std::string>{});
            EXPECT_EQ(storedSale(local, terms).paid, shortBy ? 0 : 1);
        }
    }
}

// The rows of List All Payments: the payments a pass listed, each read back
// from the file when drawn, whichever page of the file it lies on.
TEST(PaymentRows, RowsReadBackInAnyOrderShowTheListedPayments)
{
    TempDir dir;
    const CLocalFile local(dir.path());
    constexpr int kPayments = 700;  // pages of 256 records: the rows span three
    PaymentFileHeader header;
    header.count = header.nextId = kPayments;
    std::vector<std::uint8_t> file(PaymentFileHeader::kSize + PaymentRecord::kSize * kPayments);
    header.encode(file.data());
    for (int i = 0; i < kPayments; ++i) {
        PaymentRecord p;
        p.kind = i % 4 == 3 ? PaymentRecord::kSplitPart : PaymentRecord::kOnAccount;
        p.invoiceNumber = i % 5;
        p.paymentId = 1000 + i;
        p.encode(file.data() + PaymentOffset(i));
    }
    writeBytes(local.GetPath("Payments"), file);

    for (const int sale : {-1, 3}) {
        std::vector<std::string> want;
        for (int i = 0; i < kPayments; ++i)
            if (i % 4 != 3 && (sale < 0 || i % 5 == sale))
                want.push_back(std::to_string(1000 + i));
        PaymentRows rows;
        ASSERT_TRUE(rows.list(local, sale));
        ASSERT_EQ(rows.size(), want.size());
        // Last row first, then from the top, then every row backwards: pages come and go.
        std::vector<std::size_t> order{want.size() - 1};
        for (std::size_t r = 0; r < want.size(); ++r)
            order.push_back(r);
        for (std::size_t r = want.size(); r-- > 0;)
            order.push_back(r);
        for (const std::size_t r : order)
            ASSERT_EQ(rows.cell(r, 7), want[r]) << "sale " << sale << " row " << r;
        EXPECT_EQ(rows.cell(0, 0), sale < 0 ? "0" : "3");
    }
    PaymentRows none;
    EXPECT_TRUE(none.list(CLocalFile(dir.path() + "empty/"), -1));
    EXPECT_EQ(none.size(), 0u);
}
