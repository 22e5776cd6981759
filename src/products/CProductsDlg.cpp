#include "products/CProductsDlg.h"

#include "settings/CCompanyDlg.h"
#include "settings/CDiscountLevelsDlg.h"
#include "settings/CPeopleDlg.h"
#include "settings/CReceiptMessagesDlg.h"
#include "settings/CSaleDatesDlg.h"
#include "settings/CTaxTableDlg.h"
#include "settings/CTermsDlg.h"
#include "settings/CTextListDlg.h"

#include "platform/ComboFill.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/RecordText.h"
#include "print/CReportPrinter.h"
#include "products/CImportCheckDlg.h"
#include "products/ProductChangeAll.h"
#include "products/ProductListWidget.h"
#include "products/ProductTextFile.h"
#include "settings/SecurityGate.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/files/VendorFile.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <deque>
#include <functional>
#include <map>

namespace {
const char* const kSaveCaption = "Enter a new Product";
const char* const kUpdateCaption = "Edit this Record and click the 'Update' button; or click the 'Delete' button.";

std::string text(const QLineEdit* box) { return RecordText::fromQt(box->text()); }
std::string text(const QComboBox* box) { return RecordText::fromQt(box->currentText()); }

QLineEdit* lineEdit(QWidget* parent, const char* name, const char* tip = nullptr)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    if (tip)
        box->setToolTip(tip);
    return box;
}

QComboBox* dropDown(QWidget* parent, const char* name, const char* tip, bool editable)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(editable);
    if (tip)
        box->setToolTip(tip);
    return box;
}

void fillSorted(QComboBox* box, std::vector<std::string> entries)
{
    std::sort(entries.begin(), entries.end());
    box->clear();
    for (const auto& e : entries)
        box->addItem(RecordText::toQt(e));
    box->setCurrentIndex(-1);
}

// The words of a window's widths in the defaults record.
std::vector<std::uint32_t> widthsAt(const DefaultsRecord& d, std::size_t first)
{
    return {d.words.begin() + static_cast<std::ptrdiff_t>(first),
            d.words.begin() + static_cast<std::ptrdiff_t>(first + ProductColumn::kCount)};
}
}  // namespace

void CProductsDlg::Open(const CLocalFile& local, SalesFileHeader& header, QWidget* parent)
{
    if (SecurityGate(local))
        return;
    CProductsDlg dlg(local, header, parent);
    dlg.exec();
}

