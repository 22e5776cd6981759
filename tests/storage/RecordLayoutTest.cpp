#include "InvoiceTestSupport.h"
#include "LayoutCheck.h"
#include "storage/records/CashierRecord.h"
#include "storage/records/CustomerRecord.h"
#include "storage/records/DefaultsRecord.h"
#include "storage/records/InvoiceRecord.h"
#include "storage/records/PaymentRecord.h"
#include "storage/records/ProductRecord.h"
#include "storage/records/SalespersonRecord.h"
#include "storage/records/TaxTableRecord.h"
#include "storage/records/TermsRecord.h"
#include "storage/records/VendorRecord.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {
// The record's bytes; encoding writes nothing past them.
template <class R> std::vector<std::uint8_t> encoded(const R& r, std::size_t size)
{
    std::vector<std::uint8_t> buf(size + 8, 0xAA);
    r.encode(buf.data());
    EXPECT_EQ(std::vector<std::uint8_t>(buf.begin() + static_cast<long>(size), buf.end()), std::vector<std::uint8_t>(8, 0xAA));
    buf.resize(size);
    return buf;
}

template <class R> void expectRecord(const R& r, std::size_t size, const std::vector<Slot>& slots)
{
    ASSERT_EQ(R::kSize, size);
    const auto buf = encoded(r, size);
    expectLayout(buf.data(), size, slots);
    expectRoundTrip(R{}, buf.data(), size);
}

std::vector<Slot> labelSlots(std::size_t first, const std::vector<std::string>& labels, std::vector<Slot> head)
{
    for (std::size_t i = 0; i < labels.size(); ++i)
        head.push_back(text(first + 14 * i, 14, labels[i]));
    return head;
}
}  // namespace

