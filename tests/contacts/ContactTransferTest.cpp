#include "contacts/ContactTransfer.h"
#include "storage/files/CustomerFile.h"
#include "storage/files/ListFiles.h"
#include "storage/records/ByteCodec.h"
#include "support/DataFolder.h"

#include <filesystem>
#include <tuple>

namespace {

struct Contacts : DataFolder {
    void writeText(const std::string& text) { writeBytes(textPath, {text.begin(), text.end()}); }
    std::string textPath = dir.file("Address.txt");
};

CustomerRecord fullCustomer(const std::string& name)
{
    CustomerRecord r;
    for (std::size_t k = 0; k < CustomerRecord::kTextCount; ++k)
        r.text[k] = name + "-" + std::to_string(k);
    r.priceLevel = 4, r.taxZone = "County", r.termsIndex = 1;
    return r;
}

TEST_F(Contacts, CustomerImportReadsEveryShapeOfLine)
{
    struct Case {
        const char* label;
        std::string text;
        std::vector<std::string> names;
        std::vector<std::string> cities;  // address|city|phone|email
    };
    const std::string nineteenTabs(21, '\t');
    const Case cases[] = {
        // The explained shapes: Name, address, address, Phone#, Email.
        {"three to five columns, CR LF",
         "Ann\tMain St\tBox 5\t555-1234\r\nBob\t1 Elm St\tTown\r\nCy\t2 Oak Rd\tVille\t555-9\tcy@x.org\r\n",
         {"Ann", "Bob", "Cy"}, {"Main St|Box 5|555-1234|", "1 Elm St|Town||", "2 Oak Rd|Ville|555-9|cy@x.org"}},
        // The address export's six columns read back in record order.
        {"address export", "Di\tCo\t3 Elm\tTown\tST\t12345\r\n", {"Di"}, {"3 Elm|Town||"}},
        {"last line without a break", "Ann\tA\r\nBob\tB", {"Ann", "Bob"}, {"A|||", "B|||"}},
        {"blank and empty-field lines", "\r\nAnn\r\n\t\t\r\n\nBob\n", {"Ann", "Bob"}, {"|||", "|||"}},
        {"a line without a name", "\tAddress only\r\nAnn\r\n", {"Ann"}, {"|||"}},
        {"fields past the last one", "Ann" + nineteenTabs + "x\ty\r\n", {"Ann"}, {"|||"}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(local.GetPath("Customers"));
        writeText(c.text);
        std::size_t added = 0;
        ASSERT_EQ(ImportCustomers(local, textPath, added), TransferResult::Done) << c.label;
        const auto stored = ReadCustomers(local);
        ASSERT_EQ(stored.size(), c.names.size()) << c.label;
        EXPECT_EQ(added, c.names.size()) << c.label;
        for (std::size_t i = 0; i < stored.size(); ++i)
            EXPECT_EQ(std::make_tuple(stored[i].name(),
                                      stored[i].text[CustomerRecord::kAddress] + "|" + stored[i].text[CustomerRecord::kCity] +
                                          "|" + stored[i].text[CustomerRecord::kPhone] + "|" +
                                          stored[i].text[CustomerRecord::kEmail],
                                      stored[i].customerNumber),
                      std::make_tuple(c.names[i], c.cities[i], i + 1)) << c.label;
    }

    // The price level and the terms stay within the store's range.
    std::filesystem::remove(local.GetPath("Customers"));
    TermsRecord net45;
    net45.netDays = 45;
    ASSERT_EQ(AppendTerms(local, net45), 0);  // ids 0, 1 (the fixed two) and this one
    const std::string texts(18, '\t');
    const std::tuple<std::string, std::string, std::uint8_t, std::uint8_t> levels[] = {
        {"3", std::to_string(net45.id), 3, net45.id}, {"9", "1", 5, 1}, {"-2", "200", 0, 0},
        {"300", "-1", 5, 0}, {"x", "257", 0, 0}};  // level, terms as typed; as stored
    std::string text;
    for (std::size_t i = 0; i < std::size(levels); ++i)
        text += "N" + std::to_string(i) + texts + std::get<0>(levels[i]) + "\tZone\t" + std::get<1>(levels[i]) + "\r\n";
    writeText(text);
    std::size_t added = 0;
    ASSERT_EQ(ImportCustomers(local, textPath, added), TransferResult::Done);
    const auto stored = ReadCustomers(local);
    ASSERT_EQ(stored.size(), std::size(levels));
    for (std::size_t i = 0; i < stored.size(); ++i)
        EXPECT_EQ(std::tie(stored[i].priceLevel, stored[i].termsIndex, stored[i].taxZone),
                  std::make_tuple(std::get<2>(levels[i]), std::get<3>(levels[i]), "Zone")) << i;
}

TEST_F(Contacts, CustomerInformationRoundTripsIntoAnEmptyFile)
{
    std::vector<CustomerRecord> originals{fullCustomer("a"), fullCustomer("b")};
    originals[1].priceLevel = originals[1].termsIndex = 0;
    originals[1].taxZone = originals[1].text[CustomerRecord::kEmail] = "";  // an empty field in the middle
    ASSERT_EQ(AppendCustomers(local, originals), CustomerSave::Appended);
    std::size_t written = 0;
    ASSERT_EQ(ExportCustomers(local, textPath, true, nullptr, written), TransferResult::Done);
    EXPECT_EQ(written, 2u);

    TempDir other;
    CLocalFile there(other.path());
    CustomerRecord first = fullCustomer("already");
    ASSERT_EQ(SaveCustomerByName(there, first), CustomerSave::Appended);
    std::size_t added = 0;
    ASSERT_EQ(ImportCustomers(there, textPath, added), TransferResult::Done);
    const auto back = ReadCustomers(there);
    ASSERT_EQ(back.size(), 3u);
    for (std::size_t i = 0; i < 2; ++i) {
        const CustomerRecord &got = back[i + 1], &sent = originals[i];
        EXPECT_EQ(std::tie(got.text, got.priceLevel, got.taxZone, got.termsIndex),
                  std::tie(sent.text, sent.priceLevel, sent.taxZone, sent.termsIndex)) << i;
        EXPECT_EQ(got.customerNumber, i + 2);
    }
}

TEST_F(Contacts, CustomerImportPastTheLastNumberChangesNothing)
{
    CustomerRecord one = fullCustomer("one");
    ASSERT_EQ(SaveCustomerByName(local, one), CustomerSave::Appended);
    // Give the file a next number two short of the end of the range.
    auto bytes = readBytes(local.GetPath("Customers"));
    codec::putU16(bytes.data(), 4, 0xFFFE);
    writeBytes(local.GetPath("Customers"), bytes);

    writeText("x\r\ny\r\nz\r\n");
    std::size_t added = 0;
    EXPECT_EQ(ImportCustomers(local, textPath, added), TransferResult::NoRoom);
    EXPECT_EQ(added, 0u);
    EXPECT_EQ(readBytes(local.GetPath("Customers")), bytes);

    writeText("x\r\ny\r\n");
    ASSERT_EQ(ImportCustomers(local, textPath, added), TransferResult::Done);
    const auto stored = ReadCustomers(local);
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[2].customerNumber, 0xFFFF);
}

TEST_F(Contacts, ShownCustomerIsSavedByNumberThenByName)
{
    CustomerRecord ann = fullCustomer("ann");
    ann.text[CustomerRecord::kName] = "Ann";
    CustomerRecord bob = ann;
    bob.text[CustomerRecord::kName] = "Bob";
    ASSERT_EQ(SaveShownCustomer(local, ann), ContactSave::Saved);
    ASSERT_EQ(SaveShownCustomer(local, bob), ContactSave::Saved);
    ASSERT_EQ(bob.customerNumber, 2);

    // Bob renamed to Ann while shown: Bob's record changes, Ann's stays.
    CustomerRecord renamed = bob;
    renamed.text[CustomerRecord::kName] = "ANN";
    ASSERT_EQ(SaveShownCustomer(local, renamed), ContactSave::Saved);
    CustomerRecord got;
    ASSERT_TRUE(FindCustomerByNumber(local, 1, got));
    EXPECT_EQ(got.name(), "Ann");
    ASSERT_TRUE(FindCustomerByNumber(local, 2, got));
    EXPECT_EQ(got.name(), "ANN");

    // Deleted meanwhile: the same fields come back under a new number.
    CustomerRecord gone = bob;
    ASSERT_EQ(DeleteCustomerByNumber(local, gone), ChangeResult::Done);
    ASSERT_EQ(SaveShownCustomer(local, bob), ContactSave::Saved);
    EXPECT_EQ(bob.customerNumber, 3);
    ASSERT_EQ(ReadCustomers(local).size(), 2u);

    CustomerRecord nameless;
    EXPECT_EQ(SaveShownCustomer(local, nameless), ContactSave::NoName);
}

}  // namespace
