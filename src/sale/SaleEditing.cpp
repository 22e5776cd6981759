#include "sale/SaleEditing.h"

#include "products/SaleStock.h"
#include "receivables/PaidRule.h"
#include "sale/SaleState.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/CustomerFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/PaymentFile.h"
#include "storage/io/DataFile.h"
#include "storage/journal/Transaction.h"

#include <algorithm>
#include <cstring>

namespace {

const char* const kWalkIn = "Retail";  // the name a sale without a customer is stored under

bool sameBytes(const InvoiceRecord& a, const InvoiceRecord& b)
{
    std::uint8_t ba[InvoiceRecord::kSize], bb[InvoiceRecord::kSize];
    a.encode(ba);
    b.encode(bb);
    return std::memcmp(ba, bb, sizeof ba) == 0;
}

}  // namespace

const char* const SaleEditing::kChangedMeanwhile =
    "This sale was changed at another register while it was being edited.\n\n"
    "Nothing was stored and no stock was moved. Clear This Sale leaves the sale as it is "
    "stored now; Edit This Sale on it starts again from there.";

SaleEditing::Result SaleEditing::Void(const StoreRunner& runner)
{
    state_.RefreshCount(runner);
    if (state_.showingNew())
        return Result::NewSaleShown;
    const CLocalFile local = state_.local();
    bool voided = false;
    RunStoreStep(runner, [&] {
        const int cause = VoidInvoice(local, static_cast<int>(local.currentRecord));
        voided = cause == FileCause::None;
        if (!voided)
            fault_ = FaultAmong(local, {"Invoices", "Products"}, cause);
    });
    if (!voided)
        return Result::Failed;
    // The voided record is read again and shown where it lies; the first sale
    // too, which a step back and forth would leave for the second.
    state_.GoToRecord(static_cast<long long>(state_.local().currentRecord));
    return Result::Done;
}

SaleEditing::Result SaleEditing::BeginEdit(const StoreRunner& runner)
{
    state_.RefreshCount(runner);
    if (state_.showingNew())
        return Result::NewSaleShown;
    return ReopenStored(static_cast<int>(state_.local().currentRecord), runner);
}

SaleEditing::Result SaleEditing::ReopenStored(int recordNumber, const StoreRunner& runner)
{
    const CLocalFile local = state_.local();
    InvoiceRecord stored;
    InvoiceRecord edited;
    CustomerRecord customer;
    bool read = false;
    RunStoreStep(runner, [&] {
        read = ReadInvoice(local, recordNumber, stored);
        if (!read) {
            fault_ = FaultAmong(local, {"Invoices"}, FileCause::Generic);
            return;
        }
        edited = stored;
        edited.recordNumber = recordNumber;  // the edited sale is written back where it lies
        // A walk-in sale shows an empty name again, so finishing stores it as a
        // walk-in sale rather than creating a customer named "Retail".
        if (edited.customerNumber == 0 && edited.address[InvoiceRecord::kName] == kWalkIn)
            edited.address[InvoiceRecord::kName].clear();
        customer = CustomerOf(local, edited);
    });
    if (!read)
        return Result::Failed;
    state_.editBase = stored;
    state_.customer = customer;
    state_.held = edited;
    state_.newSale = false;
    state_.lineStock.fill(0);
    state_.local().currentRecord = static_cast<std::uint32_t>(std::max(0, recordNumber));
    state_.GoCurrent();
    return Result::Done;
}

SaleEditing::Result SaleEditing::Clear()
{
    if (!state_.showingNew())
        return Result::NewSaleShown;
    state_.ClearThisSale();
    state_.editBase = InvoiceRecord{};
    return Result::Done;
}

SaleEditing::Rewrite SaleEditing::StageRewrite(Transaction& tx, const CLocalFile& local, const InvoiceRecord& base,
                                               InvoiceRecord& sale, std::vector<StockLine>& stock)
{
    DataFile& invoices = tx.file(local.GetPath("Invoices"));
    bool damaged = false;
    const long long present = InvoiceRecordsPresent(invoices, &damaged);
    const int n = sale.recordNumber;
    InvoiceRecord now;
    if (damaged || n < 0 || n >= present || !ReadInvoiceAt(invoices, n, now))
        return Rewrite::Failed;
    if (!sameBytes(now, base))
        return Rewrite::ChangedMeanwhile;
    sale.paid = !IsOnAccount(sale) || PaidInFull(SumPaymentCentsIn(tx, local, n), sale.total) ? 1 : 0;
    StageInvoiceAt(tx, invoices, n, sale);
    for (std::size_t i = 0; i < InvoiceRecord::kLines; ++i)
        if (!base.itemNumber[i].empty())
            stock.push_back({base.itemNumber[i], -base.qty[i]});
    return Rewrite::Staged;
}

CustomerRecord SaleEditing::CustomerOf(const CLocalFile& local, const InvoiceRecord& sale)
{
    CustomerRecord found;
    const std::string& name = sale.address[InvoiceRecord::kName];
    const bool byNumber = sale.customerNumber != 0 && FindCustomerByNumber(local, sale.customerNumber, found);
    if (!byNumber && (name.empty() || !FindCustomerByName(local, name, found))) {
        found = CustomerRecord{};
        found.taxZone = GetDefaultZone(local);
    }
    found.priceLevel = std::min<std::uint8_t>(found.priceLevel, 5);
    return found;
}