CProductsDlg::CProductsDlg(const CLocalFile& local, SalesFileHeader& header, QWidget* parent)
    : QDialog(parent), local_(local), header_(header)
{
    setWindowTitle("New/Edit Products");
    setObjectName("products_dialog");
    ReadHeader(local_, header_);

    // The remembered choices and widths, over the built-in values.
    const auto builtIn = ProductListBuiltInWidths();
    for (std::size_t c = 0; c < builtIn.size(); ++c)
        defaults_.words[DefaultsRecord::kProductListWidths + c] = builtIn[c];
    defaults_.words[DefaultsRecord::kNewProductTax] = 0;
    defaults_.words[DefaultsRecord::kNewProductTouch] = 1;
    defaults_.words[DefaultsRecord::kNewProductMode] = 0;
    ReadDefaults(local_, defaults_);

    group_ = new QGroupBox(kSaveCaption, this);
    auto* grid = new QGridLayout(group_);
    auto label = [&](const char* caption, int row, int column) { grid->addWidget(new QLabel(caption, group_), row, column); };

    item_ = lineEdit(group_, "product_id", "Product Item number (Searchable field).");
    description_ = lineEdit(group_, "description", "Product Description (Searchable field).");
    barCode_ = lineEdit(group_, "bar_code");
    label("Product ID*", 0, 0);
    grid->addWidget(item_, 0, 1);
    label("*Desc", 0, 2);
    grid->addWidget(description_, 0, 3, 1, 3);
    label("Bar Code", 0, 6);
    grid->addWidget(barCode_, 0, 7);

    static const char* const numberNames[ProductFields::kNumberCount] = {
        "price_1", "price_2", "price_3", "price_4", "price_5", "price_6", "cost", "sale_percent", "stock", "case", "commission"};
    for (unsigned n = 0; n < ProductFields::kNumberCount; ++n) {
        numbers_[n] = lineEdit(group_, numberNames[n]);
        connect(numbers_[n], &QLineEdit::textEdited, this, [this, n] { edited_ |= 1u << n; });
    }
    numbers_[0]->setToolTip("Price product will sell for. (Level 1)");
    numbers_[ProductFields::kCost]->setToolTip("Product Cost from vendor.");
    numbers_[ProductFields::kSalePercent]->setToolTip(
        "Percentage discount when sale is active (menu: Options | Sale Dates).");
    numbers_[ProductFields::kStock]->setToolTip("Product Quantity in stock.");
    numbers_[ProductFields::kCase]->setToolTip("Either the case quantity or the prefered order quantity.");
    numbers_[ProductFields::kCommission]->setToolTip("Salesperson commission percentage of this product.");
    label("Price", 1, 0);
    auto* prices = new QHBoxLayout;
    for (unsigned n = 0; n < ProductRecord::kPriceLevels; ++n)
        prices->addWidget(numbers_[n]);
    grid->addLayout(prices, 1, 1, 1, 7);
    label("Cost", 2, 0);
    grid->addWidget(numbers_[ProductFields::kCost], 2, 1);
    label("Sale%", 2, 2);
    grid->addWidget(numbers_[ProductFields::kSalePercent], 2, 3);
    label("Commission%", 2, 4);
    grid->addWidget(numbers_[ProductFields::kCommission], 2, 5);
    label("In Stock", 2, 6);
    grid->addWidget(numbers_[ProductFields::kStock], 2, 7);
    label("Case", 3, 0);
    grid->addWidget(numbers_[ProductFields::kCase], 3, 1);

    touch_ = new QCheckBox("Touch", group_);
    touch_->setObjectName("touch");
    touch_->setToolTip("List this product in Touch Screen.");
    grid->addWidget(touch_, 3, 2);
    auto* modes = new QButtonGroup(this);
    static const char* const modeNames[3] = {"Sell", "Rent", "Deposit"};
    static const char* const modeTips[3] = {
        "This product is sold.",
        "This product is rented. Use Add-on ID to add a deposit. Remember to set the tax field properly.",
        "This is a deposit. Remember to set the tax field properly."};
    auto* modeRow = new QHBoxLayout;
    for (int m = 0; m < 3; ++m) {
        mode_[static_cast<std::size_t>(m)] = new QRadioButton(modeNames[m], group_);
        mode_[static_cast<std::size_t>(m)]->setObjectName(QString("mode_%1").arg(m));
        mode_[static_cast<std::size_t>(m)]->setToolTip(modeTips[m]);
        modes->addButton(mode_[static_cast<std::size_t>(m)], m);
        modeRow->addWidget(mode_[static_cast<std::size_t>(m)]);
    }
    grid->addLayout(modeRow, 3, 3, 1, 3);
    connect(mode_[0], &QRadioButton::clicked, this, [this] { defaults_.words[DefaultsRecord::kNewProductMode] = 0; StoreDefaults(); });
    addOn_ = lineEdit(group_, "add_on_id", "Automatically add this Product ID.");
    addOn_->setEnabled(false);  // nothing reads or stores it yet
    label("Add-on ID", 3, 6);
    grid->addWidget(addOn_, 3, 7);

    vendor_ = dropDown(group_, "vendor", "Product Vendor name (Searchable field).", true);
    vendorNumber_ = lineEdit(group_, "vendor_number", "Product Vender Number (Searchable field).");
    category_ = dropDown(group_, "category", "Product Category (Searchable field).", true);
    department_ = dropDown(group_, "department", "Store Department where item was sold or belongs.", true);
    tax_ = dropDown(group_, "tax", "Set the tax status of this product.", false);
    tax_->addItems({"0 - No Tax", "1 - Tax 1", "2 - Tax 2", "3 - Tax 1 & 2"});
    label("Vendor*", 4, 0);
    grid->addWidget(vendor_, 4, 1);
    label("Vendor#*", 4, 2);
    grid->addWidget(vendorNumber_, 4, 3);
    label("Category*", 4, 4);
    grid->addWidget(category_, 4, 5);
    label("Department*", 4, 6);
    grid->addWidget(department_, 4, 7);
    label("Tax", 5, 0);
    grid->addWidget(tax_, 5, 1);
    connect(tax_, &QComboBox::activated, this, [this](int index) {
        defaults_.words[DefaultsRecord::kNewProductTax] = static_cast<std::uint32_t>(index);
        StoreDefaults();
    });
    connect(touch_, &QCheckBox::clicked, this, [this](bool on) {
        defaults_.words[DefaultsRecord::kNewProductTouch] = on ? 1 : 0;
        StoreDefaults();
    });

    changeAll_ = lineEdit(group_, "change_all", "Use with Menu:Change to change a column of all listed products.");
    lowQty_ = lineEdit(group_, "low_qty", "Search for products with Low Quantity.");
    label("Change All", 5, 2);
    grid->addWidget(changeAll_, 5, 3);
    label("Low Qty Search*", 5, 4);
    grid->addWidget(lowQty_, 5, 5);
    grid->addWidget(new QLabel("* Searchable Field", group_), 5, 6, 1, 2);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* caption, const char* name, const char* tip, void (CProductsDlg::*slot)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        if (tip)
            b->setToolTip(tip);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    save_ = button("Save", "save", "Save or Update Product record.", &CProductsDlg::OnSave);
    delete_ = button("Delete", "delete", "Delete Product record permanently!", &CProductsDlg::OnDelete);
    button("Clear", "clear", "Clear all fields.", &CProductsDlg::OnClear);
    button("List All", "list_all", "List all Products.", &CProductsDlg::OnListAll);
    button("Search", "search", "List Products that match all entered fields.", &CProductsDlg::OnSearch);
    button("Done", "done", "I'm out of here.", &CProductsDlg::OnDone);
    button("Import", "import", nullptr, &CProductsDlg::OnImport);
    button("Export", "export", nullptr, &CProductsDlg::OnExport);

    list_ = new ProductListWidget(this);
    list_->setObjectName("product_list");
    list_->setWidths(widthsAt(defaults_, DefaultsRecord::kProductListWidths));
    connect(list_, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) { OnRowClicked(index.row()); });
    connect(list_, &QAbstractItemView::activated, this, [this](const QModelIndex& index) { OnRowClicked(index.row()); });
    list_->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_->horizontalHeader(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { ShowColumnMenu(list_->horizontalHeader()->logicalIndexAt(at)); });

    auto* layout = new QVBoxLayout(this);
    BuildMenus();
    layout->addWidget(group_);
    layout->addLayout(buttons);
    layout->addWidget(list_, 1);
    resize(1000, 640);

    std::vector<std::string> vendors = FillVendorBox(local_);
    fillSorted(vendor_, vendors);
    fillSorted(category_, ComboEntries(header_.categories));
    fillSorted(department_, ComboEntries(header_.departments));
    OnClear();
    delete_->setEnabled(false);
    item_->setFocus();
    connect(item_, &QLineEdit::textEdited, this, [this] { SetUpdateMode(false); });
}

