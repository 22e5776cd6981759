#include "sale/TouchSale.h"

#include "receivables/PaidRule.h"
#include "sale/SaleEditing.h"
#include "sale/SaleFinish.h"
#include "sale/SaleState.h"
#include "sale/SaleTotals.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/CountedFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::size_t kProductFileHeader = 4;
constexpr long long kProductBlock = 204;  // records per read, just under 64 KiB

const char* const kOnMainScreen =
    "%s sales are finished on the main sale screen.\n\nClose the touch screen and press Finish Sale F9 there.";

std::string cut(const std::string& text, std::size_t width) { return codec::fitText(text, width); }

class SilentPrompt : public FinishPrompt {
public:
    void tell(const std::string&) override {}
    bool askYesNo(const std::string&) override { return false; }
};

}  // namespace

TouchSale::TouchSale(SaleState& state, ClockFn clock) : state_(state), clock_(std::move(clock)) {}

const char* TouchSale::RentRefusal()
{
    return "Rentals are rung up on the main sale screen, where the renting customer is entered.\n\n"
           "Nothing was added to the sale.";
}

bool TouchSale::editable() const { return state_.showingNew() && !state_.readOnly(); }

bool TouchSale::LineInUse(int slot) const
{
    return slot >= 0 && slot < SaleState::kLines && !state_.current.lineIsEmpty(static_cast<std::size_t>(slot));
}

void TouchSale::Open()
{
    categoryOffset_ = 0;
    FillCategories();
    currentCategory_ = categorySlots_[0];
    page_ = 0;
    FillProducts();
    AfterSaleChanged();
}

// ---------------------------------------------------------------------------
// Categories and products

void TouchSale::FillCategories()
{
    const std::string& list = state_.header().categories;
    for (int k = 0; k < kCategoryButtons; ++k)
        categorySlots_[static_cast<std::size_t>(k)] =
            cut(GetLine(list, categoryOffset_ + k), ProductRecord::kNameWidth);
}

void TouchSale::NextCategories()
{
    const int last = std::max(0, CountLines(state_.header().categories) - kCategoryButtons);
    categoryOffset_ = std::clamp(categoryOffset_ + kCategoryStep, 0, last);
    FillCategories();
}

void TouchSale::PrevCategories()
{
    categoryOffset_ = std::max(0, categoryOffset_ - kCategoryStep);
    FillCategories();
}

void TouchSale::PressCategory(int k)
{
    if (!editable() || k < 0 || k >= kCategoryButtons)
        return;
    const std::string& name = categorySlots_[static_cast<std::size_t>(k)];
    if (name == currentCategory_) {
        ++page_;
    } else {
        currentCategory_ = name;
        page_ = 0;
    }
    FillProducts();
}

int TouchSale::currentCategoryButton() const
{
    for (int k = 0; k < kCategoryButtons; ++k)
        if (!currentCategory_.empty() && categorySlots_[static_cast<std::size_t>(k)] == currentCategory_)
            return k;
    return -1;
}

void TouchSale::FillProducts()
{
    // A page past the last product starts the category over.
    if (!ScanProducts() && page_ != 0) {
        page_ = 0;
        ScanProducts();
    }
}

// The products of the current category shown on the touch screen, page by
// page in file order. True when the page has a product.
bool TouchSale::ScanProducts()
{
    productSlots_.fill({});
    if (currentCategory_.empty())
        return false;
    DataFile file;
    if (CLocalFile::OpenFile(file, state_.local().GetPath("Products"), OpenMode::Read) != FileCause::None)
        return false;
    std::uint8_t head[kProductFileHeader];
    if (!readFully(file, 0, head, sizeof head))
        return false;
    const long long size = file.size();
    const long long room = size > static_cast<long long>(kProductFileHeader)
                               ? (size - static_cast<long long>(kProductFileHeader)) /
                                     static_cast<long long>(ProductRecord::kSize)
                               : 0;
    bool damaged = false;
    const long long present = RecordsUnderCount(codec::getI32(head, 0), room, 0, damaged);
    const long long firstShown = static_cast<long long>(page_) * kProductButtons;
    long long counted = 0;
    int filled = 0;
    std::vector<std::uint8_t> block(static_cast<std::size_t>(kProductBlock) * ProductRecord::kSize);
    for (long long first = 0; first < present && filled < kProductButtons;) {
        const long long take = std::min(kProductBlock, present - first);
        if (!readFully(file, kProductFileHeader + first * static_cast<long long>(ProductRecord::kSize), block.data(),
                       static_cast<std::size_t>(take) * ProductRecord::kSize))
            break;
        for (long long i = 0; i < take && filled < kProductButtons; ++i) {
            const std::uint8_t* rec = block.data() + static_cast<std::size_t>(i) * ProductRecord::kSize;
            if (rec[ProductRecord::kShowOnTouchOffset] == 0 ||
                !slotEqualsNoCase(rec + ProductRecord::kCategoryOffset, ProductRecord::kNameWidth, currentCategory_))
                continue;
            if (counted++ < firstShown)
                continue;
            ProductRecord product;
            product.decode(rec);
            productSlots_[static_cast<std::size_t>(filled++)] = {product.description, product.itemNumber};
        }
        first += take;
    }
    return filled > 0;
}

