#include "settings/SetupLists.h"

#include "settings/GeneralSettings.h"
#include "settings/StoreDetails.h"
#include "storage/files/ListFiles.h"
#include "support/DataFolder.h"

#include <tuple>

namespace {

struct StoreSetup : DataFolder {
    void SetUp() override { ASSERT_EQ(OpenOrCreateHeader(local, header), 0); }
    SalesFileHeader stored() const
    {
        SalesFileHeader h;
        EXPECT_EQ(ReadHeader(local, h), 0);
        return h;
    }
};

TEST(SetupLists, TextListRules)
{
    const std::string pay23(23, 'p');
    const std::string name39(39, 'c');
    std::string tooLong;
    for (int i = 0; i < 50; ++i)  // 840 bytes
        tooLong += "Entry number " + std::to_string(i) + "\r\n";
    std::string lines780;
    for (int i = 0; i < 20; ++i)
        lines780 += std::string(37, 'd') + "\r\n";
    const std::string fits = lines780 + std::string(17, 'e') + "\r\n";  // 799 bytes and its NUL
    struct Case {
        const TextListKind* kind;
        std::string typed;
        std::string refusal;
        std::string stored;
    } const cases[] = {
        {&kPaymentTypeList, "Cash\r\n" + pay23 + "\r\n", "", "Cash\r\n" + pay23 + "\r\n"},
        {&kPaymentTypeList, "Cash\r\n" + pay23 + "x", "Can't save.\nA Pay Type is to long.", ""},
        {&kCategoryList, "Books\r\nToys", "", "Books\r\nToys\r\n"},
        {&kCategoryList, "Books\nToys\n", "", "Books\r\nToys\r\n"},
        {&kCategoryList, name39 + "c\r\n", "Can't save.\nA Category name is to long.", ""},
        {&kDepartmentList, name39, "", name39 + "\r\n"},
        {&kDepartmentList, name39 + "d", "Can't save.\nA Department name is to long.", ""},
        {&kDepartmentList, tooLong, kListTooLong, ""},
        {&kDepartmentList, fits, "", fits},
        {&kDepartmentList, lines780 + std::string(18, 'e'), kListTooLong, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextListRefusal(*c.kind, c.typed), c.refusal) << c.typed;
        if (c.refusal.empty()) {
            EXPECT_EQ(AsStoredList(c.typed), c.stored) << c.typed;
        }
    }
}

TEST_F(StoreSetup, ListsAndSettingsSavedAtOnceFromTwoRegistersKeepBoth)
{
    SalesFileHeader other = header;  // the second register's copy, read at the same time
    ASSERT_EQ(SaveTextList(local, header, kPaymentTypeList, "Cash\r\nGift Card\r\n"), 0);
    DiscountLevels levels = DiscountLevels::From(other);
    levels.percent[1] = 15;
    ASSERT_EQ(SaveDiscountLevels(local, other, levels), 0);
    SimpleTaxSettings tax = SimpleTaxSettings::From(header);
    tax.tax1 = 8.875f;
    ASSERT_EQ(SaveSimpleTax(local, header, tax), 0);
    const SalesFileHeader h = stored();
    EXPECT_EQ(h.paymentTypes, "Cash\r\nGift Card\r\n");
    EXPECT_FLOAT_EQ(h.discountPercent[1], 15);
    EXPECT_FLOAT_EQ(h.simpleTax1, 8.875f);
    // A refused list changes nothing.
    EXPECT_NE(SaveTextList(local, header, kPaymentTypeList, std::string(24, 'x')), 0);
    EXPECT_EQ(stored().paymentTypes, "Cash\r\nGift Card\r\n");
}

TEST(SetupLists, TermsNumbersAreRangeChecked)
{
    struct Case {
        const char *percent, *discountDays, *netDays;
        bool ok;
        int p, d, n;
        const char* wholeOnly = nullptr;  // the box refused for a fraction or a text
    } const cases[] = {
        {"2", "10", "30", true, 2, 10, 30},   {"2.0", "10", "45", true, 2, 10, 45},
        {"2.5", "10", "30", false, 0, 0, 0, "Discount%"}, {"2", "1O", "30", false, 0, 0, 0, "Discount Days"},
        {"", "", "", true, 0, 0, 0},          {"100", "9999", "9999", true, 100, 9999, 9999},
        {"-1", "10", "30", false, 0, 0, 0},   {"101", "10", "30", false, 0, 0, 0},
        {"2", "70000", "30", false, 0, 0, 0}, {"2", "10", "-30", false, 0, 0, 0},
        {"2", "10", "40000", false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        TermsRecord t;
        const std::string refusal = TermsFrom(c.percent, c.discountDays, c.netDays, t);
        EXPECT_EQ(refusal.empty(), c.ok) << c.percent << " " << c.discountDays << " " << c.netDays;
        if (c.ok) {
            EXPECT_EQ(std::tie(t.discountPercent, t.discountDays, t.netDays), std::tie(c.p, c.d, c.n));
        } else if (c.wholeOnly) {
            EXPECT_EQ(refusal, "The box \"" + std::string(c.wholeOnly) + "\" takes a whole number.\n\n\"" +
                                   (c.percent == std::string("2") ? c.discountDays : c.percent) + "\" is not one.");
        } else {
            EXPECT_EQ(refusal, kTermsRefused);
        }
    }
}

TEST_F(StoreSetup, LogoPathAndCompanyFitTheirFields)
{
    EXPECT_EQ(SaveLogoPath(local, header, "/logos/" + std::string(172, 'a')), LogoSave::Saved);  // 179: the most that fits
    EXPECT_EQ(SaveLogoPath(local, header, "/logos/" + std::string(200, 'b')), LogoSave::TooLong);
    EXPECT_EQ(stored().logoPath, "/logos/" + std::string(172, 'a'));

    CompanyDetails c;
    c.name = std::string(50, 'N');
    c.phone = std::string(30, '5');
    c.address = "12 Main St\n" + std::string(66, 'x') + "\nSpringfield";  // cut inside its line end
    ASSERT_EQ(SaveCompanyDetails(local, header, c), 0);
    const SalesFileHeader h = stored();
    EXPECT_EQ(h.companyName, std::string(39, 'N'));
    EXPECT_EQ(h.phone, std::string(23, '5'));
    EXPECT_EQ(h.companyAddress, "12 Main St\r\n" + std::string(66, 'x'));
}

TEST(GeneralSettings, TypedNumbers)
{
    struct Case {
        const char* text;
        int fontSize;
        double number;
    } const cases[] = {
        {"18.7", 18, 18.7}, {"24", 24, 24},   {"0", 6, 0},       {"300", 128, 300},
        {"abc", 6, 0},      {"12.5x", 12, 12.5}, {"-5", 6, -5}, {"", 6, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RollFontSizeFrom(c.text), c.fontSize) << c.text;
        EXPECT_DOUBLE_EQ(NumberFrom(c.text), c.number) << c.text;
    }
}

TEST(GeneralSettings, RulesInTheirOrder)
{
    struct Case {
        bool mustAddress, showAddress, mustCash, showChange;
        const char* start;  // of the message; empty when the rules hold
    } const cases[] = {
        {false, false, false, false, ""},
        {true, true, true, true, ""},
        {true, false, false, true, "When the 'Must enter Customer Address'"},
        {true, false, true, false, "When the 'Must enter Customer Address'"},
        {false, true, true, false, "When the 'Must enter Cash Paid'"},
    };
    for (const Case& c : cases) {
        SalesFileHeader h;
        h.mustEnterAddress = c.mustAddress;
        h.showMailingAddress = c.showAddress;
        h.mustEnterCashPaid = c.mustCash;
        h.showChangeCalc = c.showChange;
        EXPECT_EQ(GeneralRuleMessage(h).rfind(c.start, 0), 0u) << c.start;
        EXPECT_EQ(GeneralRuleMessage(h).empty(), *c.start == '\0');
    }
}

}  // namespace
