#include "products/CQuickAddDlg.h"

#include "platform/MessageBox.h"
#include "platform/RecordText.h"
#include "products/ProductEditor.h"
#include "sale/SaleTotals.h"
#include "settings/NumberBoxes.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/ProductFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/files/VendorFile.h"
#include "storage/records/ByteCodec.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
enum { kItem, kDescription, kQty, kCost, kPrice, kSale };

QComboBox* sortedCombo(QWidget* parent, const char* name, std::vector<std::string> entries)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    std::sort(entries.begin(), entries.end());
    for (const auto& e : entries)
        box->addItem(RecordText::toQt(e));
    box->setCurrentIndex(-1);
    return box;
}
std::string text(const QLineEdit* box) { return RecordText::fromQt(box->text()); }
std::string text(const QComboBox* box) { return RecordText::fromQt(box->currentText()); }
}  // namespace

CQuickAddDlg::CQuickAddDlg(const CLocalFile& local, const SalesFileHeader& header, const std::string& code, QWidget* parent)
    : QDialog(parent), local_(local)
{
    setWindowTitle("Product Quick Add");
    setObjectName("quick_add_dialog");
    defaults_.words[DefaultsRecord::kNewProductTouch] = 1;
    ReadDefaults(local_, defaults_);

    auto* group = new QGroupBox("Enter a new Product", this);
    auto* grid = new QGridLayout(group);
    static const char* const captions[6] = {"Item#", "Description", "Qty", "Cost", "Price", "Sale%"};
    static const char* const names[6] = {"item", "description", "qty", "cost", "price", "sale_percent"};
    static const char* const tips[6] = {"Product Item number.", "Product Description.", "Product Quantity in stock.",
                                        "Product Cost from vendor.", "Price product will sell for.",
                                        "Mark-Down percentage. Discount %."};
    for (int i = 0; i < 6; ++i) {
        auto* box = new QLineEdit(group);
        box->setObjectName(names[i]);
        box->setToolTip(tips[i]);
        boxes_[static_cast<std::size_t>(i)] = box;
        grid->addWidget(new QLabel(captions[i], group), 0, i);
        grid->addWidget(box, 1, i);
    }
    boxes_[kItem]->setText(RecordText::toQt(code));
    category_ = sortedCombo(group, "category", ComboEntries(header.categories));
    category_->setToolTip("Product Category.");
    department_ = sortedCombo(group, "department", ComboEntries(header.departments));
    vendor_ = sortedCombo(group, "vendor", FillVendorBox(local_));
    vendor_->setToolTip("Product Vendor name.");
    vendorNumber_ = new QLineEdit(group);
    vendorNumber_->setObjectName("vendor_number");
    vendorNumber_->setToolTip("Product Vender Number.");
    tax_ = new QComboBox(group);
    tax_->setObjectName("tax");
    tax_->addItems({"0 - No Tax", "1 - Tax 1", "2 - Tax 2", "3 - Tax 1 & 2"});
    const std::uint32_t tax = defaults_.words[DefaultsRecord::kNewProductTax];
    tax_->setCurrentIndex(tax <= 3 ? static_cast<int>(tax) : 0);
    connect(tax_, &QComboBox::activated, this, [this](int index) {
        defaults_.words[DefaultsRecord::kNewProductTax] = static_cast<std::uint32_t>(index);
        // Only this word: widths another window saved meanwhile stay as they are.
        WriteDefaultWords(local_, DefaultsRecord::kNewProductTax, {static_cast<std::uint32_t>(index)});
    });
    const std::pair<const char*, QWidget*> lower[] = {
        {"Category", category_}, {"Department", department_}, {"Vendor", vendor_}, {"Vendor Number", vendorNumber_}, {"Tax", tax_}};
    int column = 0;
    for (const auto& [caption, w] : lower) {
        grid->addWidget(new QLabel(caption, group), 2, column);
        grid->addWidget(w, 3, column++);
    }

    auto* row = new QHBoxLayout;
    auto* ok = new QPushButton("OK (F4)", this);
    ok->setObjectName("ok");
    ok->setToolTip("Save and use Product record.");
    auto* cancel = new QPushButton("Cancel (Esc)", this);
    cancel->setObjectName("cancel");
    cancel->setToolTip("Leave and don't use Product record.");
    auto* clear = new QPushButton("Clear (F6)", this);
    clear->setObjectName("clear");
    for (auto* b : {ok, cancel, clear}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    connect(ok, &QPushButton::clicked, this, &CQuickAddDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(clear, &QPushButton::clicked, this, &CQuickAddDlg::OnClear);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(row);
    // A drop-down list opens itself on F4; here F4 is "OK" from every box.
    for (QComboBox* box : findChildren<QComboBox*>())
        box->installEventFilter(this);
    boxes_[kDescription]->setFocus();
}

bool CQuickAddDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F4) {
        OnOk();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool CQuickAddDlg::Run(const CLocalFile& local, const SalesFileHeader& header, const std::string& code,
                       ProductRecord& built, QWidget* parent)
{
    CQuickAddDlg dlg(local, header, code, parent);
    if (dlg.exec() != QDialog::Accepted)
        return false;
    built = dlg.Built();
    return true;
}

ProductRecord CQuickAddDlg::Built() const
{
    ProductRecord r;
    r.itemNumber = codec::fitText(text(boxes_[kItem]), ProductRecord::kCodeWidth);
    r.description = codec::fitText(text(boxes_[kDescription]), ProductRecord::kNameWidth);
    r.category = codec::fitText(text(category_), ProductRecord::kNameWidth);
    r.department = codec::fitText(text(department_), ProductRecord::kNameWidth);
    r.vendor = codec::fitText(text(vendor_), ProductRecord::kNameWidth);
    r.vendorNumber = codec::fitText(text(vendorNumber_), ProductRecord::kCodeWidth);
    r.taxStatus = static_cast<std::uint8_t>(std::max(0, tax_->currentIndex()));
    r.stock = ProductNumber(text(boxes_[kQty]));
    // Stored to the cent, as the sale screen reckons amounts.
    r.cost = RoundToCents(ProductNumber(text(boxes_[kCost])));
    r.price[0] = RoundToCents(ProductNumber(text(boxes_[kPrice])));
    r.salePercent = ProductNumber(text(boxes_[kSale]));
    return r;
}

void CQuickAddDlg::OnOk()
{
    const std::string item = codec::fitText(text(boxes_[kItem]), ProductRecord::kCodeWidth);
    if (item.empty()) {
        MessageBox::information(this, "Must have a Item#");
        return;
    }
    if (ProductExists(local_, item)) {
        MessageBox::information(this, "Must have a unique Item#");
        return;
    }
    const std::pair<int, const char*> numbers[] = {{kQty, "Qty"}, {kCost, "Cost"}, {kPrice, "Price"}, {kSale, "Sale%"}};
    for (const auto& [box, name] : numbers)
        if (double value = 0; !NumberBoxes::Read(this, boxes_[box], name, value))
            return;
    accept();
}

void CQuickAddDlg::OnClear()
{
    for (QLineEdit* box : boxes_)
        box->clear();
    vendorNumber_->clear();
    tax_->setCurrentIndex(1);
    for (QComboBox* box : {vendor_, category_}) {
        box->setCurrentIndex(-1);
        box->clearEditText();
    }
}

void CQuickAddDlg::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    // Ctrl+arrows walk Item# .. Sale% and Category, Vendor, Vendor Number.
    const std::vector<QWidget*> top(boxes_.begin(), boxes_.end());
    const std::vector<QWidget*> lower = {category_, vendor_, vendorNumber_};
    auto step = [&](int by) {
        for (const auto* order : {&top, &lower}) {
            const auto it = std::find(order->begin(), order->end(), focusWidget());
            if (it == order->end())
                continue;
            const auto at = std::clamp<std::ptrdiff_t>((it - order->begin()) + by, 0,
                                                       static_cast<std::ptrdiff_t>(order->size()) - 1);
            (*order)[static_cast<std::size_t>(at)]->setFocus();
        }
    };
    switch (event->key()) {
    case Qt::Key_F4: OnOk(); return;
    case Qt::Key_F6: OnClear(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: focusNextChild(); return;
    case Qt::Key_Left: if (ctrl) { step(-1); return; } break;
    case Qt::Key_Right: if (ctrl) { step(1); return; } break;
    case Qt::Key_Up: if (ctrl) { boxes_[kItem]->setFocus(); return; } break;
    case Qt::Key_Down: if (ctrl) { category_->setFocus(); return; } break;
    default: break;
    }
    QDialog::keyPressEvent(event);
}