TouchSale::Added TouchSale::PressProduct(int k)
{
    if (!editable())
        return Added::NotNewSale;
    if (k < 0 || k >= kProductButtons || productSlots_[static_cast<std::size_t>(k)].itemNumber.empty())
        return Added::NotFound;
    ProductRecord product;
    if (!FindProductByItem(state_.local(), productSlots_[static_cast<std::size_t>(k)].itemNumber, product))
        return Added::NotFound;  // deleted meanwhile
    return AddProductToSale(product);
}

TouchSale::Added TouchSale::EnterItemNumber(const std::string& code, const QuickAdd& quickAdd)
{
    if (!editable())
        return Added::NotNewSale;
    ProductRecord product;
    if (!LookupForSale(state_.local(), cut(code, InvoiceRecord::kNameWidth), product, quickAdd))
        return Added::NotFound;
    return AddProductToSale(product);
}

// One unit at the first empty line slot, or one more on the line just before
// it when that line is the same item (only that line is merged). A rental
// needs its renting customer and rental record, which only the main screen's
// finish takes: it is not added here.
TouchSale::Added TouchSale::AddProductToSale(const ProductRecord& product)
{
    if (!editable())
        return Added::NotNewSale;
    if (product.mode == ProductRecord::kRent)
        return Added::Rent;
    InvoiceRecord& sale = state_.current;
    int i = 0;
    while (i < SaleState::kLines && LineInUse(i))
        ++i;
    if (i == SaleState::kLines)
        return Added::Full;
    if (i > 0 && EqualsIgnoreCase(sale.itemNumber[static_cast<std::size_t>(i - 1)], product.itemNumber) &&
        !sale.itemNumber[static_cast<std::size_t>(i - 1)].empty()) {
        sale.qty[static_cast<std::size_t>(i - 1)] =
            StoreAmount(static_cast<double>(sale.qty[static_cast<std::size_t>(i - 1)]) + 1);
        selected_ = i - 1;
        state_.Recalculate();
        return Added::OneMore;
    }
    const auto s = static_cast<std::size_t>(i);
    sale.itemNumber[s] = cut(product.itemNumber, InvoiceRecord::kNameWidth);
    sale.description[s] = cut(product.description, InvoiceRecord::kTextWidth);
    sale.category[s] = cut(product.category, InvoiceRecord::kTextWidth);
    sale.vendor[s] = cut(product.vendor, InvoiceRecord::kTextWidth);
    sale.department[s] = cut(product.department, InvoiceRecord::kTextWidth);
    sale.price[s] = product.price[0];
    sale.cost[s] = product.cost;
    sale.qty[s] = 1;
    sale.markdownPercent[s] = SalePeriodOn(state_.header(), clock_()) ? product.salePercent : 0.0f;
    sale.taxStatus[s] = product.taxStatus;
    sale.commissionPercent[s] = product.commissionPercent;
    sale.lineMode[s] = product.mode;
    state_.lineStock[s] = product.stock;
    selected_ = i;
    state_.Recalculate();
    return Added::Line;
}

// ---------------------------------------------------------------------------
// The sale list and the selected line