void CProductsDlg::BuildMenus()
{
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    QMenu* print = bar->addMenu("&Print");
    print->addAction("Products List", this, [this] { OnPrint(true); });
    print->addAction("Products List - No Price", this, [this] { OnPrint(false); });
    QMenu* edit = bar->addMenu("&Edit");
    edit->addAction("Delete", QKeySequence::Delete, this, &CProductsDlg::OnDelete);
    // The store's settings windows, as on the sale screen; each asks the
    // security gate where the sale screen's does. New categories and
    // departments fill their boxes here at once.
    QMenu* settings = bar->addMenu("&Settings");
    settings->setObjectName("menu_settings");
    auto setting = [&](const char* text, const char* name, std::function<void()> run) {
        settings->addAction(text, this, std::move(run))->setObjectName(name);
    };
    auto refill = [this](QComboBox* box, const std::string& list) {
        const QString typed = box->currentText();
        fillSorted(box, ComboEntries(list));
        box->setEditText(typed);
    };
    setting("Our Company", "action_company", [this] { CCompanyDlg::Run(this, local_, header_); });
    setting("Receipt Messages", "action_receipt_messages", [this] { CReceiptMessagesDlg::Run(this, local_, header_); });
    setting("Taxes", "action_taxes", [this] { CTaxTableDlg::Run(this, local_, header_); });
    setting("Terms", "action_terms", [this] { CTermsDlg(local_, this).exec(); });
    setting("Sale Dates", "action_sale_dates", [this] { CSaleDatesDlg::Run(this, local_, header_); });
    setting("Discount Levels", "action_discount_levels", [this] { CDiscountLevelsDlg::Run(this, local_, header_); });
    setting("Cashiers", "action_cashiers", [this] { CPeopleDlg::Run(this, local_, PeopleKind::Cashiers); });
    setting("Sales Personnel", "action_sales_personnel",
            [this] { CPeopleDlg::Run(this, local_, PeopleKind::Salespeople); });
    setting("Payment Types", "action_payment_types",
            [this] { CTextListDlg::Run(this, local_, header_, kPaymentTypeList); });
    setting("Catagories", "action_categories", [this, refill] {
        if (CTextListDlg::Run(this, local_, header_, kCategoryList))
            refill(category_, header_.categories);
    });
    setting("Departments", "action_departments", [this, refill] {
        if (CTextListDlg::Run(this, local_, header_, kDepartmentList))
            refill(department_, header_.departments);
    });
    QMenu* change = bar->addMenu("&Change");
    change->setObjectName("menu_change");
    change->addAction("Short Cut - Use Right Mouse Button on Columns")->setEnabled(false);
    for (int op = 0; op < ChangeAll::kOpCount; ++op) {
        const auto& it = ChangeAll::item(static_cast<ChangeAll::Op>(op));
        if (it.menuText)
            change->addAction(it.menuText, this, [this, op] { OnChangeAll(op); })->setObjectName(QString("change_%1").arg(op));
    }
    // The record has no mark-up: these stay greyed until it has one.
    for (const char* markUp : {"Fill All Listed %x (Mark Up) with Change All", "Recalculate All Listed Prices",
                               "Add to All Listed Mark-Up % from Change All"})
        change->addAction(markUp)->setEnabled(false);
}

