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

SaleEditing::Result SaleEditing::Void()
{
    state_.RefreshCount();
    if (state_.showingNew())
        return Result::NewSaleShown;
    if (const int cause = VoidInvoice(state_.local(), static_cast<int>(state_.local().currentRecord));
        cause != FileCause::None) {
        fault_ = FaultAmong(state_.local(), {"Invoices", "Products"}, cause);
        return Result::Failed;
    }
    // The voided record is read again and shown where it lies; the first sale
    // too, which a step back and forth would leave for the second.
    state_.GoToRecord(static_cast<long long>(state_.local().currentRecord));
    return Result::Done;
}

SaleEditing::Result SaleEditing::BeginEdit()
{
    state_.RefreshCount();
    if (state_.showingNew())
        return Result::NewSaleShown;
    return ReopenStored(static_cast<int>(state_.local().currentRecord));
}

SaleEditing::Result SaleEditing::ReopenStored(int recordNumber)
{
    InvoiceRecord stored;
    if (!ReadInvoice(state_.local(), recordNumber, stored)) {
        fault_ = FaultAmong(state_.local(), {"Invoices"}, FileCause::Generic);
        return Result::Failed;
    }
    Reopen(stored, stored, recordNumber);
    return Result::Done;
}

void SaleEditing::Reopen(const InvoiceRecord& stored, const InvoiceRecord& base, int recordNumber)
{
    InvoiceRecord edited = stored;
    edited.recordNumber = recordNumber;  // the edited sale is written back where it lies
    // A walk-in sale shows an empty name again, so finishing stores it as a
    // walk-in sale rather than creating a customer named "Retail".
    if (edited.customerNumber == 0 && edited.address[InvoiceRecord::kName] == kWalkIn)
        edited.address[InvoiceRecord::kName].clear();
    state_.editBase = base;
    state_.customer = CustomerOf(state_.local(), edited);
    state_.held = edited;
    state_.newSale = false;
    state_.lineStock.fill(0);
    state_.local().currentRecord = static_cast<std::uint32_t>(std::max(0, recordNumber));
    state_.GoCurrent();
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