std::vector<TouchSale::Row> TouchSale::Rows()
{
    state_.Recalculate();
    const InvoiceRecord& sale = state_.current;
    const SalesFileHeader& header = state_.header();
    const char* amount = header.showCents ? "%.2f" : "%.0f";
    std::vector<Row> rows;
    for (int i = 0; i < SaleState::kLines; ++i) {
        if (!LineInUse(i))
            continue;
        const auto s = static_cast<std::size_t>(i);
        rows.push_back({strprintf("%02d", i + 1), strprintf("%.2f", static_cast<double>(sale.qty[s])),
                        sale.description[s], strprintf(amount, static_cast<double>(sale.extended[s])), i});
    }
    auto total = [&](const char* label, double value) { rows.push_back({"", "", label, strprintf(amount, value), -1}); };
    total("Sub-Total", static_cast<double>(sale.taxableSubtotal) + sale.exemptSubtotal);
    if (header.showTaxesSeparately) {
        total("Tax", sale.tax1);
        total("Tax2", sale.tax2);
    } else {
        total("Tax", static_cast<double>(sale.tax1) + sale.tax2);
    }
    total("Total", sale.total);
    if (EqualsIgnoreCase(sale.payType, "Cash"))
        rows.push_back({"", "", strprintf(header.showCents ? "Paid Cash: %.2f  Chng: %.2f" : "Paid Cash: %.0f  Chng: %.0f",
                                          static_cast<double>(sale.cashPaid), static_cast<double>(sale.change)),
                        "", -1});
    else
        rows.push_back({"", "", strprintf("Paid with %s", sale.payType.c_str()), "", -1});
    return rows;
}

void TouchSale::Select(int slot)
{
    if (LineInUse(slot))
        selected_ = slot;
}

void TouchSale::SelectLast()
{
    selected_ = 0;
    for (int i = 0; i < SaleState::kLines; ++i)
        if (LineInUse(i))
            selected_ = i;
}

void TouchSale::AfterSaleChanged()
{
    entry_.clear();
    SelectLast();
}

void TouchSale::Up()
{
    for (int i = selected_ - 1; i >= 0; --i)
        if (LineInUse(i))
            return void(selected_ = i);
}

void TouchSale::Down()
{
    for (int i = selected_ + 1; i < SaleState::kLines; ++i)
        if (LineInUse(i))
            return void(selected_ = i);
}

void TouchSale::Plus()
{
    if (!editable() || !LineInUse(selected_))
        return;
    float& qty = state_.current.qty[static_cast<std::size_t>(selected_)];
    qty = StoreAmount(static_cast<double>(qty) + 1);
    state_.Recalculate();
}

void TouchSale::Minus()
{
    if (!editable() || !LineInUse(selected_))
        return;
    float& qty = state_.current.qty[static_cast<std::size_t>(selected_)];
    qty = StoreAmount(static_cast<double>(qty) - 1);
    state_.Recalculate();
}

// The slot as a cleared sale leaves it; the tax status that of a new product.
void TouchSale::ClearItem()
{
    if (!editable() || !LineInUse(selected_))
        return;
    InvoiceRecord& sale = state_.current;
    const auto s = static_cast<std::size_t>(selected_);
    ClearSaleLine(sale, s);
    sale.taxStatus[s] = ProductRecord{}.taxStatus;
    state_.lineStock[s] = 0;
    state_.Recalculate();
    SelectLast();
}

// ---------------------------------------------------------------------------
// Keypad

void TouchSale::Digit(int d)
{
    if (d >= 0 && d <= 9 && entry_.size() < kMaxEntryDigits)
        entry_ += static_cast<char>('0' + d);
}

std::string TouchSale::EntryText() const
{
    if (entry_.empty())
        return {};
    if (entry_.size() == 1)
        return ".0" + entry_;
    return entry_.substr(0, entry_.size() - 2) + "." + entry_.substr(entry_.size() - 2);
}

double TouchSale::EntryAmount() const { return ReadNumber(EntryText()); }

void TouchSale::PaidAmount()
{
    if (!editable())
        return;
    state_.SetPaid(EntryAmount());
    entry_.clear();
}

void TouchSale::SetSelectedNumber(bool price)
{
    if (!editable() || !LineInUse(selected_))
        return;
    const auto s = static_cast<std::size_t>(selected_);
    (price ? state_.current.price[s] : state_.current.qty[s]) = StoreAmount(EntryAmount());
    entry_.clear();
    state_.Recalculate();
}