void CProductsDlg::ShowColumnMenu(int column)
{
    if (column < 0)
        return;
    clickedColumn_ = column;
    QMenu menu(this);
    if (column == ProductColumn::kItem || column == ProductColumn::kDescription) {
        menu.addAction("Edit Product", this, [this] { OnRowClicked(list_->selectedRow()); });
        menu.addAction("Delete Product", this, &CProductsDlg::OnDelete);
        menu.addAction("Hide Product", this, &CProductsDlg::OnHideRow);
    }
    const bool price = ChangeAll::priceLevelOfColumn(column) >= 0;
    for (int op = 0; op < ChangeAll::kOpCount; ++op) {
        const auto& it = ChangeAll::item(static_cast<ChangeAll::Op>(op));
        if (it.column == column || (price && it.column == ProductColumn::kPrice))
            menu.addAction(QString::fromLatin1(it.popupText).replace("&&", "&"), this, [this, op] { OnChangeAll(op); });
    }
    if (!menu.isEmpty())
        menu.exec(QCursor::pos());
}

void CProductsDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter moves on as Tab does; it never closes the window.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CProductsDlg::SetUpdateMode(bool on)
{
    updateMode_ = on;
    save_->setText(on ? "Update" : "Save");
    group_->setTitle(on ? kUpdateCaption : kSaveCaption);
}

ProductFields CProductsDlg::Fields() const
{
    ProductFields f;
    f.itemNumber = text(item_);
    f.description = text(description_);
    f.barCode = text(barCode_);
    f.vendor = text(vendor_);
    f.vendorNumber = text(vendorNumber_);
    f.category = text(category_);
    f.department = text(department_);
    for (unsigned n = 0; n < ProductFields::kNumberCount; ++n)
        f.numbers[n] = text(numbers_[n]);
    f.taxIndex = tax_->currentIndex();
    f.touch = touch_->isChecked();
    for (std::size_t m = 0; m < mode_.size(); ++m)
        if (mode_[m]->isChecked())
            f.mode = static_cast<std::uint8_t>(m);
    f.edited = edited_;
    return f;
}

void CProductsDlg::ShowFields(const ProductFields& f)
{
    item_->setText(RecordText::toQt(f.itemNumber));
    description_->setText(RecordText::toQt(f.description));
    barCode_->setText(RecordText::toQt(f.barCode));
    vendor_->setCurrentText(RecordText::toQt(f.vendor));
    vendorNumber_->setText(RecordText::toQt(f.vendorNumber));
    category_->setCurrentText(RecordText::toQt(f.category));
    department_->setCurrentText(RecordText::toQt(f.department));
    for (unsigned n = 0; n < ProductFields::kNumberCount; ++n)
        numbers_[n]->setText(RecordText::toQt(f.numbers[n]));
    tax_->setCurrentIndex(f.taxIndex);
    touch_->setChecked(f.touch);
    mode_[f.mode < 3 ? f.mode : 0]->setChecked(true);
    edited_ = 0;
}

void CProductsDlg::StoreDefaults()
{
    WriteDefaults(local_, defaults_);
}