TEST(RecordLayout, Invoice)
{
    InvoiceRecord r;
    std::tie(r.paid, r.termsIndex, r.priceLevel, r.customerNumber, r.recordNumber) = std::tuple{1, 7, 5, 0xBEEF, -123456};
    float* totals[] = {&r.taxRate1, &r.taxRate2, &r.discountPercent, &r.taxableSubtotal, &r.exemptSubtotal, &r.tax1,
                       &r.tax2,     &r.handling, &r.total,           &r.cashPaid,        &r.change,         &r.totalCost};
    r.cashier = std::string(30, 'c');  // 23 kept
    std::tie(r.salesperson, r.payType) = std::tuple{"Sales Person", "Terms"};
    std::tie(r.year, r.month, r.period, r.week, r.day) = std::tuple{2006, 11, 2, 47, 23};
    std::tie(r.saleTime, r.secondDate) = std::tuple{OleDate{38990.75, 0}, OleDate{12.25, 1}};
    std::vector<Slot> slots{u8(0, 1),        u8(1, 0),         u8(2, 7),        u8(3, 5),        u16(4, 0xBEEF),
                            zeros(6, 2),     i32(8, -123456),  text(540, 24, std::string(23, 'c')),
                            text(564, 24, "Sales Person"),     text(948, 24, "Terms"),           i16(4692, 2006),
                            i16(4694, 11),   i16(4696, 2),     i16(4698, 47),   i16(4700, 23),   zeros(4702, 2),
                            f64(4704, 38990.75), i32(4712, 0), f64(4716, 12.25), i32(4724, 1)};
    for (std::size_t i = 0; i < 12; ++i) {
        *totals[i] = 1.5f + static_cast<float>(i);
        slots.push_back(f32(12 + 4 * i, 1.5f + static_cast<float>(i)));
    }
    for (std::size_t i = 0; i < 9; ++i) {
        r.address[i] = "addr" + std::to_string(i);
        slots.push_back(text(588 + 40 * i, 40, r.address[i]));
    }
    for (std::size_t i = 0; i < 20; ++i) {
        const float f = static_cast<float>(i);
        const std::string n = std::to_string(i);
        std::array<float, 20>* amounts[] = {&r.qty, &r.markdownPercent, &r.price, &r.extended, &r.cost,
                                            &r.commissionPercent};
        for (std::size_t a = 0; a < 6; ++a) {
            (*amounts[a])[i] = 100.0f * static_cast<float>(a + 1) + f;
            slots.push_back(f32(60 + 80 * a + 4 * i, 100.0f * static_cast<float>(a + 1) + f));
        }
        std::array<std::string, 20>* texts[] = {&r.description, &r.category, &r.vendor, &r.department};
        for (std::size_t t = 0; t < 4; ++t) {
            (*texts[t])[i] = "text" + std::to_string(t) + "-" + n + std::string(i * 2, 'x');  // from line 17 on, cut
            slots.push_back(text(1452 + 800 * t + 40 * i, 40, (*texts[t])[i].substr(0, 39)));
        }
        r.itemNumber[i] = "item" + n + std::string(i, 'i');  // from line 15 on, cut to 23
        slots.push_back(text(972 + 24 * i, 24, r.itemNumber[i].substr(0, 23)));
        r.lineMode[i] = static_cast<std::uint8_t>(i % 4);
        r.taxStatus[i] = static_cast<std::uint8_t>(10 + i);
        slots.push_back(u8(4652 + i, static_cast<double>(i % 4)));
        slots.push_back(u8(4672 + i, static_cast<double>(10 + i)));
    }
    expectRecord(r, InvoiceRecord::kSize, slots);
    // A pay type slot without its NUL must not run into the item numbers.
    auto buf = encoded(r, InvoiceRecord::kSize);
    std::fill(buf.begin() + 948, buf.begin() + 972, 'p');
    InvoiceRecord back;
    back.decode(buf.data());
    EXPECT_EQ(back.payType, std::string(23, 'p'));
    EXPECT_EQ(InvoiceRecord(back).secondDate, (OleDate{12.25, 1}));  // a copy carries both dates

    // A fresh record is zero but for the two date validity words ("not set");
    // a cleared one has every line mode "cleared".
    std::vector<std::uint8_t> want(InvoiceRecord::kSize, 0);
    want[4712] = want[4724] = 1;
    EXPECT_EQ(encoded(InvoiceRecord(), InvoiceRecord::kSize), want);
    std::fill(want.begin() + 4652, want.begin() + 4672, 3);
    const InvoiceRecord cleared = ClearedInvoice();
    EXPECT_EQ(encoded(cleared, InvoiceRecord::kSize), want);
    for (std::size_t i = 0; i < 20; ++i)
        EXPECT_TRUE(cleared.lineIsEmpty(i));
}

TEST(RecordLayout, InvoiceDatingTakesPeriodWeekAndTimeFromOneMoment)
{
    InvoiceRecord r = ClearedInvoice();
    // 1 April 2006 was a Saturday; 1 January 2006 a Sunday, so that week is week 1
    // and the week from Sunday 26 March is week 13 (the week rule's edges are
    // checked with the calendar). Day 38808 counted from 30 Dec 1899.
    DateRecord(r, at(2006, 4, 1, 12, 0, 0));
    EXPECT_EQ((std::vector<int>{r.year, r.month, r.period, r.week, r.day}), (std::vector<int>{2006, 4, 1, 13, 1}));
    EXPECT_EQ(r.saleTime, (OleDate{38808.5, 0}));
    EXPECT_EQ(DateKey(r), 2006 * 385 + 4 * 32 + 1);

    // Periods come in groups of 3, 4, 4 and 1 months.
    const int expectedPeriod[13] = {0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3};
    for (int m = 1; m <= 12; ++m) {
        DateRecord(r, at(2007, m, 15));
        EXPECT_EQ(r.period, expectedPeriod[m]) << m;
    }
}

