#include "FileSetTest.h"
#include "contacts/ContactRows.h"
#include "storage/files/CountedFile.h"
#include "storage/files/VendorFile.h"
#include "storage/records/ByteCodec.h"

#include <gtest/gtest.h>

namespace {
VendorRecord vendor(const std::string& company)
{
    VendorRecord v;
    std::tie(v.text[VendorRecord::kCompany], v.text[VendorRecord::kPhone], v.text[VendorRecord::kEmail]) =
        std::tuple{company, "tel " + company, company + "@supply.com"};
    return v;
}
}  // namespace

struct VendorFile : FileSetTest {};

TEST_F(VendorFile, AppendCreatesFindIgnoresCaseAndMissingNamesComeBackEmpty)
{
    const std::string path = local.GetPath("Vendor");
    VendorRecord r = vendor("junk");
    EXPECT_FALSE(FindVendor(local, "Acme", r));  // no file yet, and none made
    EXPECT_EQ((std::tuple{r.company(), r.text[VendorRecord::kPhone], fileExists(path)}), (std::tuple{"Acme", "", false}));

    for (const char* company : {"Acme", "Bolt", "ACME"})  // a second entry is kept as given
        ASSERT_EQ(AppendVendor(local, vendor(company)), 0);
    const auto bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), 232u + 3 * 920u);
    EXPECT_EQ((std::tuple{codec::getU32(bytes.data(), 0), codec::getText(bytes.data(), 8, 14)}), (std::tuple{3u, "Company"}));
    EXPECT_TRUE(FindVendor(local, "acme", r) && r.company() == "Acme");  // the first in file order
    EXPECT_FALSE(FindVendor(local, "Acme ", r));  // no trimming; a miss keeps the name asked
    EXPECT_EQ(r.company(), "Acme ");
    EXPECT_FALSE(FindVendor(local, "Acm", r));
    EXPECT_EQ(FillVendorBox(local), (std::vector<std::string>{"Acme", "Bolt", "ACME"}));
    VendorRows rows;
    ASSERT_TRUE(rows.list(local));
    EXPECT_EQ((std::tuple{rows.size(), rows.cell(1, 0), rows.cell(1, 1), rows.cell(1, 2)}),
              (std::tuple{3u, "Bolt", "tel Bolt", "Bolt@supply.com"}));
    CountedFile file(VendorFileLayout());
    ASSERT_EQ(file.open(path, OpenMode::Read), FileCause::None);
    std::uint8_t buf[VendorRecord::kSize];
    EXPECT_FALSE(file.readRecord(3, buf) || file.readRecord(-1, buf));  // past the count, or negative
}

TEST_F(VendorFile, LabelsFromAStaleHeaderKeepTheVendorCount)
{
    VendorFileHeader h;
    h.labels[6] = "Mobile";
    ASSERT_EQ(ReadVendorHeader(local, h), 0);  // creates the file with these labels
    EXPECT_EQ((std::pair{h.count, fileSize(local.GetPath("Vendor"))}), (std::pair{0u, 232LL}));
    VendorFileHeader fresh, back;
    ASSERT_EQ(ReadVendorHeader(local, fresh), 0);
    EXPECT_EQ(fresh.labels[6], "Mobile");

    for (const char* c : {"Ace", "Bee", "Cog", "Dim"})
        ASSERT_EQ(AppendVendor(local, vendor(c)), 0);
    fresh.labels[7] = "Facsimile";
    fresh.count = 0;  // a stale copy must not lose the vendors
    ASSERT_EQ(WriteVendorHeader(local, fresh), 0);
    ASSERT_EQ(ReadVendorHeader(local, back), 0);
    EXPECT_EQ((std::pair{back.count, back.labels[7]}), (std::pair{4u, std::string("Facsimile")}));
}

