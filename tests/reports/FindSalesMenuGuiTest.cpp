// Find Sales' own menu: the main menu's settings, working from here, and the
// help items, each with its text.

#include "reports/CFindSalesDlg.h"
#include "sale/CSaleDlg.h"
#include "support/BackOfficeWindow.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

using FindSalesMenu = BackOfficeWindow;

TEST_F(FindSalesMenu, SettingsAreTheMainMenusAndEveryHelpItemSpeaks)
{
    CSaleDlg screen(local, header);
    ASSERT_TRUE(screen.Initialize());
    QStringList mainSettings, settings, help;
    for (QAction* a : screen.menuBar()->findChild<QMenu*>("menu_settings")->actions())
        mainSettings << a->text();
    whenModal<CFindSalesDlg>([&](CFindSalesDlg* dlg) {
        auto* menu = dlg->findChild<QMenuBar*>()->findChild<QMenu*>("menu_settings");
        for (QAction* a : menu->actions())
            settings << a->text();
        // A setting opens from here as from the main menu.
        ModalGuard opened;
        for (QAction* a : menu->actions())
            if (a->text() == "Cashiers")
                a->trigger();
        EXPECT_TRUE(opened.opened());
        for (QAction* a : dlg->findChild<QMenuBar*>()->findChild<QMenu*>("menu_help")->actions()) {
            help << a->text();
            const auto before = boxes.texts().size();
            boxes.answer(MessageBox::Answer::Ok);
            a->trigger();
            ASSERT_EQ(boxes.texts().size(), before + 1) << a->text().toStdString();
            EXPECT_EQ(boxes.texts().back().rfind(a->text().toStdString() + "\n\n", 0), 0u) << boxes.texts().back();
        }
        dlg->reject();
    });
    screen.menuBar()->findChild<QAction*>("action_find_sale")->trigger();
    EXPECT_EQ(settings, mainSettings);
    EXPECT_EQ(help, (QStringList{"Today's Sales", "Search", "Sales Total", "Use Date", "Low Margin Check",
                                 "How to View a Sale", "How to Limit a Selection by Dates"}));
}

}  // namespace
