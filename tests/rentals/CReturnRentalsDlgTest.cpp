// The Rentals and Return Rentals windows, opened from the sale screen's menu
// and driven from the keyboard over rentals finished on the sale screen.

#include "CRentalsDlg.h"
#include "CReturnRentalsDlg.h"
#include "CSaleDlg.h"
#include "CustomerFile.h"
#include "ModalDriver.h"
#include "ProductFiles.h"
#include "RegisterFixture.h"
#include "RentalFile.h"
#include "ReportLayout.h"
#include "SaleKeys.h"
#include "../print/RecordedPrint.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace SaleIds;

namespace {

struct RentalWindows : RegisterFixture {
    ClockDouble clock{2026, 12, 7, 10, 30};
    std::unique_ptr<CSaleDlg> sale;

    void SetUp() override
    {
        RegisterFixture::SetUp();
        ASSERT_EQ(OpenOrCreateHeader(local, header), 0);
        header.mustSelectCashier = 0;
        ASSERT_EQ(WriteHeader(local, header), 0);
        ProductRecord saw = makeProduct("SAW", 10);
        saw.price[0] = 5;
        saw.mode = ProductRecord::kRent;
        writeProductFile(local.GetPath("Products"), {saw});
        std::vector<CustomerRecord> customers(2);
        customers[0].text[CustomerRecord::kName] = "Dana";
        customers[0].text[CustomerRecord::kCompany] = "Arbor";
        customers[0].text[CustomerRecord::kPhone] = "555-0101";
        customers[1].text[CustomerRecord::kName] = "Eli";
        ASSERT_EQ(AppendCustomers(local, customers), CustomerSave::Appended);
    }
    void TearDown() override
    {
        sale.reset();
        RegisterFixture::TearDown();
    }
    void openSaleScreen()
    {
        sale = std::make_unique<CSaleDlg>(local, header);
        ASSERT_TRUE(sale->Initialize());
        sale->show();
        sale->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(sale.get()));
    }
    void typeInto(int id, const QString& keys)
    {
        auto* box = qobject_cast<QLineEdit*>(sale->control(id));
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
        QTest::keyClicks(box, keys);
        QTest::keyClick(box, Qt::Key_Return);
    }
    // Rings up `qty` of the saw for the customer, paid in cash, and presses F9.
    void rentOnScreen(const QString& customer, const QString& qty)
    {
        typeInto(kCustomerName, customer);
        typeInto(kItem, "SAW");
        typeInto(kQty, qty);
        auto* pay = qobject_cast<QComboBox*>(sale->control(kPayType));
        if (pay->findText("Cash") < 0)
            pay->addItem("Cash");
        pay->setFocus(Qt::OtherFocusReason);
        pay->setCurrentIndex(pay->findText("Cash"));
        emit pay->activated(pay->currentIndex());
        typeInto(kPaid, "100");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F9);
        EXPECT_TRUE(boxes.texts().empty()) << boxes.texts().front();
    }
    void rentals(std::initializer_list<RentalRecord> records)
    {
        Transaction tx;
        const std::string path = local.GetPath("Rentals");
        tx.add(path, OpenMode::OpenOrCreate);
        ASSERT_EQ(tx.begin(), FileCause::None);
        std::vector<RentalRecord> present;
        ASSERT_TRUE(ReadRentals(tx.file(path), present));
        for (const RentalRecord& r : records) {
            StageRentalAppend(tx, tx.file(path), present, r);
            present.push_back(r);
        }
        ASSERT_EQ(tx.commit(), FileCause::None);
    }
    static RentalRecord rented(float qty, std::int32_t sale, std::uint16_t customer)
    {
        RentalRecord r;
        r.quantity = qty;
        r.saleNumber = sale;
        r.customerNumber = customer;
        r.itemNumber = "SAW";
        r.date = OleDate::fromCalendar(2026, 12, 1, 9, 0);
        return r;
    }
    std::size_t storedRentals()
    {
        std::vector<RentalRecord> records;
        EXPECT_EQ(ReadRentalFile(local.GetPath("Rentals"), records), FileCause::None);
        return records.size();
    }
    template <class T> static T* child(QWidget* w, const char* name) { return w->findChild<T*>(name); }
    // The list as "sale:qty" texts.
    static std::vector<std::string> shown(QWidget* w)
    {
        std::vector<std::string> out;
        auto* list = child<QTreeWidget>(w, "rental_list");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out.push_back((list->topLevelItem(i)->text(0) + ":" + list->topLevelItem(i)->text(3)).toStdString());
        return out;
    }
    // Selects row `index` from the keyboard.
    static void pickRow(QWidget* w, int index)
    {
        auto* list = child<QTreeWidget>(w, "rental_list");
        list->setFocus(Qt::TabFocusReason);
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(list, Qt::Key_Down);
    }
    static void returnQty(QWidget* w, const QString& qty)
    {
        auto* box = child<QLineEdit>(w, "return_qty");
        box->setFocus(Qt::TabFocusReason);
        box->selectAll();
        QTest::keyClicks(box, qty);
        QTest::keyClick(box, Qt::Key_Return);
    }
};

