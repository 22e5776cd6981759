#include "sale/SaleState.h"

#include "sale/SaleTotals.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/CustomerFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/records/ByteCodec.h"

#include <algorithm>

namespace {

constexpr std::size_t kCodeWidth = InvoiceRecord::kNameWidth;  // item number, pay type, salesperson
constexpr std::size_t kTextWidth = InvoiceRecord::kTextWidth;  // descriptions and the other line texts

std::string cut(const std::string& text, std::size_t width) { return codec::fitText(text, width); }

// The store's default tax status, a fresh product's: what a line typed by hand is taxed by.
const std::uint8_t kHandTypedTaxStatus = ProductRecord{}.taxStatus;

}  // namespace

void ClearSaleLine(InvoiceRecord& sale, std::size_t i)
{
    sale.itemNumber[i].clear();
    sale.description[i].clear();
    sale.category[i].clear();
    sale.vendor[i].clear();
    sale.department[i].clear();
    sale.qty[i] = 0;
    sale.markdownPercent[i] = 0;
    sale.price[i] = 0;
    sale.extended[i] = 0;
    sale.cost[i] = 0;
    sale.commissionPercent[i] = 0;
    // A line typed by hand is taxed by the store's default, whatever product
    // stood in the slot before.
    sale.taxStatus[i] = kHandTypedTaxStatus;
    sale.lineMode[i] = InvoiceRecord::kClearedLineMode;
}

SaleState::SaleState(CLocalFile& local, SalesFileHeader& header, ClockFn clock)
    : local_(local), header_(header), clock_(std::move(clock))
{
}

bool SaleState::showingNew() const { return static_cast<int>(local_.currentRecord) == count; }

bool SaleState::RefreshCount(const StoreRunner& runner)
{
    const CLocalFile local = local_;
    int n = count;
    int cause = FileCause::None;
    RunStoreStep(runner, [&] { cause = ReadInvoiceCount(local, n); });
    if (cause != FileCause::None)
        return false;
    count = n;
    return true;
}

void SaleState::Open()
{
    EnsureProductFile(local_);
    scrollOffset = 0;
    RefreshCount();
    local_.currentRecord = static_cast<std::uint32_t>(count);
    current.cashier = local_.loggedInCashier;
    ResetSale(current);
    newSale = true;
    lineStock.fill(0);
    held = current;
    readOnly_ = false;
    Recalculate();
}

void SaleState::ResetSale(InvoiceRecord& sale)
{
    customer = CustomerRecord{};
    sale.payType.clear();
    for (auto& line : sale.address)
        line.clear();
    sale.change = 0;
    sale.totalCost = 0;
    sale.priceLevel = 0;
    sale.customerNumber = 0;
    sale.paid = 0;
    sale.termsIndex = 0;
    sale.cashPaid = 0;
    customer.taxZone = GetDefaultZone(local_);
    LookupTaxRates(local_, header_, sale, customer.taxZone);
    sale.recordNumber = count;
    for (std::size_t i = 0; i < InvoiceRecord::kLines; ++i)
        ClearSaleLine(sale, i);
    sale.discountPercent = 0;
    sale.taxableSubtotal = 0;
    sale.exemptSubtotal = 0;
    sale.tax1 = 0;
    sale.tax2 = 0;
    sale.handling = 0;
    sale.total = 0;
    const CalendarTime now = clock_();
    sale.saleTime = OleDate::fromCalendar(now);
    sale.year = static_cast<std::int16_t>(now.year);
    sale.month = static_cast<std::int16_t>(now.month);
    sale.week = static_cast<std::int16_t>(now.weekOfYear());
    sale.day = static_cast<std::int16_t>(now.day);
    sale.period = sale.month;
}

void SaleState::ClearThisSale()
{
    if (!showingNew())
        return;
    ResetSale(current);
    newSale = true;
    lineStock.fill(0);
}

void SaleState::Recalculate() { RecalculateTotals(current, header_); }

void SaleState::LookupRates() { LookupTaxRates(local_, header_, current, customer.taxZone); }

