// The sale screen reaching the customer window from the keyboard.
#include "ContactWindowDriver.h"
#include "contacts/CCustomerDlg.h"
#include "storage/files/CustomerFile.h"
#include "support/ModalDriver.h"
#include "support/SaleScreenFixture.h"

#include <QRadioButton>

using namespace SaleIds;

namespace {

struct CustomerFromSale : SaleScreenFixture {
    void SetUp() override
    {
        SaleScreenFixture::SetUp();
        ProductRecord p = saleProduct("A100", 10.0f, 0);
        p.price[2] = 7.0f;
        addProducts({p});
        ASSERT_EQ(AppendTaxZone(local, TaxTableRecord{"Home", 6.0f, 0.0f}), 0);
        ASSERT_EQ(SetDefaultZone(local, "Home"), 0);
    }
    // In the customer window: level 2, saved, then "Done".
    static void saveAtLevelTwo(CCustomerDlg* customers)
    {
        QTest::keyClick(child<QRadioButton>(customers, "level_2"), Qt::Key_Space);
        press(customers, "save");
        press(customers, "done");
    }
};

}  // namespace

TEST_F(CustomerFromSale, F3OpensTheWindowOnTheSaleNameAndShowsTheChosenCustomer)
{
    open();
    typeInto(kItem, "A100");
    whenModal<CCustomerDlg>([](CCustomerDlg* customers) {
        EXPECT_EQ(child<QLineEdit>(customers, "text_0")->text(), "");
        type(customers, "text_0", "Dana");
        type(customers, "text_3", "Arbor");
        saveAtLevelTwo(customers);
    });
    key(Qt::Key_F3);
    expectTexts({{kCustomerName, "Dana"}, {kCustomerName + 3, "Arbor"}, {kPrice, "7.00"}});

    // Cancel leaves the sale as it was.
    whenModal<CCustomerDlg>([](CCustomerDlg* customers) {
        EXPECT_EQ(child<QLineEdit>(customers, "text_3")->text(), "Arbor");
        type(customers, "text_0", "Someone Else");
        press(customers, "cancel");
    });
    key(Qt::Key_F3);
    EXPECT_EQ(text(kCustomerName), "Dana");
}

TEST_F(CustomerFromSale, NewNamesOpenTheWindowAtOnceOrAfterYes)
{
    struct Case {
        std::uint32_t autoEdit;
        bool yes;
        QString name;
        bool saved;
    };
    const Case cases[] = {{1, false, "Eve", true}, {0, true, "Finn", true}, {0, false, "Gus", false}};
    for (const Case& c : cases) {
        open();
        header.autoEditNewCustomers = c.autoEdit;  // the screen's own header
        typeInto(kItem, "A100");
        if (!c.autoEdit)
            boxes.answer(c.yes ? MessageBox::Answer::Yes : MessageBox::Answer::No);
        if (c.saved)
            whenModal<CCustomerDlg>([&c](CCustomerDlg* customers) {
                EXPECT_EQ(child<QLineEdit>(customers, "text_0")->text(), c.name);
                saveAtLevelTwo(customers);
            });
        typeInto(kCustomerName, c.name);
        CustomerRecord stored;
        EXPECT_EQ(FindCustomerByName(local, c.name.toStdString(), stored), c.saved) << c.name.toStdString();
        EXPECT_EQ(stored.taxZone, c.saved ? "Home" : "");
        EXPECT_EQ(text(kPrice), c.saved ? "7.00" : "10.00") << c.name.toStdString();
        EXPECT_EQ(text(kCustomerName), c.name);
    }
}