TEST_F(RentalWindows, RentalsFinishedOnTheSaleScreenAreListedAndReturnedOneByOne)
{
    openSaleScreen();
    rentOnScreen("Dana", "1");
    rentOnScreen("Dana", "1");

    std::vector<std::string> listed;
    whenModal<CRentalsDlg>([&](CRentalsDlg* w) {
        listed = shown(w);
        auto* list = child<QTreeWidget>(w, "rental_list");
        EXPECT_EQ(list->topLevelItem(0)->text(1), "Dana Arbor 555-0101");
        EXPECT_EQ(list->topLevelItem(0)->text(2), "SAW");
        QTest::keyClick(child<QPushButton>(w, "ok"), Qt::Key_Space);
    });
    sale->findChild<QAction*>("action_list_rentals_out")->trigger();
    EXPECT_EQ(listed, (std::vector<std::string>{"0:1.00", "1:1.00"}));

    // The second sale's saw comes back: the first stays out.
    whenModal<CReturnRentalsDlg>([&](CReturnRentalsDlg* w) {
        pickRow(w, 1);
        EXPECT_EQ(child<QLineEdit>(w, "description")->text().left(20), "Record# 1,  Dana Arb");
        returnQty(w, "1");
        listed = shown(w);
        EXPECT_EQ(child<QLineEdit>(w, "return_qty")->text(), "");
        w->accept();
    });
    sale->findChild<QAction*>("action_return_rental")->trigger();
    EXPECT_EQ(listed, (std::vector<std::string>{"0:1.00"}));

    whenModal<CRentalsDlg>([&](CRentalsDlg* w) {
        listed = shown(w);
        w->accept();
    });
    sale->findChild<QAction*>("action_list_rentals")->trigger();
    EXPECT_EQ(listed, (std::vector<std::string>{"0:1.00", "1:1.00", "1:-1.00"}));
}

TEST_F(RentalWindows, PartialReturnsStayWithinWhatIsOutAndListAllBooksNone)
{
    rentals({rented(3, 4, 1), rented(2, 5, 2)});
    CReturnRentalsDlg w(local);
    w.show();
    pickRow(&w, 0);
    returnQty(&w, "1");
    EXPECT_EQ(shown(&w), (std::vector<std::string>{"4:2.00", "5:2.00"}));

    boxes.allowUnscriptedOk();
    pickRow(&w, 0);
    EXPECT_EQ(child<QLineEdit>(&w, "return_qty")->text(), "2.00");
    for (const char* wrong : {"2.5", "0", "x"}) {
        boxes.clear();
        returnQty(&w, wrong);
        EXPECT_EQ(boxes.texts(), std::vector<std::string>{"The Return Qty must be more than 0 and no more than 2.00."})
            << wrong;
    }
    EXPECT_EQ(shown(&w), (std::vector<std::string>{"4:2.00", "5:2.00"}));

    // Every record, returns negative; choosing a row there arms no return.
    QTest::keyClick(child<QCheckBox>(&w, "list_all"), Qt::Key_Space);
    EXPECT_EQ(shown(&w), (std::vector<std::string>{"4:3.00", "5:2.00", "4:-1.00"}));
    pickRow(&w, 1);
    EXPECT_FALSE(w.selected().has_value());
    boxes.clear();
    QTest::keyClick(child<QPushButton>(&w, "return"), Qt::Key_Space);
    EXPECT_EQ(storedRentals(), 3u);

    // Del on a record asks, and Yes deletes it.
    boxes.answer(MessageBox::Answer::Yes);
    QTest::keyClick(child<QTreeWidget>(&w, "rental_list"), Qt::Key_Delete);
    EXPECT_EQ(boxes.texts().back(), "Are you sure you want to delete this record?\n\nRecord# 5\nQty: 2.00\nItem# "
                                    "SAW\nEli  \n\n");
    EXPECT_EQ(shown(&w), (std::vector<std::string>{"4:3.00", "4:-1.00"}));

    // The Item# box lists only the item typed, ignoring case.
    QTest::keyClicks(child<QLineEdit>(&w, "item_number"), "drill");
    EXPECT_TRUE(shown(&w).empty());
    child<QLineEdit>(&w, "item_number")->clear();
    QTest::keyClicks(child<QLineEdit>(&w, "item_number"), "saw");
    EXPECT_EQ(shown(&w).size(), 2u);
}

TEST_F(RentalWindows, PrintListPrintsTheDateTitleAndRowsInColumns)
{
    rentals({rented(3, 4, 1), rented(-1, 4, 1), rented(4, 5, 2)});
    for (bool returnWindow : {false, true}) {
        std::unique_ptr<CRentalsDlg> w;
        if (returnWindow)
            w = std::make_unique<CReturnRentalsDlg>(local);
        else
            w = std::make_unique<CRentalsDlg>(local, CRentalsDlg::Listing::NotReturned);
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
        const Drawn title = print.one("Rental List");
        const Drawn first = print.one("4");
        const Drawn second = print.one("5");
        EXPECT_GT(first.top, title.top);
        EXPECT_GT(second.top, first.top);
        EXPECT_NEAR(first.left, 75, 1);
        const Drawn qty = print.one("2.00");  // net of its return
        EXPECT_FALSE(print.has("3.00"));
        EXPECT_GT(print.one("4.00").top, qty.top);
        EXPECT_EQ(qty.flags & 3u, static_cast<unsigned>(kPrintRight));
        EXPECT_TRUE(print.has("Dana Arbor 555-0101"));
    }
}

}  // namespace