void SaleState::SetLineNumber(int row, LineField field, double value)
{
    if (!showingNew() || row < 0 || row >= kRows)
        return;
    const int slot = slotOf(row);
    const float v = StoreAmount(value);
    switch (field) {
    case LineField::Qty: current.qty[slot] = v; break;
    case LineField::Markdown: current.markdownPercent[slot] = v; break;
    case LineField::Price: current.price[slot] = v; break;
    }
    Recalculate();
}

void SaleState::SetDiscount(double value)
{
    if (!showingNew())
        return;
    current.discountPercent = StoreAmount(value);
    Recalculate();
}

void SaleState::SetHandling(double value)
{
    if (!showingNew())
        return;
    current.handling = StoreAmount(value);
    Recalculate();
}

void SaleState::SetPaid(double value)
{
    current.cashPaid = StoreAmount(value);
    current.change = StoreAmount(static_cast<double>(current.cashPaid) - current.total);
}

void SaleState::SetAddressLine(std::size_t line, const std::string& text)
{
    if (showingNew() && line < InvoiceRecord::kAddressLines)
        current.address[line] = cut(text, kTextWidth);
}

void SaleState::SetDescription(int row, const std::string& text)
{
    if (row < 0 || row >= kRows)
        return;
    current.description[slotOf(row)] = cut(text, kTextWidth);
}

void SaleState::FillLine(int slot, const ProductRecord& product)
{
    current.itemNumber[slot] = cut(product.itemNumber, kCodeWidth);
    current.description[slot] = cut(product.description, kTextWidth);
    current.category[slot] = cut(product.category, kTextWidth);
    current.vendor[slot] = cut(product.vendor, kTextWidth);
    current.cost[slot] = product.cost;
    current.price[slot] = PriceAtLevel(product, customer.priceLevel);
    current.markdownPercent[slot] = SalePeriodOn(header_, clock_()) ? product.salePercent : 0.0f;
    current.taxStatus[slot] = product.taxStatus;
    current.qty[slot] = 1;
    current.commissionPercent[slot] = product.commissionPercent;
    lineStock[slot] = product.stock;
    current.lineMode[slot] = product.mode;
}

SaleState::ItemResult SaleState::ItemNumberExit(int row, const std::string& text, const QuickAdd& quickAdd)
{
    if (!showingNew() || row < 0 || row >= kRows)
        return {};
    const int slot = slotOf(row);
    const std::string t = cut(text, kCodeWidth);
    if (t.empty()) {
        current.taxStatus[slot] = kHandTypedTaxStatus;
        current.itemNumber[slot].clear();
        current.description[slot].clear();
        current.qty[slot] = 0;
        current.commissionPercent[slot] = 0;
        current.price[slot] = 0;
        current.extended[slot] = 0;
        Recalculate();
        return {};
    }
    if (t == focusText)
        return {};
    return RingUp(slot, t, quickAdd);
}

SaleState::ItemResult SaleState::ScanCode(const std::string& code, const ShownRows& shownFilled,
                                          const QuickAdd& quickAdd)
{
    const std::string t = cut(code, kCodeWidth);
    if (!showingNew() || t.empty())
        return {};
    const bool onSale = std::any_of(current.itemNumber.begin(), current.itemNumber.end(),
                                    [&](const std::string& item) { return EqualsIgnoreCase(item, t); });
    const int slot = onSale ? 0 : FirstEmptySlot(shownFilled);  // a line on the sale counts one more
    if (slot < 0) {
        ItemResult full;
        full.full = true;
        return full;
    }
    return RingUp(slot, t, quickAdd);
}

// One more of a line of the same item (letter case ignored), else the product
// into the slot. A code that matches no product charges nothing.
SaleState::ItemResult SaleState::RingUp(int slot, const std::string& t, const QuickAdd& quickAdd)
{
    ItemResult result;
    const auto found = std::find_if(current.itemNumber.begin(), current.itemNumber.end(),
                                    [&](const std::string& item) { return EqualsIgnoreCase(item, t); });
    if (found != current.itemNumber.end()) {
        result.slot = static_cast<int>(found - current.itemNumber.begin());
        current.qty[result.slot] = StoreAmount(static_cast<double>(current.qty[result.slot]) + 1);
    } else {
        ProductRecord product;
        if (!LookupForSale(local_, t, product, quickAdd)) {
            result.unknown = true;
            return result;
        }
        result.slot = slot;
        FillLine(slot, product);
    }
    Recalculate();
    return result;
}

