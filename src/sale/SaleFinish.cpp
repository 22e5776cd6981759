#include "sale/SaleFinish.h"

#include "products/SaleStock.h"
#include "receivables/PaidRule.h"
#include "sale/SaleEditing.h"
#include "sale/SaleFinishing.h"
#include "sale/SaleState.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/CountedFile.h"
#include "storage/files/CustomerFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/PaymentFile.h"
#include "storage/files/ProductFile.h"
#include "storage/files/RentalFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/files/SalesIndex.h"
#include "storage/journal/Transaction.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <cmath>
#include <vector>

using namespace codec;

namespace {

constexpr std::uint8_t kRentMode = 1;
constexpr std::size_t kNextNumberOffset = 4;  // in the customer file's header

const char* const kProcessed =
    "This Sale has allready been processed.\nA copy of this record can be printed under the File menu.";
const char* const kNotSaved =
    ".\n\nNothing was stored and no stock was taken. The sale stays on the screen; Finish Sale F9 tries again.";

// A new customer's record: the chosen customer's settings with the address
// lines as the sale holds them (the nine lines are the customer's first nine texts).
CustomerRecord customerOfSale(const CustomerRecord& chosen, const InvoiceRecord& sale)
{
    CustomerRecord c = chosen;
    for (std::size_t i = 0; i < InvoiceRecord::kAddressLines; ++i)
        c.text[i] = fitText(sale.address[i], CustomerRecord::kTextWidth);
    return c;
}

// The sales, product and (for a customer's sale) customer files, made when missing.
FileFault createFiles(const CLocalFile& local, bool walkIn)
{
    int count = 0;
    if (const int cause = ReadInvoiceCount(local, count); cause != FileCause::None)
        return {"Invoices", cause};
    if (const int cause = EnsureProductFile(local); cause != FileCause::None)
        return {"Products", cause};
    if (const int cause = walkIn ? FileCause::None : CreateCustomerFile(local); cause != FileCause::None)
        return {"Customers", cause};
    return {};
}

bool hasRentLine(const InvoiceRecord& sale)
{
    for (std::size_t i = 0; i < InvoiceRecord::kLines; ++i)
        if (sale.lineMode[i] == kRentMode && !sale.itemNumber[i].empty())
            return true;
    return false;
}

}  // namespace

std::string MissingEntries(const SalesFileHeader& header, const InvoiceRecord& sale, const FinishEntries& entries)
{
    std::string message;
    if (header.mustSelectCashier && (entries.cashierCaption.empty() || entries.cashierCaption == "Log Cashier"))
        message += "A cashier must be selected.\n";
    if (header.mustSelectSalesperson && entries.salesperson.empty())
        message += "A Salesperson must be selected.\n";
    if (header.mustSelectPayType && entries.payType.empty())
        message += "A payment type must be selected.\n";
    if (header.mustEnterAddress && sale.address[InvoiceRecord::kName].empty())
        message += "Pelease ask for a mailing address.\n";
    if (header.mustEnterCashPaid && entries.payType == "Cash" && !CoversInCents(sale.cashPaid, sale.total))
        message += "Please enter the amount of cash paid.\n";
    return message;
}

int FindOrCreateCustomerIn(Transaction& tx, const std::string& path, const CustomerRecord& customer)
{
    CountedFile file(CustomerFileLayout());
    if (file.openIn(tx, path) != FileCause::None || file.damaged())
        return -1;
    int found = -1;
    const bool read = file.scan(1, [&](long long, const std::uint8_t* rec) {
        if (!slotEqualsNoCase(rec + CustomerRecord::textOffset(CustomerRecord::kName), CustomerRecord::kTextWidth,
                              customer.name()))
            return false;
        found = getU16(rec, CustomerRecord::kNumberOffset);
        return true;
    });
    if (!read)
        return -1;
    if (found >= 0)
        return found;
    CustomerRecord added = customer;
    added.customerNumber = getU16(file.header(), kNextNumberOffset);
    putU16(file.header(), kNextNumberOffset, static_cast<std::uint16_t>(added.customerNumber + 1));
    std::uint8_t buf[CustomerRecord::kSize];
    added.encode(buf);
    return file.append(buf, 1) ? added.customerNumber : -1;
}

bool SaleFinish::CheckRequiredEntries(const FinishEntries& entries)
{
    const std::string missing = MissingEntries(state_.header(), state_.current, entries);
    if (missing.empty())
        return true;
    prompt_.tell(missing);
    return false;
}