TEST(RecordLayout, Product)
{
    ProductRecord r;
    std::tie(r.taxStatus, r.mode, r.showOnTouch, r.reserved) = std::tuple{3, 2, 1, 7};
    std::tie(r.soldQty, r.soldTotal, r.soldProfit, r.soldCommission, r.stock, r.cost) =
        std::tuple{1.5f, 2.5f, 3.5f, 4.5f, -5.5f, 6.25f};
    r.price = {10, 11, 12, 13, 14, 15};
    std::tie(r.salePercent, r.caseQty, r.commissionPercent) = std::tuple{12.5f, 24.0f, 2.75f};
    r.category = "Frozen Fruit";
    r.itemNumber = "123456789012345678901234567890";  // 30 characters, 23 kept
    r.description = std::string(50, 'd');
    std::tie(r.vendor, r.vendorNumber, r.department, r.barCode, r.addOnId) =
        std::tuple{"Acme Foods", "V-77", "Grocery", "0123456789012", "ADD-1"};
    expectRecord(r, 320,
                 {u8(0, 3), u8(1, 2), u8(2, 1), u8(3, 7), f32(4, 1.5f), f32(8, 2.5f), f32(12, 3.5f), f32(16, 4.5f),
                  f32(20, -5.5f), f32(24, 6.25f), f32(28, 10), f32(32, 11), f32(36, 12), f32(40, 13), f32(44, 14),
                  f32(48, 15), f32(52, 12.5f), f32(56, 24.0f), text(60, 40, "Frozen Fruit"),
                  text(100, 24, "12345678901234567890123"), text(124, 40, std::string(39, 'd')),
                  text(164, 40, "Acme Foods"), text(204, 24, "V-77"), text(228, 40, "Grocery"),
                  text(268, 24, "0123456789012"), text(292, 24, "ADD-1"), f32(316, 2.75f)});

    expectRecord(ProductRecord(), 320, {u8(0, 1), zeros(1, 319)});  // a fresh record is tax 1 and nothing else
    EXPECT_EQ(std::string(ProductModeName(2)), "Deposit");
}

TEST(RecordLayout, CustomerHeaderAndRecord)
{
    std::vector<std::string> labels{"Name",      "Company",   "Address",   "City, St, Zip", "Phone#", "Email",
                                    "Tax ID#",   "Lic Date",  "Contact 1", "Contact 2",     "Contact 3", "Contact 4",
                                    "CC #1",     "CC #2",     "CC #3",     "Notes"};
    expectRecord(CustomerFileHeader(), 236, labelSlots(12, labels, {f32(0, 1.3f), u16(4, 1), u16(6, 0), u32(8, 1)}));
    CustomerFileHeader h;
    std::tie(h.version, h.nextNumber, h.reserved6, h.count) = std::tuple{2.5f, 0x1234, 0x5678, 0x01020304};
    h.labels[15] = "Notes-abcdefghijklmn";  // longer than 13: cut
    labels[15] = "Notes-abcdefg";
    expectRecord(h, 236, labelSlots(12, labels, {f32(0, 2.5f), u16(4, 0x1234), u16(6, 0x5678), u32(8, 0x01020304)}));

    CustomerRecord r;
    std::tie(r.orderLimitOn, r.priceLevel, r.termsIndex, r.customerNumber, r.orderLimit) = std::tuple{1, 5, 7, 0xBEEF, 1234.5f};
    r.taxZone = "Zone-ABCDEFGHIJKLMNOPQRSTUVWXYZ";  // 31 characters, 23 kept
    for (std::size_t k = 0; k < 18; ++k)
        r.text[k] = "field" + std::to_string(k);
    r.text[CustomerRecord::kCard3] = std::string(50, 'c');
    r.notes = std::string(250, 'n');
    std::vector<Slot> slots{u8(0, 1),     u8(1, 0),         u8(2, 5),     u8(3, 7), u16(4, 0xBEEF),
                            text(6, 24, "Zone-ABCDEFGHIJKLMNOPQR"), zeros(30, 2), f32(32, 1234.5f), zeros(36, 8),
                            text(724, 40, std::string(39, 'c')), text(764, 200, std::string(199, 'n')), zeros(964, 4)};
    for (std::size_t k = 0; k < 17; ++k)
        slots.push_back(text(44 + 40 * k, 40, "field" + std::to_string(k)));
    expectRecord(r, 968, slots);
    expectRecord(CustomerRecord(), 968, {zeros(0, 968)});
}