int SaleState::AddPickedProduct(const ProductRecord& picked)
{
    if (!showingNew())
        return -1;
    int slot = -1;
    for (int i = 0; i < kLines && slot < 0; ++i)
        if (EqualsIgnoreCase(current.itemNumber[i], picked.itemNumber))
            slot = i;
    for (int i = 0; i < kLines && slot < 0; ++i)
        if (current.itemNumber[i].empty() && current.description[i].empty())
            slot = i;
    if (slot < 0)
        return -1;
    if (current.itemNumber[slot].empty()) {
        FillLine(slot, picked);
        current.department[slot] = cut(picked.department, kTextWidth);
    } else {
        current.qty[slot] = StoreAmount(static_cast<double>(current.qty[slot]) + 1);
    }
    if (slot >= kRows)
        scrollOffset = slot - (kRows - 1);
    Recalculate();
    return slot;
}

SaleState::CustomerFound SaleState::LookupCustomer(const std::string& name)
{
    // The typed name stays on the sale whether or not it names a customer.
    SetAddressLine(0, name);
    if (name.empty()) {
        ForgetCustomer();
        RedoCustomerPricing();
        return CustomerFound::Cleared;
    }
    CustomerRecord found;
    if (!FindCustomerByName(local_, name, found)) {
        ForgetCustomer();
        RedoCustomerPricing();
        return CustomerFound::NotFound;
    }
    ShowCustomer(found);
    RedoCustomerPricing();
    return CustomerFound::Found;
}

void SaleState::ForgetCustomer()
{
    customer = CustomerRecord{};
    customer.taxZone = GetDefaultZone(local_);
    current.priceLevel = 0;
    current.customerNumber = 0;
    for (std::size_t k = 1; k < InvoiceRecord::kAddressLines; ++k)
        current.address[k].clear();
}

void SaleState::ShowCustomer(const CustomerRecord& found)
{
    customer = found;
    customer.priceLevel = std::min<std::uint8_t>(found.priceLevel, 5);
    for (std::size_t k = 0; k < InvoiceRecord::kAddressLines; ++k)
        current.address[k] = cut(found.text[k], kTextWidth);
    current.priceLevel = customer.priceLevel;
    if (showingNew()) {
        current.taxRate1 = 0;
        current.taxRate2 = 0;
        current.discountPercent = header_.discountPercent[customer.priceLevel];
        Recalculate();
    }
}

void SaleState::RedoCustomerPricing()
{
    LookupRates();
    RepriceLines(local_, current, customer.priceLevel);
    Recalculate();
}

void SaleState::ChooseSalesperson(const std::string& name)
{
    (showingNew() ? current : held).salesperson = cut(name, kCodeWidth);
}

void SaleState::ChoosePayType(const std::string& name)
{
    (showingNew() ? current : held).payType = cut(name, kCodeWidth);
}

// Before each move N is read again. When the new sale was on the screen it
// stays the new sale, even if other registers have stored sales meanwhile: it
// takes the new N as its number, so paging never mistakes it for a stored one.
void SaleState::HoldIfNew()
{
    const bool wasNew = showingNew();
    RefreshCount();
    Hold(wasNew);
}

void SaleState::Hold(bool wasNew)
{
    if (wasNew) {
        local_.currentRecord = static_cast<std::uint32_t>(count);
        if (!editingStored())
            current.recordNumber = count;  // a sale being edited keeps its own number
        held = current;
    } else if (static_cast<int>(local_.currentRecord) > count) {
        // The file holds fewer sales than before (it was replaced or cut):
        // the shown number no longer exists, so the new sale comes back.
        local_.currentRecord = static_cast<std::uint32_t>(count);
        current = held;
    }
}

void SaleState::SavePosition()
{
    if (positionUnsaved_ && local_.Save())
        positionUnsaved_ = false;
}

bool SaleState::ReadStored(int n)
{
    const std::string path = local_.GetPath("Invoices");
    InvoiceRecord stored;
    bool read = false;
    RunStoreStep(readRunner_, [&] {
        DataFile file;
        read = CLocalFile::OpenFile(file, path, OpenMode::Read) == FileCause::None && ReadInvoiceAt(file, n, stored);
    });
    return TakeStored(n, read, stored);
}

