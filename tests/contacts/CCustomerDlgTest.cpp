#include "CCustomerDlg.h"

#include "CExportCustomerDlg.h"
#include "CLocalFile.h"
#include "ContactTransfer.h"
#include "CustomerFile.h"
#include "ListFiles.h"
#include "ContactWindowDriver.h"
#include "ModalDriver.h"
#include "PlatformDoubles.h"
#include "PromptBridge.h"
#include "SalesFileHeader.h"
#include "TempDir.h"

#include <QComboBox>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

class CustomerWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        setUserPrompt(&bridge);
        ASSERT_FALSE(local.Load());
        ASSERT_EQ(OpenOrCreateHeader(local, header), 0);
    }
    void TearDown() override { setUserPrompt(nullptr); }

    void add(const std::string& name, std::uint8_t level = 0)
    {
        CustomerRecord r;
        r.text[CustomerRecord::kName] = name;
        r.priceLevel = level;
        ASSERT_NE(SaveCustomerByName(local, r), CustomerSave::NotSaved);
    }
    std::vector<std::string> storedNames() const
    {
        std::vector<std::string> names;
        for (const auto& r : ReadCustomers(local))
            names.push_back(r.name());
        return names;
    }

    TempDir dir;
    CLocalFile local{dir.path()};
    SalesFileHeader header;
    PromptBridge bridge;
    MessageBoxDouble boxes;
    FileDialogDouble files;
};

TEST_F(CustomerWindow, EditsAreSavedAndAChangedCustomerIsSavedBeforeAnotherRowShows)
{
    add("Ann");
    CCustomerDlg dlg(local, header);
    dlg.show();
    EXPECT_FALSE(child<QPushButton>(&dlg, "save")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(&dlg, "delete")->isEnabled());

    type(&dlg, "text_0", "Bob");
    type(&dlg, "text_6", "555-1234");
    QTest::keyClick(child<QRadioButton>(&dlg, "level_2"), Qt::Key_Space);
    type(&dlg, "order_limit", "250.5");
    EXPECT_TRUE(child<QPushButton>(&dlg, "save")->isEnabled());
    press(&dlg, "save");
    EXPECT_EQ(listed(&dlg, "customer_list"), QStringList({"Ann", "Bob"}));
    CustomerRecord bob;
    ASSERT_TRUE(FindCustomerByName(local, "bob", bob));
    EXPECT_EQ(bob.text[CustomerRecord::kPhone], "555-1234");
    EXPECT_EQ(bob.priceLevel, 2);
    EXPECT_FLOAT_EQ(bob.orderLimit, 250.5f);
    EXPECT_EQ(bob.customerNumber, 2);

    // Edit Bob, then move to Ann's row: Bob is saved first, then Ann shows.
    type(&dlg, "text_8", "bob@example.com");
    moveInList(&dlg, "customer_list", Qt::Key_Home);
    EXPECT_EQ(child<QLineEdit>(&dlg, "text_0")->text(), "Ann");
    ASSERT_TRUE(FindCustomerByNumber(local, 2, bob));
    EXPECT_EQ(bob.text[CustomerRecord::kEmail], "bob@example.com");
    EXPECT_TRUE(child<QPushButton>(&dlg, "delete")->isEnabled());

    // A nameless customer is refused and nothing is stored.
    press(&dlg, "new");
    type(&dlg, "text_1", "Company only");
    boxes.answer(MessageBox::Answer::Ok);
    press(&dlg, "save");
    EXPECT_TRUE(boxes.saw("Please enter a Company name."));
    EXPECT_EQ(storedNames(), (std::vector<std::string>{"Ann", "Bob"}));
}

TEST_F(CustomerWindow, DeleteAsksFirstAndTheListFollowsSelectorAndSearch)
{
    add("Ann", 0);
    add("Bob", 2);
    add("Cy", 2);
    CCustomerDlg dlg(local, header);
    dlg.show();
    QTest::keyClick(child<QRadioButton>(&dlg, "list_3"), Qt::Key_Space);
    EXPECT_EQ(listed(&dlg, "customer_list"), QStringList({"Bob", "Cy"}));
    type(&dlg, "search", "ann");
    QTest::keyClick(child<QLineEdit>(&dlg, "search"), Qt::Key_Return);
    EXPECT_EQ(listed(&dlg, "customer_list"), QStringList({"Ann"}));
    QTest::keyClick(child<QRadioButton>(&dlg, "list_0"), Qt::Key_Space);
    moveInList(&dlg, "customer_list", Qt::Key_End);
    EXPECT_EQ(child<QLineEdit>(&dlg, "text_0")->text(), "Cy");

    boxes.answer(MessageBox::Answer::No);
    press(&dlg, "delete");
    EXPECT_EQ(storedNames().size(), 3u);
    boxes.answer(MessageBox::Answer::Yes);
    press(&dlg, "delete");
    EXPECT_EQ(boxes.texts().size(), 2u);
    EXPECT_EQ(storedNames(), (std::vector<std::string>{"Ann", "Bob"}));
    EXPECT_EQ(listed(&dlg, "customer_list"), QStringList({"Ann", "Bob"}));
    EXPECT_EQ(child<QLineEdit>(&dlg, "text_0")->text(), "");
    EXPECT_FALSE(child<QPushButton>(&dlg, "delete")->isEnabled());
}

