#include "CVendorDlg.h"

#include "CLabelsDlg.h"
#include "CLocalFile.h"
#include "ModalDriver.h"
#include "ContactTransfer.h"
#include "ContactWindowDriver.h"
#include "PlatformDoubles.h"
#include "PromptBridge.h"
#include "TempDir.h"
#include "VendorFile.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace {

class VendorWindow : public ::testing::Test {
protected:
    void SetUp() override { setUserPrompt(&bridge); }
    void TearDown() override { setUserPrompt(nullptr); }

    void add(const std::string& company)
    {
        VendorRecord r;
        r.text[VendorRecord::kCompany] = company;
        ASSERT_EQ(AppendVendor(local, r), 0);
    }
    std::vector<std::string> stored() const
    {
        std::vector<std::string> names;
        for (const auto& r : ReadVendors(local))
            names.push_back(r.company());
        return names;
    }

    TempDir dir;
    CLocalFile local{dir.path()};
    PromptBridge bridge;
    MessageBoxDouble boxes;
    FileDialogDouble files;
};

TEST_F(VendorWindow, YesOnAnotherRowSavesANewVendorWithItsNotes)
{
    add("Acme");
    CVendorDlg dlg(local);
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    type(&dlg, "text_0", "Bolt Co");
    QTest::keyClick(child<QLineEdit>(&dlg, "text_0"), Qt::Key_Return);  // Enter moves on as Tab
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(&dlg, "text_1"));
    auto* notes = child<QPlainTextEdit>(&dlg, "notes");
    notes->setFocus();
    QTest::keyClicks(notes, "ships Mondays");
    QTest::keyClick(notes, Qt::Key_Return);
    QTest::keyClicks(notes, "net 30");
    boxes.answer(MessageBox::Answer::Yes);
    moveInList(&dlg, "vendor_list", Qt::Key_Home);
    EXPECT_TRUE(boxes.saw("Do you want to save your changes first?"));
    EXPECT_EQ(stored(), (std::vector<std::string>{"Acme", "Bolt Co"}));
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

TEST_F(VendorWindow, SaveUpdatesTheSameCompanyAndDeleteAsks)
{
    add("Acme");
    CVendorDlg dlg(local);
    dlg.show();
    type(&dlg, "text_0", "ACME");
    type(&dlg, "text_8", "sales@acme");
    press(&dlg, "save");
    EXPECT_EQ(stored(), std::vector<std::string>{"ACME"});

    boxes.answer(MessageBox::Answer::Yes);
    boxes.answer(MessageBox::Answer::Ok);
    type(&dlg, "text_0", "Nobody");
    child<QAction>(&dlg, "action_delete")->trigger();
    EXPECT_TRUE(boxes.saw("Nothing deleted"));
    boxes.answer(MessageBox::Answer::Yes);
    type(&dlg, "text_0", "acme");
    child<QAction>(&dlg, "action_delete")->trigger();
    EXPECT_TRUE(stored().empty());
    EXPECT_EQ(child<QTreeWidget>(&dlg, "vendor_list")->topLevelItemCount(), 0);

    boxes.answer(MessageBox::Answer::Ok);
    press(&dlg, "save");
    EXPECT_TRUE(boxes.saw("Please enter a Company name."));
    EXPECT_FALSE(child<QAction>(&dlg, "action_print")->isEnabled());
    EXPECT_FALSE(child<QAction>(&dlg, "action_print_all")->isEnabled());
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
    EXPECT_EQ(child<QTreeWidget>(&dlg, "vendor_list")->topLevelItemCount(), 4);
}

TEST_F(VendorWindow, NewLabelsAreStoredAndCaptionTheFields)
{
    CVendorDlg dlg(local);
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

}  // namespace