TEST(RecordLayout, VendorHeaderAndRecord)
{
    VendorFileHeader h;
    std::vector<std::string> labels{"Company", "Address",   "Address",   "City, St, Zip", "Phone#",    "Email",
                                    "Cell#",   "Fax#",      "Contact 1", "Contact 2",     "Contact 3", "Contact 4",
                                    "Terms",   "Discount",  "Misc",      "Misc"};
    expectRecord(h, 232, labelSlots(8, labels, {u32(0, 0), f32(4, 1.1f)}));
    h.count = 0x0A0B0C0D;
    h.labels[3] = labels[3] = "Town";
    expectRecord(h, 232, labelSlots(8, labels, {u32(0, 0x0A0B0C0D), f32(4, 1.1f)}));

    VendorRecord r;
    std::vector<Slot> slots;
    for (std::size_t k = 0; k < 18; ++k) {
        r.text[k] = "v" + std::to_string(k) + std::string(k * 3, 'x');  // from k = 13 on, cut to 39
        slots.push_back(text(40 * k, 40, r.text[k].substr(0, 39)));
    }
    r.notes = "line 1\r\nline 2";
    slots.push_back(text(720, 200, "line 1\r\nline 2"));
    expectRecord(r, 920, slots);
}

TEST(RecordLayout, Payment)
{
    PaymentRecord p;
    std::tie(p.kind, p.invoiceNumber, p.paymentId, p.amount, p.date) =
        std::tuple{PaymentRecord::kSplitPart, 0x01020304, -9, 60.25f, OleDate{38808.5, 0}};
    std::tie(p.payType, p.cardNumber, p.expiration, p.cashier, p.notes) =
        std::tuple{"Visa", "4111 1111", std::string(20, 'e'), "Ann", std::string(50, 'n')};
    auto buf = encoded(p, 220);
    expectLayout(buf.data(), 220,
                 {zeros(0, 64), u8(64, 1), u8(65, 0), u16(66, 0), i32(68, 0x01020304), i32(72, -9), f32(76, 60.25f),
                  f64(80, 38808.5), i32(88, 0), text(92, 24, "Visa"), text(116, 24, "4111 1111"),
                  text(140, 14, std::string(13, 'e')), text(154, 24, "Ann"), text(178, 42, std::string(41, 'n'))});
    // Reserved bytes are ignored when read.
    buf[0] = 0x55;
    buf[65] = 0x66;
    PaymentRecord back;
    back.decode(buf.data());
    std::tie(p.expiration, p.notes) = std::tuple{std::string(13, 'e'), std::string(41, 'n')};
    EXPECT_EQ(back, p);

    std::uint8_t head[12];
    PaymentFileHeader{3, 1.0f, 17}.encode(head);
    expectLayout(head, 12, {i32(0, 3), f32(4, 1.0f), i32(8, 17)});
}

TEST(RecordLayout, CashierSalespersonTaxTermsAndDefaults)
{
    expectRecord(CashierRecord{"Alice-abcdefghijklmnopqrstu", "pw"}, 48,
                 {text(0, 24, "Alice-abcdefghijklmnopq"), text(24, 24, "pw")});
    expectRecord(SalespersonRecord{"Bob"}, 24, {text(0, 24, "Bob")});
    expectRecord(TaxTableRecord{"County", 7.25f, 1.5f}, 32, {text(0, 24, "County"), f32(24, 7.25f), f32(28, 1.5f)});
    TermsRecord t;
    std::tie(t.id, t.discountDays, t.netDays, t.discountPercent, t.name) = std::tuple{9, 10, -2, 0x0102, "abcdefghijklmnop"};
    expectRecord(t, 22, {u8(0, 9), u8(1, 0), i16(2, 10), i16(4, -2), i16(6, 0x0102), text(8, 14, "abcdefghijklm")});
    DefaultsRecord d;
    std::vector<Slot> words;
    for (std::size_t i = 0; i < 104; ++i) {
        d.words[i] = 0x01000000u * static_cast<std::uint32_t>(i) + static_cast<std::uint32_t>(i);
        words.push_back(u32(4 * i, 0x01000000u * i + i));
    }
    expectRecord(d, 416, words);
}
