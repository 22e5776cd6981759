#include "FileSetTest.h"
#include "LayoutCheck.h"
#include "receivables/PaidRule.h"
#include "storage/files/PaymentFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {
PaymentRecord payment(std::int32_t invoice, float amount, std::int32_t id = 0)
{
    PaymentRecord p;
    std::tie(p.invoiceNumber, p.amount, p.paymentId, p.payType) = std::tuple{invoice, amount, id, "Check"};
    return p;
}

struct PaymentFile : FileSetTest {
    const std::string path = local.GetPath("Payments");
    float paidOn(std::int32_t invoice) { return static_cast<float>(SumPaymentCentsForSale(local, invoice)) / 100; }
    void expectHeader(std::size_t payments, std::int32_t count, std::int32_t nextId)
    {
        const auto bytes = readBytes(path);
        ASSERT_EQ(bytes.size(), 12 + 220 * payments);
        expectLayout(bytes.data(), 12, {i32(0, count), f32(4, 1.0f), i32(8, nextId)});
    }
};
}  // namespace

TEST_F(PaymentFile, AppendsNumberPaymentsFromZeroAndCountThem)
{
    EXPECT_EQ(paidOn(3), 0.0f);  // no file yet
    PaymentRecord p = payment(4, 60.0f, 9), q = payment(4, 40.0f), r = payment(5, 7.0f);
    EXPECT_EQ(AppendPayment(local, p), 0);
    EXPECT_EQ(p.paymentId, 0);
    expectHeader(1, 1, 1);
    EXPECT_EQ(AppendPayment(local, q), 1);
    EXPECT_EQ(AppendPayment(local, r), 2);
    expectHeader(3, 3, 3);
    EXPECT_EQ(ReadPaymentCount(local), 3);
    std::vector<PaymentRecord> read;
    ASSERT_EQ(ReadPayments(local, -1, 0, read), FileCause::None);
    EXPECT_EQ(read, (std::vector<PaymentRecord>{p, q, r}));
    EXPECT_EQ((std::pair{paidOn(4), paidOn(6)}), (std::pair{100.0f, 0.0f}));
    // The printed lines: the sale's own payments in file order, type and amount first.
    const std::string text = PaymentsText(local, 4);
    EXPECT_EQ(text.rfind("Check  60.00    ", 0), 0u) << text;
    EXPECT_NE(text.find("\r\nCheck  40.00    "), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << text;
    EXPECT_EQ(PaymentsText(local, 6), "");
    EXPECT_TRUE(prompt.messages.empty());

    // A file that cannot be opened: the message, nothing stored.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_EQ(AppendPayment(local, p), -1);
    EXPECT_EQ(prompt.take(), std::vector<std::string>{"Error opening Payment file."});
    EXPECT_EQ(paidOn(4), 0.0f);
    std::filesystem::remove(path);

    // A damaged header (count past the end, next id gone back): the append goes
    // after the payments present with an id above every id there.
    for (PaymentRecord present : {payment(0, 0.5f), payment(1, 0.5f), payment(3, 0.5f), payment(3, 0.5f)})
        ASSERT_GE(AppendPayment(local, present), 0);
    auto bytes = readBytes(path);
    PaymentFileHeader{9, 1.0f, 2}.encode(bytes.data());
    writeBytes(path, bytes);
    EXPECT_EQ(ReadPaymentCount(local), 4);
    EXPECT_EQ(AppendPayment(local, p = payment(3, 2.0f)), 4);
    expectHeader(5, 5, 5);
    EXPECT_EQ(paidOn(3), 3.0f);
}