bool SaleFinish::MarginsAccepted()
{
    const InvoiceRecord& sale = state_.current;
    for (std::size_t i = 0; i < InvoiceRecord::kLines; ++i) {
        if (sale.itemNumber[i].empty())
            continue;
        const float margin = (((100 - sale.markdownPercent[i]) * sale.price[i] / 100) - sale.cost[i]) / sale.cost[i] * 100;
        if (!(margin < state_.header().lowMarginPercent) && !std::isnan(margin))
            continue;
        if (!prompt_.askYesNo(strprintf("Margin Low Warning\n\nThe margin in Item: %s is below the margin%% "
                                        "warning.\n\nProceed anyways?",
                                        sale.itemNumber[i].c_str())))
            return false;
    }
    return true;
}

bool SaleFinish::Refused(const FinishEntries& entries)
{
    const CustomerRecord& customer = state_.customer;
    const InvoiceRecord& sale = state_.current;
    if (EqualsIgnoreCase(entries.payType, "Terms")) {
        if (customer.customerNumber == 0) {
            prompt_.tell("No Customer specified!\n\nPaying by Terms requires a Customer with Terms information be "
                         "used.\n");
            return true;
        }
        if (customer.termsIndex == 0) {
            prompt_.tell("This Customer has not been given Terms.\n\nTerms must be specified in 'Settings | "
                         "Customer' menu.\n");
            return true;
        }
    }
    if (customer.orderLimitOn && customer.orderLimit < sale.total) {
        prompt_.tell(strprintf("Order Limit Exceeded!\n\nOrder Limit %.2f\n\nThis customer has exceeded his order "
                               "limit of %.2f.\nTo change this limit open the Customer\nwindow under the Settings "
                               "menu.",
                               customer.orderLimit, customer.orderLimit));
        return true;
    }
    if (state_.header().marginWatchOn && !MarginsAccepted())
        return true;
    // A walk-in sale gets no customer number, and a rental must be owed by someone.
    if (hasRentLine(sale) && sale.address[InvoiceRecord::kName].empty()) {
        prompt_.tell("Sales with a Rental must have a Customer.");
        return true;
    }
    return false;
}

SaleFinish::Result SaleFinish::FinishSale(const FinishEntries& entries)
{
    // Decided on the screen's own count: a sale another register stored
    // meanwhile does not make the new sale a stored one (the append numbers it).
    const bool finishable = SaleFinishing(state_).CanFinish();
    if (!CheckRequiredEntries(entries) || !finishable) {
        if (!finishable)
            prompt_.tell(kProcessed);
        return Result::Refused;
    }
    if (Refused(entries))
        return Result::Refused;
    return StoreSale(entries);
}

SaleFinish::Result SaleFinish::StoreSale(const FinishEntries& entries)
{
    if (!SaleFinishing(state_).CanFinish()) {
        prompt_.tell(kProcessed);
        return Result::Refused;
    }
    InvoiceRecord sale = state_.current;
    sale.salesperson = fitText(entries.salesperson, InvoiceRecord::kNameWidth);
    const bool walkIn = sale.address[InvoiceRecord::kName].empty();
    if (walkIn)
        sale.address[InvoiceRecord::kName] = "Retail";
    sale.customerNumber = 0;  // a walk-in sale has no customer; Stage sets the found one
    sale.termsIndex = state_.customer.termsIndex;
    const SaleFinishing::Target target = SaleFinishing(state_).target();
    const CalendarTime now = clock_();
    Result result = Result::Failed;
    fault_ = FileFault{};
    changedMeanwhile_ = false;
    RunStoreStep(runner_, [&] { result = Store(sale, walkIn, target.append ? -1 : target.recordNumber, now); });
    if (result != Result::Stored) {
        if (!changedMeanwhile_)
            return NotSaved(fault_);
        prompt_.tell(SaleEditing::kChangedMeanwhile);
        return Result::Failed;
    }
    stored_ = sale;
    if (target.append)
        state_.count = sale.recordNumber + 1;
    state_.current = sale;
    return Result::Stored;
}

