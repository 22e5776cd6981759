#include "FileSetTest.h"
#include "contacts/ContactRows.h"
#include "storage/files/CustomerFile.h"
#include "storage/records/ByteCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <strings.h>

namespace {
constexpr std::size_t kHead = 236;
constexpr std::size_t kRec = 968;
using Names = std::vector<std::string>;
using Numbers = std::vector<unsigned>;

CustomerRecord customer(const std::string& name, std::uint8_t level = 0)
{
    CustomerRecord r;
    std::tie(r.text[CustomerRecord::kName], r.text[CustomerRecord::kPhone], r.text[CustomerRecord::kEmail]) =
        std::tuple{name, "555-" + name, name + "@example.com"};
    r.priceLevel = level;
    return r;
}

// The rows a customer list shows, read as the window reads them.
TextRows listed(const CLocalFile& local, int selector, const std::string& text = {})
{
    CustomerRows rows;
    EXPECT_TRUE(rows.list(local, selector, text));
    TextRows out;
    for (std::size_t r = 0; r < rows.size(); ++r)
        out.push_back({rows.cell(r, 0), rows.cell(r, 1), rows.cell(r, 2), rows.cell(r, 3)});
    return out;
}

// The file read record by record with the codec alone, as a reference.
struct Stored {
    std::uint16_t next = 0;
    Names names;
    Numbers numbers;
};

struct CustomerFile : FileSetTest {
    const std::string path = local.GetPath("Customers");
    void save(std::initializer_list<const char*> names)
    {
        for (const char* n : names) {
            CustomerRecord c = customer(n);
            ASSERT_EQ(SaveCustomerByName(local, c), CustomerSave::Appended) << n;
        }
    }
    Stored stored() const
    {
        Stored s;
        const auto bytes = readBytes(path);
        s.next = codec::getU16(bytes.data(), 4);
        for (std::size_t i = 0; i < codec::getU32(bytes.data(), 8) && kHead + (i + 1) * kRec <= bytes.size(); ++i) {
            s.names.push_back(codec::getText(bytes.data() + kHead + i * kRec, 44, 40));
            s.numbers.push_back(codec::getU16(bytes.data() + kHead + i * kRec, 4));
        }
        return s;
    }
};
}  // namespace

TEST_F(CustomerFile, PlaceholderOnlyFileMissingFileAndHeaderWrite)
{
    CustomerRecord r;
    EXPECT_FALSE(FindCustomerByName(local, "Anyone", r));
    ASSERT_EQ(fileSize(path), static_cast<long long>(kHead + kRec));  // created by the find
    EXPECT_TRUE(listed(local, 0).empty());
    EXPECT_TRUE(listed(local, 7, "").empty());
    r.text[CustomerRecord::kName] = "junk";
    ASSERT_TRUE(FindCustomerByNumber(local, 0, r));
    EXPECT_EQ(r.name(), "");
    EXPECT_FALSE(FindCustomerByName(local, "", r));

    CustomerFileHeader h;
    h.labels[0] = "stale";
    ASSERT_EQ(ReadCustomerHeader(local, h), 0);
    EXPECT_EQ((std::tuple{h.count, h.nextNumber, h.labels[0]}), (std::tuple{1u, std::uint16_t{1}, "Name"}));

    // The placeholder is neither updated nor deleted.
    const auto before = readBytes(path);
    CustomerRecord zero = customer("Zero");
    EXPECT_EQ(UpdateCustomerByNumber(local, zero), ChangeResult::NotFound);
    EXPECT_EQ(DeleteCustomerByNumber(local, zero), ChangeResult::NotFound);
    EXPECT_EQ(readBytes(path), before);

    // A header written from a stale copy keeps the count and next number.
    save({"Late"});  // saved at another register meanwhile
    h.labels[4] = "Telephone";
    ASSERT_EQ(WriteCustomerHeader(local, h), 0);
    CustomerFileHeader back;
    ASSERT_EQ(ReadCustomerHeader(local, back), 0);
    EXPECT_EQ((std::tuple{back.labels[4], back.count, back.nextNumber}), (std::tuple{"Telephone", 2u, std::uint16_t{2}}));
    EXPECT_TRUE(FindCustomerByName(local, "Late", r));
}

