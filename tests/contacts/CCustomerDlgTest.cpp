// The customer and vendor windows driven from the keyboard.
#include "contacts/CCustomerDlg.h"
#include "contacts/CExportCustomerDlg.h"
#include "contacts/CLabelsDlg.h"
#include "contacts/CVendorDlg.h"
#include "storage/files/CustomerFile.h"
#include "storage/files/VendorFile.h"

#include "ContactWindowDriver.h"
#include "support/BackOfficeWindow.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace {

struct ContactWindow : BackOfficeWindow {
    void addCustomer(const std::string& name, std::uint8_t level = 0)
    {
        CustomerRecord r;
        r.text[CustomerRecord::kName] = name;
        r.priceLevel = level;
        ASSERT_NE(SaveCustomerByName(local, r), CustomerSave::NotSaved);
    }
    void addVendor(const std::string& company)
    {
        VendorRecord r;
        r.text[VendorRecord::kCompany] = company;
        ASSERT_EQ(AppendVendor(local, r), 0);
    }
    std::vector<std::string> storedNames() const { return namesOf(ReadCustomers(local), &CustomerRecord::name); }
    std::vector<std::string> storedVendors() const { return namesOf(ReadVendors(local), &VendorRecord::company); }
    template <class R, class F> static std::vector<std::string> namesOf(const std::vector<R>& records, F name)
    {
        std::vector<std::string> out;
        for (const R& r : records)
            out.push_back(std::invoke(name, r));
        return out;
    }
};
using CustomerWindow = ContactWindow;
using VendorWindow = ContactWindow;

TEST_F(CustomerWindow, EditsAreSavedAndAChangedCustomerIsSavedBeforeAnotherRowShows)
{
    addCustomer("Ann");
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
    expectMessage(boxes, "Please enter a Company name.", [&] { press(&dlg, "save"); });
    EXPECT_EQ(storedNames(), (std::vector<std::string>{"Ann", "Bob"}));
}

TEST_F(CustomerWindow, DeleteAsksFirstAndTheListFollowsSelectorAndSearch)
{
    addCustomer("Ann", 0);
    addCustomer("Bob", 2);
    addCustomer("Cy", 2);
    CCustomerDlg dlg(local, header);
    dlg.show();
    QTest::keyClick(child<QRadioButton>(&dlg, "list_3"), Qt::Key_Space);
    EXPECT_EQ(listed(&dlg, "customer_list"), QStringList({"Bob", "Cy"}));
    retypeAndEnter(&dlg, "search", "ann");
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

TEST_F(CustomerWindow, ImportAsksThenAddsExportWritesTheListedAndSecurityRefusesBoth)
{
    const std::string in = dir.file("in.txt"), out = dir.file("Address.txt");
    const std::string text = "Ann\tMain St\r\nBob";
    writeBytes(in, {text.begin(), text.end()});
    CCustomerDlg dlg(local, header);
    dlg.show();

    boxes.answer(MessageBox::Answer::Cancel);
    press(&dlg, "import");
    EXPECT_TRUE(boxes.saw("Import Addresses\n\nImports tab delimited text files"));
    EXPECT_TRUE(storedNames().empty());
    boxes.answer(MessageBox::Answer::Ok);
    files.setNextFileName(in);
    press(&dlg, "import");
    EXPECT_EQ(listed(&dlg, "customer_list"), QStringList({"Ann", "Bob"}));

    // After a search, "listed addresses" exports only what the list shows.
    type(&dlg, "search", "bo");
    press(&dlg, "list_button");
    files.setNextFileName(out);
    whenModal<CExportCustomerDlg>([](CExportCustomerDlg* choice) { press(choice, "listed_addresses"); });
    press(&dlg, "export");
    const auto bytes = readBytes(out);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "Bob\t\t\t\t\t\r\n");
    ASSERT_EQ(files.requests().size(), 2u);
    EXPECT_EQ(files.requests()[1].initialName, "Address.txt");
    EXPECT_TRUE(files.requests()[1].save);

    local.securityOn = 1;
    expectMessage(boxes, kSecurityRefusal, [&] { press(&dlg, "import"); });
    expectMessage(boxes, kSecurityRefusal, [&] { press(&dlg, "export"); });
    EXPECT_EQ(storedNames().size(), 2u);
}

