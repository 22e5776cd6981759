// Start-up, the dialog colours, and the File menu's "Connect..." and "New...".
#include "app/CRegisterApp.h"
#include "storage/io/ShareCheck.h"
#include "support/SaleScreenFixture.h"
#include "support/WindowKeys.h"

#include <QAction>
#include <QStyle>

#include <filesystem>

namespace {

struct SaleScreenStartUp : SaleScreenFixture {
    FileDialogDouble dialogs;

    void SetUp() override
    {
        SaleScreenFixture::SetUp();
        boxes.allowUnscriptedOk();
        open();
    }
    void trigger(const char* name) { child<QAction>(dlg.get(), name)->trigger(); }
    // The file set in use, as the window, the register's record and the header show it.
    void expectSet(const std::string& head, const std::string& notes)
    {
        EXPECT_TRUE(dlg->windowTitle().endsWith(QString::fromStdString(head))) << dlg->windowTitle().toStdString();
        EXPECT_EQ(reloaded().GetPath("Head"), dir.file(head));
        EXPECT_EQ(header.todaysNotes, notes);
    }
};

}  // namespace

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

// An empty folder starts with its record and a default set. Refused and
// cancelled choices keep the set in use and its data; a new set starts with
// default settings and "Connect..." returns to the old one.
TEST_F(SaleScreenStartUp, NewAndConnectSwitchSetsAndRefusedChoicesKeepTheCurrentOne)
{
    EXPECT_TRUE(boxes.texts().empty());
    expectSet("Retail.pos", SalesFileHeader{}.todaysNotes);
    header.todaysNotes = "old store";
    ASSERT_EQ(WriteHeader(local, header), 0);
    const auto before = readBytes(dir.file("Retail.pos"));

    dialogs.setNextFileName(dir.file("Retail.pos"));
    trigger("action_new");
    EXPECT_TRUE(boxes.saw("already exists"));
    EXPECT_EQ(readBytes(dir.file("Retail.pos")), before);

    dialogs.setNextFileName("");
    trigger("action_connect");
    EXPECT_EQ(boxes.texts().size(), 1u);
    expectSet("Retail.pos", "old store");

    std::filesystem::create_directory(dir.file("shop"));
    dialogs.setNextFileName(dir.file("shop/Shop.pos"));
    trigger("action_new");
    expectSet("shop/Shop.pos", SalesFileHeader{}.todaysNotes);
    EXPECT_EQ(reloaded().GetPath("Invoices"), dir.file("shop/Shop-Invs.pdb"));
    EXPECT_EQ(dialogs.requests().back().defaultExtension, ".pos");

    dialogs.setNextFileName(dir.file("Retail.pos"));
    trigger("action_connect");
    expectSet("Retail.pos", "old store");
    EXPECT_EQ(boxes.texts().size(), 1u);

    // Under security neither opens a file dialog: the double would fail the test.
    local.securityOn = 1;
    trigger("action_connect");
    trigger("action_new");
    EXPECT_EQ(boxes.texts().size(), 3u);
    EXPECT_TRUE(boxes.saw("Security is on."));
}

// A data folder on a share that cannot keep PCs apart, or only with one
// register on each PC, is named after "Connect..." and at start-up, and the
// register goes on with it.
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
    trigger("action_connect");
    EXPECT_TRUE(boxes.saw("cannot keep registers on different PCs apart"));
    expectSet("fuse/Shop.pos", SalesFileHeader{}.todaysNotes);

    boxes.clear();
    CLocalFile again(dir.path());
    CSaleDlg restarted(again, header);
    EXPECT_TRUE(restarted.Initialize());
    EXPECT_TRUE(boxes.saw("sales can be lost"));

    // SMB with leases: safe, but a register can wait without asking; said so.
    const std::string smb = "27 1 254:0 / / rw - ext4 /dev/vda rw\n"
                            "50 27 0:60 / " + real + " rw - cifs //server/shop rw,vers=3.1.1\n";
    writeBytes(table.file("mountinfo"), std::vector<std::uint8_t>(smb.begin(), smb.end()));
    boxes.clear();
    CLocalFile third(dir.path());
    CSaleDlg onSmb(third, header);
    EXPECT_TRUE(onSmb.Initialize());
    EXPECT_TRUE(boxes.saw("is safe, but slow at times"));
    EXPECT_FALSE(boxes.saw("sales can be lost"));
    SetMountTablePath({});
}