SaleFinish::Result SaleFinish::Store(InvoiceRecord& sale, bool walkIn, int over, const CalendarTime& now)
{
    CLocalFile& local = state_.local();
    const auto failed = [this](FileFault fault) {
        fault_ = std::move(fault);
        return Result::Failed;
    };
    // An edit that drops its rentals still returns what the stored sale lent.
    const bool rentals = hasRentLine(sale) || (over >= 0 && hasRentLine(state_.editBase));
    std::vector<std::string> files = {"Invoices", "Products", "Payments"};
    if (!walkIn)
        files.push_back("Customers");
    if (rentals)
        files.push_back("Rentals");
    // The products are found by this register's map while the files are held;
    // brought up to date before, a stale map costs no one else a wait.
    RefreshProductMap(local);
    Transaction tx;
    for (const std::string& kind : files)
        tx.add(local.GetPath(kind), kind == "Payments" || kind == "Rentals" ? OpenMode::OpenOrCreate : OpenMode::ReadWrite);
    if (over >= 0)
        JoinSalesIndex(tx, local.GetPath("Invoices"));
    int opened = tx.begin();
    if (opened == FileCause::NotFound) {
        // A new store: the files the transaction locks are made first, each on
        // its own and holding nothing yet, then all of them are locked again.
        FileFault missing = createFiles(local, walkIn);
        if (missing.cause != FileCause::None)
            return failed(std::move(missing));
        opened = tx.begin();
    }
    if (opened != FileCause::None)
        return failed(FaultAmong(local, files, opened));
    if (!Stage(tx, sale, walkIn, rentals, over, now)) {
        if (fault_.cause == FileCause::Generic)
            fault_.cause = tx.failure();  // what the system said of the read, when it said anything
        return Result::Failed;
    }
    if (const int cause = CommitKeepingProductCodes(tx, tx.file(local.GetPath("Products")));
        cause != FileCause::None)
        return failed({{}, cause, true});
    return Result::Stored;
}

SaleFinish::Result SaleFinish::NotSaved(FileFault fault)
{
    fault_ = std::move(fault);
    prompt_.tell("The sale could not be saved: " + FaultText(fault_) + kNotSaved);
    return Result::Failed;
}

bool SaleFinish::Stage(Transaction& tx, InvoiceRecord& sale, bool walkIn, bool rentals, int over,
                       const CalendarTime& now)
{
    CLocalFile& local = state_.local();
    // A step that fails below found its file unreadable or damaged.
    fault_ = FileFault{"Customers", FileCause::Generic};
    if (!walkIn) {
        const int number =
            FindOrCreateCustomerIn(tx, local.GetPath("Customers"), customerOfSale(state_.customer, sale));
        if (number < 0)
            return false;
        sale.customerNumber = static_cast<std::uint16_t>(number);
    }
    fault_.kind = "Invoices";
    std::vector<StockLine> lines;
    if (over < 0) {
        if (AppendInvoiceIn(tx, local, sale, now, PaidRuleIn(tx, local)) < 0)
            return false;
    } else {
        // An edited sale: its stored lines' stock comes back in the same step.
        sale.recordNumber = over;
        const auto rewrite = SaleEditing::StageRewrite(tx, local, state_.editBase, sale, lines);
        changedMeanwhile_ = rewrite == SaleEditing::Rewrite::ChangedMeanwhile;
        if (rewrite != SaleEditing::Rewrite::Staged)
            return false;
    }
    for (std::size_t i = 0; i < InvoiceRecord::kLines; ++i)
        if (!sale.itemNumber[i].empty())
            lines.push_back({sale.itemNumber[i], sale.qty[i]});
    fault_.kind = "Products";
    if (ApplySaleToStock(tx, tx.file(local.GetPath("Products")), lines, StockDirection::Take) != 0)
        return false;
    fault_.kind = "Rentals";
    return !rentals ||
           RecordSaleRentalsIn(tx, local.GetPath("Rentals"), sale, OleDate::fromCalendar(now)) >= 0;
}

bool SaleFinish::needsSplit() const { return EqualsIgnoreCase(stored_.payType, "Split"); }
bool SaleFinish::needsDeposit() const { return EqualsIgnoreCase(stored_.payType, "Deposit"); }

bool SaleFinish::PaymentsCancelled()
{
    SaleEditing editing(state_);
    if (editing.ReopenStored(stored_.recordNumber, runner_) == SaleEditing::Result::Done)
        return true;
    fault_ = editing.fault();
    return false;
}

void SaleFinish::StartNextSale()
{
    state_.RefreshCount(state_.readRunner());
    state_.local().currentRecord = static_cast<std::uint32_t>(state_.count);
    state_.ResetSale(state_.current);
    state_.newSale = true;
    state_.lineStock.fill(0);
    state_.scrollOffset = 0;
    state_.current.recordNumber = state_.count;
    state_.held = state_.current;
    state_.Recalculate();
    state_.local().Save();
}
