// Long lists over files of many records: the first and last rows show the
// right records, and only the rows drawn are ever formatted.

#include "contacts/CCustomerDlg.h"
#include "platform/RecordList.h"
#include "reports/CFindSalesDlg.h"
#include "storage/files/InvoiceFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/CustomerRecord.h"
#include "storage/records/TextFormat.h"
#include "support/BackOfficeWindow.h"

#include <QTest>

#include <fstream>
#include <functional>
#include <memory>

namespace {

// Writes `count` records after `header`, each built by encode(i, bytes).
void writeRecords(const std::string& path, std::vector<std::uint8_t> header, std::size_t size, int count,
                  const std::function<void(int, std::uint8_t*)>& encode)
{
    std::vector<std::uint8_t> bytes = std::move(header);
    bytes.resize(bytes.size() + size * static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        encode(i, bytes.data() + bytes.size() - size * static_cast<std::size_t>(count - i));
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
}

using LongLists = BackOfficeWindow;

TEST_F(LongLists, ShowTheirFirstAndLastRecordsAndFormatOnlyTheRowsDrawn)
{
    constexpr int kCustomers = 20000, kSales = 3000;
    // Record 0 is the placeholder; customers 1..N follow it.
    CustomerFileHeader customers;
    customers.count = kCustomers + 1;
    customers.nextNumber = kCustomers + 1;
    std::vector<std::uint8_t> head(CustomerFileHeader::kSize + CustomerRecord::kSize);
    customers.encode(head.data());
    writeRecords(local.GetPath("Customers"), head, CustomerRecord::kSize, kCustomers, [](int i, std::uint8_t* at) {
        CustomerRecord c;
        c.text[CustomerRecord::kName] = strprintf("Customer %05d", i + 1);
        c.customerNumber = static_cast<std::uint16_t>(i + 1);
        c.encode(at);
    });
    std::vector<std::uint8_t> count(4);
    codec::putI32(count.data(), 0, kSales);
    writeRecords(local.GetPath("Invoices"), count, InvoiceRecord::kSize, kSales, [](int i, std::uint8_t* at) {
        InvoiceRecord sale = ClearedInvoice();
        sale.recordNumber = i;
        sale.total = static_cast<float>(i);
        sale.year = 2026, sale.month = 11, sale.day = 20;
        sale.encode(at);
    });

    const struct {
        const char* name;
        std::function<std::unique_ptr<QDialog>()> open;
        const char* list;
        int rows;
        QString first, last;  // column 0 of the first and the last row
    } cases[] = {
        {"customers in file order", [&] { return std::make_unique<CCustomerDlg>(local, header); }, "customer_list",
         kCustomers, "Customer 00001", "Customer 20000"},
        {"every sale, newest first",
         [&]() -> std::unique_ptr<QDialog> {
             auto dlg = std::make_unique<CFindSalesDlg>(local, header);
             press(dlg.get(), "search");
             return dlg;
         },
         "sales_list", kSales, "2999", "0"},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<QDialog> dlg = c.open();
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get())) << c.name;
        auto* list = child<RecordTable>(dlg.get(), c.list);
        ASSERT_NE(list, nullptr) << c.name;
        list->viewport()->repaint();
        const std::size_t formatted = list->records()->cellsFormatted();
        EXPECT_GT(formatted, 0u) << c.name << ": the rows in view are drawn";
        EXPECT_LT(formatted, static_cast<std::size_t>(c.rows) / 4) << c.name;
        ASSERT_EQ(list->model()->rowCount(), c.rows) << c.name;
        EXPECT_EQ(cellText(list, 0, 0), c.first) << c.name;
        EXPECT_EQ(cellText(list, c.rows - 1, 0), c.last) << c.name;
        // End goes to the last record, as it did in the lists of widget items.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_End);
        EXPECT_EQ(list->currentRow(), c.rows - 1) << c.name;
    }
}

}  // namespace
