// Start-up, the dialog colours, and the File menu's "Connect..." and "New...".
#include "CLocalFile.h"
#include "CRegisterApp.h"
#include "CSaleDlg.h"
#include "RegisterFixture.h"
#include "SalesFileHeader.h"
#include "ShareCheck.h"

#include <QAction>
#include <QApplication>
#include <QStyle>

#include <filesystem>

namespace {

struct SaleScreenStartUp : RegisterFixture {
    FileDialogDouble dialogs;
    CSaleDlg* dlg = nullptr;

    void SetUp() override
    {
        RegisterFixture::SetUp();
        dlg = new CSaleDlg(local, header);
        ASSERT_TRUE(dlg->Initialize());
    }
    void TearDown() override
    {
        delete dlg;
        RegisterFixture::TearDown();
    }
    void trigger(const char* name)
    {
        auto* action = dlg->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    // The file set in use, as the window, the register's record and the header show it.
    void expectSet(const std::string& head, const std::string& notes)
    {
        EXPECT_TRUE(dlg->windowTitle().endsWith(QString::fromStdString(head))) << dlg->windowTitle().toStdString();
        EXPECT_EQ(reloaded().GetPath("Head"), dir.file(head));
        EXPECT_EQ(header.todaysNotes, notes);
    }
};

}  // namespace

TEST_F(SaleScreenStartUp, EmptyFolderGetsItsRecordAndHeaderAndConnectAndNewAreProtected)
{
    EXPECT_TRUE(boxes.texts().empty());
    EXPECT_EQ(fileSize(dir.file("LocalFileNames.plf")), 2584);
    EXPECT_EQ(fileSize(dir.file("Retail.pos")), 4916);
    expectSet("Retail.pos", SalesFileHeader{}.todaysNotes);
    local.securityOn = 1;
    for (const char* action : {"action_connect", "action_new"}) {
        boxes.answer(MessageBox::Answer::Ok);
        trigger(action);  // no file dialog may open: the double would fail the test
    }
    EXPECT_EQ(boxes.texts().size(), 2u);
    EXPECT_TRUE(boxes.saw("Security is on."));
}

TEST_F(SaleScreenStartUp, DialogColoursKeepTheirBackgroundAndGreyWhatIsDisabled)
{
    const QPalette before = QApplication::palette();
    const QString style = QApplication::style()->name();
    CRegisterApp::ApplyDialogColours(*qApp);
    const QPalette p = QApplication::palette();
    QApplication::setPalette(before);
    QApplication::setStyle(style);
    EXPECT_EQ(p.color(QPalette::Active, QPalette::Window), QColor(245, 240, 225));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        EXPECT_EQ(p.color(QPalette::Active, role), QColor(Qt::black)) << role;
        EXPECT_NE(p.color(QPalette::Disabled, role), p.color(QPalette::Active, role)) << role;
    }
}

TEST_F(SaleScreenStartUp, NewStartsAFreshSetAndConnectReturnsToTheOldOne)
{
    std::filesystem::create_directory(dir.file("shop"));
    header.todaysNotes = "old store";
    ASSERT_EQ(WriteHeader(local, header), 0);

    dialogs.setNextFileName(dir.file("shop/Shop.pos"));
    trigger("action_new");
    EXPECT_EQ(fileSize(dir.file("shop/Shop.pos")), 4916);
    expectSet("shop/Shop.pos", SalesFileHeader{}.todaysNotes);  // a new set starts with default settings
    EXPECT_EQ(reloaded().GetPath("Invoices"), dir.file("shop/Shop-Invs.pdb"));
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].defaultExtension, ".pos");

    dialogs.setNextFileName(dir.file("Retail.pos"));
    trigger("action_connect");
    expectSet("Retail.pos", "old store");
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(SaleScreenStartUp, RefusedChoicesKeepTheCurrentSetAndItsData)
{
    header.todaysNotes = "keep me";
    ASSERT_EQ(WriteHeader(local, header), 0);
    const auto before = readBytes(dir.file("Retail.pos"));

    // "New..." on the name of the set in use must not overwrite it.
    dialogs.setNextFileName(dir.file("Retail.pos"));
    boxes.answer(MessageBox::Answer::Ok);
    trigger("action_new");
    EXPECT_TRUE(boxes.saw("already exists"));
    EXPECT_EQ(readBytes(dir.file("Retail.pos")), before);

    // A folder too long for the 179-character slots.
    const std::string deep = dir.path() + std::string(170, 'd') + "/";
    std::filesystem::create_directory(deep);
    dialogs.setNextFileName(deep + "Shop.pos");
    boxes.answer(MessageBox::Answer::Ok);
    trigger("action_new");
    EXPECT_TRUE(boxes.saw("The path is too long"));
    EXPECT_FALSE(fileExists(deep + "Shop.pos"));

    // Cancelled dialogs change nothing and say nothing.
    dialogs.setNextFileName("");
    trigger("action_connect");
    EXPECT_EQ(boxes.texts().size(), 2u);
    expectSet("Retail.pos", "keep me");
}

// A data folder on a share that cannot keep PCs apart is named after
// "Connect..." and at start-up, and the register goes on with it.
TEST_F(SaleScreenStartUp, UnsafeShareIsNamedAfterConnectAndAtStartUp)
{
    TempDir table;
    std::filesystem::create_directory(dir.file("fuse"));
    const std::string real = std::filesystem::canonical(dir.file("fuse")).string();
    const std::string lines = "27 1 254:0 / / rw - ext4 /dev/vda rw\n"
                              "50 27 0:60 / " + real + " rw - fuse.sshfs shop:/data rw\n";
    writeBytes(table.file("mountinfo"), std::vector<std::uint8_t>(lines.begin(), lines.end()));
    SetMountTablePath(table.file("mountinfo"));

    dialogs.setNextFileName(dir.file("fuse/Shop.pos"));
    boxes.answer(MessageBox::Answer::Ok);
    trigger("action_connect");
    EXPECT_TRUE(boxes.saw("cannot keep registers on different PCs apart"));
    EXPECT_EQ(fileSize(dir.file("fuse/Shop.pos")), 4916);
    EXPECT_TRUE(dlg->windowTitle().contains("Shop.pos"));

    boxes.clear();
    boxes.answer(MessageBox::Answer::Ok);
    CLocalFile again(dir.path());
    CSaleDlg restarted(again, header);
    EXPECT_TRUE(restarted.Initialize());
    EXPECT_TRUE(boxes.saw("sales can be lost"));
    SetMountTablePath({});
}