void CProductsDlg::OnListAll()
{
    list_->list().change([this](ProductTable& t) { t.listAll(local_); });
}

void CProductsDlg::OnSearch()
{
    ProductSearch s = SearchFromBoxes(text(item_), text(vendorNumber_), text(description_), text(vendor_),
                                      text(category_), text(department_));
    std::string low = text(lowQty_);
    std::erase_if(low, [](char c) { return c == ' ' || c == '\t'; });
    s.lowQuantity = !low.empty();
    s.lowQuantityThreshold = ProductNumber(low);
    list_->list().change([&](ProductTable& t) { t.listMatching(local_, s); });
}

void CProductsDlg::OnRowClicked(int row)
{
    if (row < 0 || row >= static_cast<int>(list_->list().table().size()))
        return;
    const std::string item = list_->list().table().itemNumber(static_cast<std::size_t>(row));
    ProductRecord record;
    if (!FindProductByItem(local_, item, record)) {
        MessageBox::information(this, "Didn't find Record.");
        return;
    }
    ShowFields(FieldsFromProduct(record));
    SetUpdateMode(true);
    delete_->setEnabled(true);
}

void CProductsDlg::OnSave()
{
    const int row = list_->selectedRow();
    ProductRecord stored;
    const ProductFields fields = Fields();
    switch (SaveProduct(local_, fields, row >= 0, static_cast<std::uint8_t>(defaults_.words[DefaultsRecord::kNewProductTax]), stored)) {
    case SaveOutcome::Nothing:
        return;
    case SaveOutcome::Duplicate:
        MessageBox::information(this, "Duplicate Item#\nPlease change item# or\nclick on item# in colum to edit.");
        break;
    case SaveOutcome::SaveFailed:
        MessageBox::information(this, "Could not open file.");
        break;
    case SaveOutcome::UpdateFailed:
        MessageBox::information(this, "Couldn't open file");
        break;
    case SaveOutcome::Saved:
        defaults_.words[DefaultsRecord::kNewProductMode] = fields.mode;
        StoreDefaults();
        list_->list().change([&](ProductTable& t) { t.insertFront(stored, ProductTable::Form::Saved); });
        break;
    case SaveOutcome::Updated: {
        // The row that shows this product: the selected one when it does.
        auto& table = list_->list().table();
        int target = row;
        if (!equalsNoCase(table.itemNumber(static_cast<std::size_t>(row)), stored.itemNumber))
            for (target = 0; target < static_cast<int>(table.size()); ++target)
                if (equalsNoCase(table.itemNumber(static_cast<std::size_t>(target)), stored.itemNumber))
                    break;
        if (target < static_cast<int>(table.size()))
            list_->list().change([&](ProductTable& t) { t.replace(static_cast<std::size_t>(target), stored); });
        edited_ = 0;
        break;
    }
    }
    SetUpdateMode(false);
}

void CProductsDlg::OnDelete()
{
    const int row = list_->selectedRow();
    ProductRecord record;
    std::string item;
    if (row >= 0) {
        item = list_->list().table().itemNumber(static_cast<std::size_t>(row));
        item_->setText(RecordText::toQt(item));
    }
    if (row < 0 || !FindProductByItem(local_, item, record)) {
        SetUpdateMode(false);
        MessageBox::information(this, "Didn't find Record.");
        return;
    }
    if (MessageBox::askYesNo(this, "Do want to delete this Product?")) {
        switch (RemoveProductByItem(local_, item)) {
        case ChangeResult::Done:
            list_->list().change([&](ProductTable& t) { t.remove(static_cast<std::size_t>(row)); });
            break;
        case ChangeResult::NotFound:
            MessageBox::information(this, "Didn't find Record.");
            break;
        case ChangeResult::Failed:
            MessageBox::information(this, "Couldn't open file");
            break;
        }
    }
    SetUpdateMode(false);
    delete_->setEnabled(false);
}

