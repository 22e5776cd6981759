#include "CLocalFile.h"
#include "DataFile.h"
#include "InvoiceFile.h"
#include "InvoiceTestSupport.h"
#include "LayoutCheck.h"
#include "PaymentRecord.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
std::vector<std::uint8_t> paymentFile(std::int32_t count, std::int32_t nextId, const std::vector<PaymentRecord>& records)
{
    std::vector<std::uint8_t> bytes(12 + 220 * records.size());
    PaymentFileHeader{count, 1.0f, nextId}.encode(bytes.data());
    for (std::size_t i = 0; i < records.size(); ++i)
        records[i].encode(bytes.data() + 12 + 220 * i);
    return bytes;
}

PaymentRecord payment(std::int32_t invoice, float amount, std::int32_t id = 0)
{
    PaymentRecord p;
    p.invoiceNumber = invoice;
    p.amount = amount;
    p.paymentId = id;
    p.payType = "Check";
    return p;
}

float paidOn(const CLocalFile& local, std::int32_t invoice)
{
    InvoiceRecord sale;
    sale.recordNumber = invoice;
    return PaymentsForInvoice(local, sale);
}

void expectHeader(const std::string& path, std::size_t payments, std::int32_t count, std::int32_t nextId)
{
    const auto bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 12 + 220 * payments);
    expectLayout(bytes.data(), 12, {i32(0, count), f32(4, 1.0f), i32(8, nextId)});
}
}  // namespace

TEST(PaymentRecord, EveryFieldLiesAtItsOffset)
{
    PaymentRecord p;
    p.kind = PaymentRecord::kSplitPart;
    p.invoiceNumber = 0x01020304;
    p.paymentId = -9;
    p.amount = 60.25f;
    p.date = OleDate{38808.5, 0};
    p.payType = "Visa";
    p.cardNumber = "4111 1111";
    p.expiration = std::string(20, 'e');
    p.cashier = "Ann";
    p.notes = std::string(50, 'n');
    std::vector<std::uint8_t> buf(220, 0xCC);
    p.encode(buf.data());
    expectLayout(buf.data(), 220,
                 {zeros(0, 64), u8(64, 1), u8(65, 0), u16(66, 0), i32(68, 0x01020304), i32(72, -9), f32(76, 60.25f),
                  f64(80, 38808.5), i32(88, 0), text(92, 24, "Visa"), text(116, 24, "4111 1111"),
                  text(140, 14, std::string(13, 'e')), text(154, 24, "Ann"), text(178, 42, std::string(41, 'n'))});

    // Reserved bytes are ignored when read.
    buf[0] = 0x55;
    buf[65] = 0x66;
    PaymentRecord back;
    back.decode(buf.data());
    PaymentRecord expected = p;
    expected.expiration = std::string(13, 'e');
    expected.notes = std::string(41, 'n');
    EXPECT_EQ(back, expected);

    std::uint8_t head[12];
    PaymentFileHeader{3, 1.0f, 17}.encode(head);
    expectLayout(head, 12, {i32(0, 3), f32(4, 1.0f), i32(8, 17)});
}

TEST(PaymentRecord, AppendsNumberPaymentsFromZeroAndCountThem)
{
    TempDir dir;
    CLocalFile local(dir.path());
    RecordingPrompt prompt;
    const std::string path = local.GetPath("Payments");
    PaymentRecord p = payment(4, 60.0f);
    EXPECT_EQ(AppendPayment(local, p), 0);
    EXPECT_EQ(p.paymentId, 0);
    expectHeader(path, 1, 1, 1);

    PaymentRecord q = payment(4, 40.0f);
    EXPECT_EQ(AppendPayment(local, q), 1);
    PaymentRecord r = payment(5, 7.0f);
    EXPECT_EQ(AppendPayment(local, r), 2);
    expectHeader(path, 3, 3, 3);
    EXPECT_EQ(ReadPaymentCount(local), 3);
    PaymentRecord read;
    ASSERT_TRUE(ReadPayment(local, 1, read));
    EXPECT_EQ(read, q);
    EXPECT_FALSE(ReadPayment(local, 3, read));
    EXPECT_EQ(paidOn(local, 4), 100.0f);
    EXPECT_EQ(paidOn(local, 6), 0.0f);
    EXPECT_TRUE(prompt.messages.empty());
}

TEST(PaymentRecord, SumsOverManyBlocksAndDamagedHeaders)
{
    TempDir dir;
    CLocalFile local(dir.path());
    const std::string path = local.GetPath("Payments");
    EXPECT_EQ(paidOn(local, 3), 0.0f);  // no file yet

    // 700 payments (three blocks), invoice i % 7, 0.5 each: 100 of them for invoice 3.
    // A count past the end reads the payments present, a negative one all there, and
    // payments past the count are not read (of the first 10 only one is for 3).
    std::vector<PaymentRecord> records;
    for (int i = 0; i < 700; ++i)
        records.push_back(payment(i % 7, 0.5f, i));
    struct Case {
        std::int32_t count;
        int counted;
        float paid;
    };
    for (const Case& c : {Case{700, 700, 50.0f}, Case{5000, 700, 50.0f}, Case{-3, 700, 50.0f}, Case{10, 10, 0.5f}}) {
        writeBytes(path, paymentFile(c.count, 700, records));
        EXPECT_EQ(ReadPaymentCount(local), c.counted) << c.count;
        EXPECT_EQ(paidOn(local, 3), c.paid) << c.count;
    }

    // An append to a damaged header goes after the payments present and gets
    // an id above every id there, even when the stored next id is lower.
    writeBytes(path, paymentFile(9, 2, std::vector<PaymentRecord>(records.begin(), records.begin() + 4)));
    PaymentRecord p = payment(3, 2.0f);
    EXPECT_EQ(AppendPayment(local, p), 4);
    expectHeader(path, 5, 5, 5);
    EXPECT_EQ(paidOn(local, 3), 2.5f);
}

TEST(PaymentRecord, UnopenableFileShowsTheMessageAndStoresNothing)
{
    TempDir dir;
    CLocalFile local(dir.path());
    std::filesystem::create_directory(local.GetPath("Payments"));
    RecordingPrompt prompt;
    PaymentRecord p = payment(1, 5.0f);
    EXPECT_EQ(AppendPayment(local, p), -1);
    EXPECT_EQ(prompt.take(), std::vector<std::string>{"Error opening Payment file."});
    EXPECT_EQ(paidOn(local, 1), 0.0f);
}