TEST_F(CustomerWindow, OpensOnThePresetNameOrANewCustomerInTheDefaultZone)
{
    ASSERT_EQ(AppendTaxZone(local, {"County", 6.0f, 0.5f}), 0);
    ASSERT_EQ(SetDefaultZone(local, "County"), 0);
    CustomerRecord ann;
    ann.text[CustomerRecord::kName] = "Ann";
    ann.text[CustomerRecord::kCity] = "Arbor";
    ann.termsIndex = 1;
    ASSERT_EQ(SaveCustomerByName(local, ann), CustomerSave::Appended);

    CCustomerDlg found(local, header, "ANN");
    EXPECT_EQ(child<QLineEdit>(&found, "text_3")->text(), "Arbor");
    EXPECT_EQ(child<QComboBox>(&found, "terms")->currentText(), "NET 30");
    EXPECT_FALSE(child<QPushButton>(&found, "save")->isEnabled());

    CCustomerDlg fresh(local, header, "Dan");
    EXPECT_EQ(child<QLineEdit>(&fresh, "text_0")->text(), "Dan");
    EXPECT_EQ(child<QComboBox>(&fresh, "tax_zone")->currentText(), "County");
    EXPECT_TRUE(child<QPushButton>(&fresh, "save")->isEnabled());
    EXPECT_EQ(fresh.customerName(), "Dan");
    EXPECT_EQ(storedNames(), std::vector<std::string>{"Ann"});  // not saved until asked
}

TEST_F(CustomerWindow, ExportListedWritesTheListedCustomersAfterASearch)
{
    add("Ann");
    add("Bob");
    CCustomerDlg dlg(local, header);
    dlg.show();
    type(&dlg, "search", "bo");
    press(&dlg, "list_button");
    const std::string path = dir.file("Address.txt");
    files.setNextFileName(path);
    whenModal<CExportCustomerDlg>([](CExportCustomerDlg* choice) {
        auto* b = choice->findChild<QPushButton*>("listed_addresses");
        b->setFocus();
        QTest::keyClick(b, Qt::Key_Space);
    });
    press(&dlg, "export");
    const auto bytes = readBytes(path);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "Bob\t\t\t\t\t\r\n");
    ASSERT_EQ(files.requests().size(), 1u);
    EXPECT_EQ(files.requests()[0].initialName, "Address.txt");
    EXPECT_TRUE(files.requests()[0].save);
}

TEST_F(CustomerWindow, ImportAskThenAddsAndSecurityRefusesTransfers)
{
    const std::string path = dir.file("in.txt");
    const std::string text = "Ann\tMain St\r\nBob";
    writeBytes(path, {text.begin(), text.end()});
    CCustomerDlg dlg(local, header);
    dlg.show();

    boxes.answer(MessageBox::Answer::Cancel);
    press(&dlg, "import");
    EXPECT_TRUE(boxes.saw("Import Addresses\n\nImports tab delimited text files"));
    EXPECT_TRUE(storedNames().empty());

    boxes.answer(MessageBox::Answer::Ok);
    files.setNextFileName(path);
    press(&dlg, "import");
    EXPECT_EQ(listed(&dlg, "customer_list"), QStringList({"Ann", "Bob"}));

    local.securityOn = 1;
    boxes.clear();
    boxes.answer(MessageBox::Answer::Ok);
    boxes.answer(MessageBox::Answer::Ok);
    press(&dlg, "import");
    press(&dlg, "export");
    EXPECT_EQ(boxes.texts().size(), 2u);
    EXPECT_TRUE(boxes.saw("Security is on."));
    EXPECT_EQ(storedNames().size(), 2u);
}

}  // namespace