void TouchSale::PriceChange() { SetSelectedNumber(true); }
void TouchSale::QtyChange() { SetSelectedNumber(false); }

// ---------------------------------------------------------------------------
// Payment type and cashier

void TouchSale::NextPayType()
{
    if (!editable())
        return;
    state_.ChoosePayType(NextInList(state_.header().paymentTypes, state_.current.payType));
}

void TouchSale::NextCashier()
{
    if (!editable())
        return;
    std::string name = state_.current.cashier;
    ::NextCashier(state_.local(), name);
    state_.current.cashier = cut(name, InvoiceRecord::kNameWidth);
}

std::string TouchSale::payTypeCaption() const
{
    return state_.current.payType.empty() ? "Pay Type?" : state_.current.payType;
}

std::string TouchSale::cashierCaption() const
{
    return state_.current.cashier.empty() ? "Cashier Name?" : state_.current.cashier;
}

// ---------------------------------------------------------------------------
// Finish

std::string TouchSale::MissingEntries() const
{
    const SalesFileHeader& header = state_.header();
    const InvoiceRecord& sale = state_.current;
    const bool cashier = header.mustSelectCashier && sale.cashier.empty();
    const bool salesperson = header.mustSelectSalesperson && sale.salesperson.empty();
    const bool payType = header.mustSelectPayType && sale.payType.empty();
    const bool cash = header.mustEnterCashPaid && sale.payType == "Cash" && !CoversInCents(sale.cashPaid, sale.total);
    // A missing salesperson is named, but does not by itself stop the sale.
    if (!cashier && !payType && !cash)
        return {};
    std::string message;
    if (cashier)
        message += "A cashier must be selected.\n";
    if (salesperson)
        message += "A salesperson must be selected.\n";
    if (payType)
        message += "A payment type must be selected.\n";
    if (cash)
        message += "Please enter the amount of cash paid.\n";
    return message;
}

TouchSale::Finished TouchSale::Finish(FinishPrompt& prompt, const StoreRunner& runner)
{
    if (!state_.showingNew()) {
        prompt.tell("This Sale has allready been processed.\nA copy of this record can be printed using the Print "
                    "button.");
        return Finished::Refused;
    }
    InvoiceRecord& sale = state_.current;
    sale.change = StoreAmount(static_cast<double>(sale.cashPaid) - sale.total);
    if (const std::string missing = MissingEntries(); !missing.empty()) {
        prompt.tell(missing);
        return Finished::Refused;
    }
    // These need dialogs and a customer that only the main screen has.
    for (const char* type : {"Split", "Deposit", "Terms"}) {
        if (EqualsIgnoreCase(sale.payType, type)) {
            prompt.tell(strprintf(kOnMainScreen, type));
            return Finished::Refused;
        }
    }
    for (std::size_t i = 0; i < InvoiceRecord::kLines; ++i) {
        if (!sale.itemNumber[i].empty() && sale.lineMode[i] == ProductRecord::kRent) {
            prompt.tell(strprintf(kOnMainScreen, "Rental"));
            return Finished::Refused;
        }
    }
    if (state_.header().marginWatchOn) {
        for (std::size_t i = 0; i < InvoiceRecord::kLines; ++i) {
            if (sale.itemNumber[i].empty())
                continue;
            const double margin =
                (static_cast<double>(sale.price[i]) - sale.cost[i]) / static_cast<double>(sale.cost[i]) * 100;
            if ((margin < state_.header().lowMarginPercent || std::isnan(margin)) &&
                !prompt.askYesNo(strprintf("Margin Low Warning\n\nThe margin in Item: %s is below the margin%% "
                                           "warning.\n\nProceed anyways?",
                                           sale.itemNumber[i].c_str())))
                return Finished::Refused;
        }
    }
    SaleFinish finish(state_, prompt, clock_);
    finish.setStoreRunner(runner);
    const FinishEntries entries{sale.cashier, sale.salesperson, sale.payType};
    if (finish.StoreSale(entries) != SaleFinish::Result::Stored)
        return Finished::Failed;
    stored_ = finish.stored();
    return Finished::Stored;
}

void TouchSale::StartNextSale()
{
    SilentPrompt silent;
    SaleFinish(state_, silent, clock_).StartNextSale();
    entry_.clear();
    selected_ = 0;
}