bool SaleState::TakeStored(int n, bool read, const InvoiceRecord& stored)
{
    if (read) {
        current = stored;
        return true;
    }
    current = InvoiceRecord{};
    current.recordNumber = n;
    return false;
}

void SaleState::AfterMove()
{
    // The record shown is kept in LocalFileNames.plf when the screen closes, not
    // at every move: a flush per Page Up made browsing and voiding cost double.
    positionUnsaved_ = true;
    scrollOffset = 0;  // every sale is first shown from its first line
    if (showingNew() && !editingStored())
        current.recordNumber = count;
    Recalculate();
    readOnly_ = !showingNew();
}

void SaleState::GoPrev()
{
    HoldIfNew();
    if (local_.currentRecord > 0) {
        --local_.currentRecord;
        ReadStored(static_cast<int>(local_.currentRecord));
    }
    AfterMove();
}

void SaleState::GoNext()
{
    HoldIfNew();
    const int at = static_cast<int>(local_.currentRecord);
    if (at >= 0 && at < count) {
        ++local_.currentRecord;
        if (static_cast<int>(local_.currentRecord) < count)
            ReadStored(static_cast<int>(local_.currentRecord));
        else
            current = held;
    }
    AfterMove();
}

// The held sale comes back only from a stored one: while the new sale is on
// the screen it is newer than its held copy, and copying would lose lines.
void SaleState::GoCurrent()
{
    const bool wasNew = showingNew();
    HoldIfNew();
    local_.currentRecord = static_cast<std::uint32_t>(count);
    if (!wasNew)
        current = held;
    AfterMove();
}

bool SaleState::GoToRecord(long long n)
{
    // N and the sale are read in one open of the sales file, off the window's
    // thread; a file that cannot be opened so is left to RefreshCount, which
    // makes a missing one.
    const bool wasNew = showingNew();
    const std::string path = local_.GetPath("Invoices");
    long long present = -1;
    bool read = false;
    InvoiceRecord stored;
    RunStoreStep(readRunner_, [&] {
        DataFile file;
        if (CLocalFile::OpenFile(file, path, OpenMode::Read) != FileCause::None)
            return;
        present = InvoiceRecordsPresent(file);
        if (n >= 0 && n < present)
            read = ReadInvoiceAt(file, static_cast<int>(n), stored);
    });
    if (present >= 0)
        count = static_cast<int>(present);
    else
        RefreshCount(readRunner_);
    Hold(wasNew);
    if (n < 0 || n > count)
        return false;
    local_.currentRecord = static_cast<std::uint32_t>(n);
    if (n < count && present >= 0)
        TakeStored(static_cast<int>(n), read, stored);
    else if (n < count)
        ReadStored(static_cast<int>(n));
    else
        current = held;
    AfterMove();
    return true;
}

SaleState::MenuStates SaleState::menuStates() const
{
    MenuStates states;
    const bool stored = !showingNew();
    states.voidSale = stored;
    states.editSale = stored;
    states.clearSale = !stored;
    states.payThisSale = stored && current.paid == 0;
    return states;
}

bool SaleState::SlotEmpty(int slot, const ShownRows& shownFilled) const
{
    const int row = slot - scrollOffset;
    const bool shown = row >= 0 && row < kRows && shownFilled[static_cast<std::size_t>(row)];
    return !shown && current.itemNumber[slot].empty() && current.description[slot].empty();
}

int SaleState::FirstEmptySlot(const ShownRows& shownFilled) const
{
    // The rows on the screen first, then the slots scrolled out of view.
    for (int r = 0; r < kRows; ++r)
        if (SlotEmpty(slotOf(r), shownFilled))
            return slotOf(r);
    for (int slot = 0; slot < kLines; ++slot)
        if (SlotEmpty(slot, shownFilled))
            return slot;
    return -1;
}

int SaleState::ScrollToSlot(int slot)
{
    if (slot < scrollOffset)
        Scroll(slot);
    else if (slot >= scrollOffset + kRows)
        Scroll(slot - (kRows - 1));
    return slot - scrollOffset;
}

void SaleState::Scroll(int offset) { scrollOffset = std::clamp(offset, 0, kMaxScroll); }