void CProductsDlg::OnClear()
{
    for (QLineEdit* box : {item_, description_, barCode_, vendorNumber_, changeAll_, lowQty_, addOn_})
        box->clear();
    for (QLineEdit* box : numbers_)
        box->clear();
    vendor_->setCurrentIndex(-1);
    category_->setCurrentIndex(-1);
    department_->setCurrentIndex(-1);
    vendor_->clearEditText();
    category_->clearEditText();
    department_->clearEditText();
    // A cleared Tax box takes the remembered choice, so a new product never gets an unknown status.
    const std::uint32_t tax = defaults_.words[DefaultsRecord::kNewProductTax];
    tax_->setCurrentIndex(tax <= 3 ? static_cast<int>(tax) : 0);
    touch_->setChecked(defaults_.words[DefaultsRecord::kNewProductTouch] != 0);
    const std::uint32_t mode = defaults_.words[DefaultsRecord::kNewProductMode] & 0xFFFF;
    mode_[mode < 3 ? mode : 0]->setChecked(true);
    edited_ = 0;
    list_->clearSelection();
    SetUpdateMode(false);
}

void CProductsDlg::OnDone()
{
    if (!item_->text().isEmpty()) {
        const std::string ask = "Are you finished with\nItem# " + text(item_) + "  " + text(description_) +
                                "\n\nOK for Done\nCancel for Not Done";
        if (MessageBox::show(this, ask, MessageBox::Buttons::OkCancel) != MessageBox::Answer::Ok)
            return;
    }
    const auto widths = list_->widths();
    for (std::size_t c = 0; c < widths.size(); ++c)
        defaults_.words[DefaultsRecord::kProductListWidths + c] = widths[c];
    StoreDefaults();
    done(QDialog::Accepted);
}

void CProductsDlg::OnHideRow()
{
    const int row = list_->selectedRow();
    if (row >= 0)
        list_->list().change([&](ProductTable& t) { t.remove(static_cast<std::size_t>(row)); });
}

void CProductsDlg::OnChangeAll(int opNumber)
{
    const auto op = static_cast<ChangeAll::Op>(opNumber);
    // A price item acts on the right-clicked price column, or else on the price
    // column of the list's current cell (reached with the arrow keys).
    int column = clickedColumn_;
    if (ChangeAll::priceLevelOfColumn(column) < 0)
        column = list_->currentIndex().column();
    if (ChangeAll::isPriceOp(op) && ChangeAll::priceLevelOfColumn(column) < 0) {
        MessageBox::information(this, "Choose a price column first: right-click it, or move to it in the list.");
        return;
    }
    if (MessageBox::show(this, ChangeAll::item(op).question, MessageBox::Buttons::OkCancel) != MessageBox::Answer::Ok)
        return;
    auto& table = list_->list().table();
    std::vector<ProductRecord> changed;
    const auto outcome = ChangeAll::run(local_, op, text(changeAll_), column, table.itemNumbers(), changed);
    if (outcome != ChangeAll::Outcome::Done) {
        MessageBox::information(this, "Couldn't open file");
        return;
    }
    // Listed rows take the changed records of their item number in file order.
    std::map<std::string, std::deque<ProductRecord>> byItem;
    for (auto& r : changed)
        byItem[r.itemNumber].push_back(std::move(r));
    list_->list().change([&](ProductTable& t) {
        for (std::size_t row = 0; row < t.size(); ++row) {
            auto it = byItem.find(t.itemNumber(row));
            if (it == byItem.end() || it->second.empty())
                continue;
            t.replace(row, it->second.front());
            it->second.pop_front();
        }
    });
}

void CProductsDlg::OnPrint(bool withPrices)
{
    CReportPrinter::PrintProductListing(this, list_->list().table().textRows(), withPrices);
}

void CProductsDlg::OnExport()
{
    const std::string path = FileDialog::getSaveFileName(this, "Products (*.txt)|*.txt|All Files (*.*)|*.*||", ".txt", "Products.txt");
    if (path.empty())
        return;
    if (ProductText::Export(local_, path) != FileCause::None)
        MessageBox::information(this, "Could not open file.");
}

void CProductsDlg::OnImport()
{
    if (MessageBox::show(this, CImportCheckDlg::kFormatMessage, MessageBox::Buttons::OkCancel) != MessageBox::Answer::Ok)
        return;
    const std::string path = FileDialog::getOpenFileName(this, "Products (*.txt)|*.txt|All Files (*.*)|*.*||", ".txt");
    if (path.empty())
        return;
    std::string content;
    if (!ProductText::ReadTextFile(path, content)) {
        MessageBox::information(this, "Could not open file.");
        return;
    }
    const std::vector<ProductRecord> records = ProductText::Parse(content);
    CImportCheckDlg check(records, this);
    if (check.exec() != QDialog::Accepted)
        return;
    if (AppendProducts(local_, records) != FileCause::None)
        MessageBox::information(this, "Could not open file.");
    else
        OnListAll();
}