TEST_F(CustomerFile, UpdateDeleteAndNumbersNeverReused)
{
    CustomerRecord missing = customer("Nobody");
    missing.customerNumber = 3;
    EXPECT_EQ(UpdateCustomerByNumber(local, missing), ChangeResult::Failed);  // no file
    CustomerRecord empty;
    EXPECT_EQ(SaveCustomerByName(local, empty), CustomerSave::NotSaved);
    save({"Ann", "Bob", "Cy", "Dee", "Eve"});  // after the placeholder, numbered from 1
    const auto before = readBytes(path);
    EXPECT_EQ(std::vector<std::uint8_t>(before.begin() + kHead, before.begin() + kHead + kRec), std::vector<std::uint8_t>(kRec, 0));
    EXPECT_EQ(stored().numbers, (Numbers{0, 1, 2, 3, 4, 5}));

    // Deleting the last record only lowers the count; any other takes the
    // last record's place. The deleted record reports what now stands there.
    for (const auto& [number, result, name] : {std::tuple{5, ChangeResult::Done, "Eve"}, {2, ChangeResult::Done, "Dee"},
                                               {2, ChangeResult::NotFound, ""}}) {
        CustomerRecord del;
        del.customerNumber = static_cast<std::uint16_t>(number);
        EXPECT_EQ(DeleteCustomerByNumber(local, del), result) << number;
        EXPECT_EQ(del.name(), name) << number;
    }
    EXPECT_TRUE(std::equal(before.begin() + kHead, before.begin() + kHead + 2 * kRec, readBytes(path).begin() + kHead));
    const Stored s = stored();
    EXPECT_EQ(s.names, (Names{"", "Ann", "Dee", "Cy"}));
    EXPECT_EQ(s.numbers, (Numbers{0, 1, 4, 3}));

    CustomerRecord cy = customer("Cyrus"), got;
    std::tie(cy.customerNumber, cy.orderLimit, missing.customerNumber) = std::tuple{3, 250, 5 /* deleted above */};
    EXPECT_EQ(UpdateCustomerByNumber(local, cy), ChangeResult::Done);
    EXPECT_EQ(UpdateCustomerByNumber(local, missing), ChangeResult::NotFound);
    ASSERT_TRUE(FindCustomerByNumber(local, 3, got));
    EXPECT_EQ((std::pair{got.name(), got.orderLimit}), (std::pair{std::string("Cyrus"), 250.0f}));

    CustomerRecord fay = customer("Fay");
    ASSERT_EQ(SaveCustomerByName(local, fay), CustomerSave::Appended);
    EXPECT_EQ((std::pair{fay.customerNumber, stored().next}), (std::pair<std::uint16_t, std::uint16_t>{6, 7}));
}

TEST_F(CustomerFile, BlockScansGiveTheFirstMatchInFileOrder)
{
    // 300 records over several blocks; records 150 and 290 are twins by name.
    const std::size_t n = 300;
    std::vector<std::uint8_t> bytes(kHead + n * kRec, 0);
    CustomerFileHeader h;
    h.count = n;
    h.nextNumber = n;
    h.encode(bytes.data());
    for (std::size_t i = 1; i < n; ++i) {
        CustomerRecord c = customer("Cust" + std::to_string(i % 97), static_cast<std::uint8_t>(i % 6));
        c.customerNumber = static_cast<std::uint16_t>(i % 150 == 0 ? 7 : i);
        if (i == 150 || i == 290) {
            c = customer(i == 150 ? "MiXeD" : "mixed");
            c.customerNumber = static_cast<std::uint16_t>(i == 150 ? 1000 : 1001);
        }
        c.encode(bytes.data() + kHead + i * kRec);
    }
    writeBytes(path, bytes);

    const Stored before = stored();
    auto firstByName = [&](const std::string& name) -> long long {
        for (std::size_t i = 1; i < n; ++i)
            if (strcasecmp(before.names[i].c_str(), name.c_str()) == 0)
                return before.numbers[i];
        return -1;
    };
    CustomerRecord found;
    for (const std::string name : {"cust5", "CUST96", "Cust0", "mixed", "MIXED", "Cust97", "Cust"}) {
        const bool hit = FindCustomerByName(local, name, found);
        EXPECT_EQ(hit ? static_cast<long long>(found.customerNumber) : -1, firstByName(name)) << name;
    }
    for (auto [number, name] : {std::pair{7, "Cust7"} /* before the other 7s */, {299, "Cust8"}}) {
        ASSERT_TRUE(FindCustomerByNumber(local, static_cast<std::uint16_t>(number), found));
        EXPECT_EQ(found.name(), name);
    }
    std::size_t level3 = 0;
    for (std::size_t i = 1; i < n; ++i)
        level3 += (i % 6 == 3) && i != 150 && i != 290;
    EXPECT_EQ(listed(local, 4).size(), level3);
    // A search runs over the fields joined, ignoring case: the phone runs into the e-mail.
    EXPECT_EQ(listed(local, 7, "-MIXEDmixed@").size(), 2u);

    // Saving MIXED replaces record 150, the first of the two.
    CustomerRecord m = customer("MIXED");
    ASSERT_EQ(SaveCustomerByName(local, m), CustomerSave::Replaced);
    EXPECT_EQ(m.customerNumber, 1000);
    EXPECT_EQ((std::pair{stored().names[150], stored().names[290]}), (std::pair{std::string("MIXED"), std::string("mixed")}));
}