TEST_F(VendorWindow, YesOnAnotherRowSavesANewVendorWithItsNotes)
{
    addVendor("Acme");
    CVendorDlg dlg(local);
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    retypeAndEnter(&dlg, "text_0", "Bolt Co");  // Enter moves on as Tab
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(&dlg, "text_1"));
    retypeAndEnter(&dlg, "notes", "ships Mondays");
    auto* notes = child<QPlainTextEdit>(&dlg, "notes");
    QTest::keyClicks(notes, "net 30");
    boxes.answer(MessageBox::Answer::Yes);
    moveInList(&dlg, "vendor_list", Qt::Key_Home);
    EXPECT_TRUE(boxes.saw("Do you want to save your changes first?"));
    EXPECT_EQ(storedVendors(), (std::vector<std::string>{"Acme", "Bolt Co"}));
    EXPECT_EQ(child<QLineEdit>(&dlg, "text_0")->text(), "Acme");
    VendorRecord bolt;
    ASSERT_TRUE(FindVendor(local, "bolt co", bolt));
    EXPECT_EQ(bolt.notes, "ships Mondays\r\nnet 30");

    moveInList(&dlg, "vendor_list", Qt::Key_End);  // nothing changed: no question
    EXPECT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(notes->toPlainText(), "ships Mondays\nnet 30");

    // No keeps the file as it was.
    type(&dlg, "text_6", "555");
    boxes.answer(MessageBox::Answer::No);
    moveInList(&dlg, "vendor_list", Qt::Key_Home);
    ASSERT_TRUE(FindVendor(local, "Bolt Co", bolt));
    EXPECT_EQ(bolt.text[VendorRecord::kPhone], "");
}

TEST_F(VendorWindow, SaveUpdatesTheSameCompanyDeleteAsksAndNewLabelsCaptionTheFields)
{
    addVendor("Acme");
    CVendorDlg dlg(local);
    dlg.show();
    type(&dlg, "text_0", "ACME");
    type(&dlg, "text_8", "sales@acme");
    press(&dlg, "save");
    EXPECT_EQ(storedVendors(), std::vector<std::string>{"ACME"});

    boxes.answer(MessageBox::Answer::Yes);
    boxes.answer(MessageBox::Answer::Ok);
    type(&dlg, "text_0", "Nobody");
    child<QAction>(&dlg, "action_delete")->trigger();
    EXPECT_TRUE(boxes.saw("Nothing deleted"));
    boxes.answer(MessageBox::Answer::Yes);
    type(&dlg, "text_0", "acme");
    child<QAction>(&dlg, "action_delete")->trigger();
    EXPECT_TRUE(storedVendors().empty());
    EXPECT_EQ(child<QAbstractItemView>(&dlg, "vendor_list")->model()->rowCount(), 0);

    expectMessage(boxes, "Please enter a Company name.", [&] { press(&dlg, "save"); });
    EXPECT_FALSE(child<QAction>(&dlg, "action_print")->isEnabled());
    EXPECT_FALSE(child<QAction>(&dlg, "action_print_all")->isEnabled());

    // New labels are stored and caption the fields.
    whenModal<CLabelsDlg>([](CLabelsDlg* labels) {
        type(labels, "label_6", "Mobile phone number");
        press(labels, "ok");
    });
    press(&dlg, "labels");
    EXPECT_EQ(child<QLabel>(&dlg, "caption_6")->text(), "Mobile phone ");
    VendorFileHeader file;
    ASSERT_EQ(ReadVendorHeader(local, file), 0);
    EXPECT_EQ(file.labels[6], "Mobile phone ");
    EXPECT_EQ(file.labels[7], "Fax#");
}

TEST_F(VendorWindow, ExportThenImportThroughTheMenuReproducesEveryField)
{
    std::vector<VendorRecord> originals(2);
    for (std::size_t k = 0; k < VendorRecord::kTextCount; ++k) {
        originals[0].text[k] = "a" + std::to_string(k);
        originals[1].text[k] = k == 4 ? "" : "b" + std::to_string(k);  // an empty field in the middle
    }
    originals[0].notes = "not exported";
    ASSERT_EQ(AppendVendors(local, originals), 0);
    CVendorDlg dlg(local);
    dlg.show();
    const std::string path = dir.file("Address.txt");
    files.setNextFileName(path);
    child<QAction>(&dlg, "action_export")->trigger();
    boxes.answer(MessageBox::Answer::Ok);
    files.setNextFileName(path);
    child<QAction>(&dlg, "action_import")->trigger();
    EXPECT_TRUE(boxes.saw("Import Vendor Information"));
    const auto stored = ReadVendors(local);
    ASSERT_EQ(stored.size(), 4u);
    EXPECT_EQ(stored[2].text, originals[0].text);
    EXPECT_EQ(stored[3].text, originals[1].text);
    EXPECT_EQ(stored[2].notes, "");
    EXPECT_EQ(child<QAbstractItemView>(&dlg, "vendor_list")->model()->rowCount(), 4);
}

}  // namespace
