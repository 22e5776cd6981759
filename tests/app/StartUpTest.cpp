#include "CLocalFile.h"
#include "CSaleDlg.h"
#include "PlatformDoubles.h"
#include "PromptBridge.h"
#include "SalesFileHeader.h"
#include "TempDir.h"

#include <gtest/gtest.h>

TEST(SaleScreenStartUp, EmptyFolderGetsItsRecordAndHeader)
{
    TempDir dir;
    MessageBoxDouble boxes;
    PromptBridge bridge;
    setUserPrompt(&bridge);
    CLocalFile local(dir.path());
    SalesFileHeader header;
    CSaleDlg dlg(local, header);
    EXPECT_TRUE(dlg.Initialize());
    EXPECT_TRUE(boxes.texts().empty());
    EXPECT_EQ(fileSize(dir.file("LocalFileNames.plf")), 2584);
    EXPECT_EQ(fileSize(dir.file("Retail.pos")), 4916);
    EXPECT_TRUE(dlg.windowTitle().contains("Retail.pos"));
    setUserPrompt(nullptr);
}

TEST(SaleScreenStartUp, ConnectIsRefusedWhileSecurityIsOn)
{
    TempDir dir;
    MessageBoxDouble boxes;
    PromptBridge bridge;
    setUserPrompt(&bridge);
    CLocalFile local(dir.path());
    SalesFileHeader header;
    CSaleDlg dlg(local, header);
    ASSERT_TRUE(dlg.Initialize());
    local.securityOn = 1;
    boxes.answer(MessageBox::Answer::Ok);
    dlg.OnFileConnect();  // no file dialog may open: the double would fail the test
    EXPECT_TRUE(boxes.saw("Security is on."));
    setUserPrompt(nullptr);
}
