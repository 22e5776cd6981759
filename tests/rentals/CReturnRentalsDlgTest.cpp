// The Rentals and Return Rentals windows, from the sale screen and the keyboard.
#include "rentals/CReturnRentalsDlg.h"
#include "storage/files/CustomerFile.h"

#include "../print/RecordedPrint.h"
#include "RentalRecords.h"
#include "support/BackOfficeWindow.h"
#include "support/ProductFiles.h"
#include "support/SaleScreenFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QAbstractItemView>

using namespace SaleIds;

namespace {

QStringList shown(QWidget* w) { return rowsOf(child<QAbstractItemView>(w, "rental_list"), {0, 3}); }
void pickRow(QWidget* w, int index) { chooseRow(child<QAbstractItemView>(w, "rental_list"), index); }

struct RentalWindows : SaleScreenFixture {
    void SetUp() override
    {
        SaleScreenFixture::SetUp();
        clock.set(2026, 12, 7, 10, 30);
        noCashierChoice();
        ProductRecord saw = makeProduct("SAW", 10);
        saw.mode = ProductRecord::kRent;
        writeProductFile(local.GetPath("Products"), {saw});
        std::vector<CustomerRecord> customers(2);
        customers[0].text = {"Dana", "Arbor"};
        customers[0].text[CustomerRecord::kPhone] = "555-0101";
        customers[1].text = {"Eli"};
        ASSERT_EQ(AppendCustomers(local, customers), CustomerSave::Appended);
    }
    std::size_t storedRentals()
    {
        std::vector<RentalRecord> records;
        EXPECT_EQ(ReadRentalFile(local.GetPath("Rentals"), records), FileCause::None);
        return records.size();
    }
};

TEST_F(RentalWindows, RentalsFinishedOnTheSaleScreenAreListedAndReturnedOneByOne)
{
    open();
    for (int i = 0; i < 2; ++i) {  // Dana rents the saw twice
        typeInto(kCustomerName, "Dana");
        typeInto(kItem, "SAW");
        choosePayType("Cash");
        typeInto(kPaid, "100");
        key(Qt::Key_F9);
        ASSERT_TRUE(boxes.texts().empty()) << boxes.texts().front();
    }
    auto menu = [this](const char* name) { dlg->findChild<QAction*>(name)->trigger(); };

    QStringList listed;
    whenModal<CRentalsDlg>([&](CRentalsDlg* w) {
        listed = shown(w);
        EXPECT_EQ(cellText(child<QAbstractItemView>(w, "rental_list"), 0, 1), "Dana Arbor 555-0101");
        press(w, "ok");
    });
    menu("action_list_rentals_out");
    EXPECT_EQ(listed, (QStringList{"0 1.00", "1 1.00"}));

    // The second sale's saw comes back: the first stays out.
    whenModal<CReturnRentalsDlg>([&](CReturnRentalsDlg* w) {
        pickRow(w, 1);
        EXPECT_EQ(child<QLineEdit>(w, "description")->text().left(20), "Record# 1,  Dana Arb");
        retypeAndEnter(w, "return_qty", "1");
        listed = shown(w);
        EXPECT_EQ(child<QLineEdit>(w, "return_qty")->text(), "");
        w->accept();
    });
    menu("action_return_rental");
    EXPECT_EQ(listed, (QStringList{"0 1.00"}));

    whenModal<CRentalsDlg>([&](CRentalsDlg* w) { listed = shown(w), w->accept(); });
    menu("action_list_rentals");
    EXPECT_EQ(listed, (QStringList{"0 1.00", "1 1.00", "1 -1.00"}));
}

TEST_F(RentalWindows, PartialReturnsStayWithinWhatIsOutAndListAllBooksNone)
{
    appendRentals(local.GetPath("Rentals"), {rentalRecord(3, 4, 1), rentalRecord(2, 5, 2)});
    CReturnRentalsDlg w(local);
    w.show();
    auto* qty = child<QLineEdit>(&w, "return_qty");
    pickRow(&w, 0);
    retypeAndEnter(&w, "return_qty", "1");
    EXPECT_EQ(shown(&w), (QStringList{"4 2.00", "5 2.00"}));

    pickRow(&w, 0);
    EXPECT_EQ(qty->text(), "2.00");
    for (const char* wrong : {"2.5", "0", "x"})
        expectMessage(boxes, "The Return Qty must be more than 0 and no more than 2.00.",
                      [&] { retypeAndEnter(&w, "return_qty", wrong); });
    // The row still shows 2.00 after a return booked at another register.
    appendRentals(local.GetPath("Rentals"), {rentalRecord(-1, 4, 1)});
    expectMessage(boxes, "The Return Qty must be more than 0 and no more than 1.00.",
                  [&] { retypeAndEnter(&w, "return_qty", "2"); });
    EXPECT_EQ(storedRentals(), 4u);

    // Every record, returns negative; choosing a row there arms no return.
    QTest::keyClick(child<QCheckBox>(&w, "list_all"), Qt::Key_Space);
    EXPECT_EQ(shown(&w), (QStringList{"4 3.00", "5 2.00", "4 -1.00", "4 -1.00"}));
    pickRow(&w, 1);
    EXPECT_FALSE(w.selected().has_value());
    QTest::keyClick(child<QPushButton>(&w, "return"), Qt::Key_Space);
    EXPECT_EQ(storedRentals(), 4u);

    // Del asks, and Yes deletes the record.
    boxes.answer(MessageBox::Answer::Yes);
    QTest::keyClick(child<QAbstractItemView>(&w, "rental_list"), Qt::Key_Delete);
    EXPECT_EQ(boxes.texts().back(),
              "Are you sure you want to delete this record?\n\nRecord# 5\nQty: 2.00\nItem# SAW\nEli  \n\n");
    EXPECT_EQ(shown(&w), (QStringList{"4 3.00", "4 -1.00", "4 -1.00"}));

    QTest::keyClicks(child<QLineEdit>(&w, "item_number"), "drill");
    EXPECT_TRUE(shown(&w).empty());
}

TEST_F(RentalWindows, PrintListPrintsTheDateTitleAndRowsInColumns)
{
    appendRentals(local.GetPath("Rentals"), {rentalRecord(3, 4, 1), rentalRecord(-1, 4, 1), rentalRecord(4, 5, 2)});
    for (bool returnWindow : {false, true}) {
        std::unique_ptr<CRentalsDlg> w(returnWindow ? new CReturnRentalsDlg(local)
                                                    : new CRentalsDlg(local, CRentalsDlg::Listing::NotReturned));
        RecordedPrint print;
        std::string header;
        w->setReportPrint([&](QWidget*, const RentalReport& r) {
            header = r.header;
            LayoutReport(print.canvas(), r.header, r.body, r.widths, r.formats);
        });
        w->show();
        QTest::keyClick(child<QPushButton>(w.get(), "print_list"), Qt::Key_Space);
        EXPECT_EQ(header.substr(0, 25), "Monday, December 07, 2026");
        EXPECT_EQ(print.has("Record#"), returnWindow);
        const Drawn first = print.one("4");
        EXPECT_GT(first.top, print.one("Rental List").top);
        EXPECT_GT(print.one("5").top, first.top);
        EXPECT_NEAR(first.left, 75, 1);
        const Drawn qty = print.one("2.00");  // net of its return
        EXPECT_EQ(qty.flags & 3u, static_cast<unsigned>(kPrintRight));
        EXPECT_NEAR(qty.top, first.top, 1);
        EXPECT_TRUE(print.has("Dana Arbor 555-0101"));
    }
}

}  // namespace
