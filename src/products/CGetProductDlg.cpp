#include "products/CGetProductDlg.h"

#include "platform/MessageBox.h"
#include "platform/RecordText.h"
#include "print/CReportPrinter.h"
#include "products/CProductsDlg.h"
#include "products/ProductListWidget.h"
#include "settings/SecurityGate.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/CountedFile.h"
#include "storage/files/ListFiles.h"
#include "storage/files/ProductFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/files/VendorFile.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
std::string text(const QLineEdit* box) { return RecordText::fromQt(box->text()); }
std::string text(const QComboBox* box) { return RecordText::fromQt(box->currentText()); }

// A drop-down that refills itself from its source whenever it gets the focus.
class ListCombo : public QComboBox {
public:
    ListCombo(std::function<std::vector<std::string>()> source, QWidget* parent)
        : QComboBox(parent), source_(std::move(source))
    {
        setEditable(true);
        refill();
    }
    void refill()
    {
        const QString keep = currentText();
        auto entries = source_();
        std::sort(entries.begin(), entries.end());
        clear();
        for (const auto& e : entries)
            addItem(RecordText::toQt(e));
        setCurrentIndex(-1);
        setEditText(keep);
    }

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        refill();
        QComboBox::focusInEvent(event);
    }

private:
    std::function<std::vector<std::string>()> source_;
};
}  // namespace

CGetProductDlg::CGetProductDlg(const CLocalFile& local, SalesFileHeader& header, Kind kind, QWidget* parent)
    : QDialog(parent), local_(local), header_(header), kind_(kind)
{
    const bool get = kind == Kind::Get;
    setWindowTitle(get ? "Get Product" : "Find Product");
    setObjectName(get ? "get_product_dialog" : "find_product_dialog");

    auto builtIn = ProductListBuiltInWidths();
    if (get)
        builtIn[ProductColumn::kMode] = 0;
    for (std::size_t c = 0; c < builtIn.size(); ++c)
        defaults_.words[widthsWord() + c] = builtIn[c];
    defaults_.words[DefaultsRecord::kNewProductTouch] = 1;
    ReadDefaults(local_, defaults_);

    auto* group = new QGroupBox(get ? "Find Product  F8" : "Find Product", this);
    auto* grid = new QGridLayout(group);
    item_ = new QLineEdit(group);
    item_->setObjectName("item");
    description_ = new QLineEdit(group);
    description_->setObjectName("description");
    vendorNumber_ = new QLineEdit(group);
    vendorNumber_->setObjectName("vendor_number");
    vendor_ = new ListCombo([this] { return FillVendorBox(local_); }, group);
    vendor_->setObjectName("vendor");
    auto headerList = [this](std::string SalesFileHeader::*list) {
        return [this, list] {
            ReadHeader(local_, header_);
            return ComboEntries(header_.*list);
        };
    };
    category_ = new ListCombo(headerList(&SalesFileHeader::categories), group);
    category_->setObjectName("category");
    department_ = new ListCombo(headerList(&SalesFileHeader::departments), group);
    department_->setObjectName("department");
    const std::pair<const char*, QWidget*> fields[] = {{"Item#", item_},       {"Desc", description_},
                                                       {"Vendor#", vendorNumber_}, {"Vendor", vendor_},
                                                       {"Category", category_}, {"Dept", department_}};
    int at = 0;
    for (const auto& [caption, w] : fields) {
        grid->addWidget(new QLabel(caption, group), at / 3, (at % 3) * 2);
        grid->addWidget(w, at / 3, (at % 3) * 2 + 1);
        ++at;
    }

    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* caption, const char* name, void (CGetProductDlg::*slot)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    button(get ? "List All  F5" : "List All", "list_all", &CGetProductDlg::OnListAll);
    button(get ? "Search  F6" : "Search", "search", &CGetProductDlg::OnSearch)->setDefault(true);
    button(get ? "Clear  F7" : "Clear", "clear", &CGetProductDlg::OnClear);
    button("New Product", "new_product", &CGetProductDlg::OnNewProduct);
    auto* close = new QPushButton(get ? "Cancel  (Esc)" : "Done", this);
    close->setObjectName(get ? "cancel" : "done");
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, get ? &QDialog::reject : &QDialog::accept);
    buttons->addWidget(close);

    list_ = new ProductListWidget(this);
    list_->setObjectName("product_list");
    list_->setWidths({defaults_.words.begin() + static_cast<std::ptrdiff_t>(widthsWord()),
                      defaults_.words.begin() + static_cast<std::ptrdiff_t>(widthsWord() + ProductColumn::kCount)});
    list_->installEventFilter(this);
    if (get)
        connect(list_, &QAbstractItemView::clicked, this, [this] { OnTake(); });

    auto* layout = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    QMenu* print = bar->addMenu("&Print");
    auto printList = [this](bool withPrices) {
        CReportPrinter::PrintProductListing(this, list_->list().table().textRows(), withPrices);
    };
    print->addAction("Products List", this, [printList] { printList(true); });
    print->addAction("Products List - No Price", this, [printList] { printList(false); });
    layout->setMenuBar(bar);
    layout->addWidget(group);
    layout->addLayout(buttons);
    if (get)
        layout->addWidget(new QLabel("To use a product Click the Item# or press F4, use arrow keys, press enter.", this));
    layout->addWidget(list_, 1);
    resize(900, 560);
    item_->setFocus();
}

std::size_t CGetProductDlg::widthsWord() const
{
    return kind_ == Kind::Get ? DefaultsRecord::kGetProductWidths : DefaultsRecord::kFindProductWidths;
}

void CGetProductDlg::OnListAll()
{
    list_->list().change([this](ProductTable& t) { t.listAll(local_); });
}

void CGetProductDlg::OnSearch()
{
    const ProductSearch s = SearchFromBoxes(text(item_), text(vendorNumber_), text(description_), text(vendor_),
                                            text(category_), text(department_));
    list_->list().change([&](ProductTable& t) { t.listMatching(local_, s); });
}

void CGetProductDlg::OnClear()
{
    item_->clear();
    description_->clear();
    vendorNumber_->clear();
    for (QComboBox* box : {vendor_, category_, department_}) {
        box->setCurrentIndex(-1);
        box->clearEditText();
    }
}

void CGetProductDlg::OnNewProduct()
{
    CProductsDlg::Open(local_, header_, this);
}

void CGetProductDlg::OnTake()
{
    if (kind_ != Kind::Get)
        return;
    const int row = list_->selectedRow();
    if (row < 0) {
        MessageBox::information(this, "Click on the Item# to use product.");
        return;
    }
    // The product as stored now, whether taken by a click or by Enter.
    ProductRecord found;
    if (!FindProductByItem(local_, list_->list().table().itemNumber(static_cast<std::size_t>(row)), found)) {
        MessageBox::information(this, "Didn't find Record.");
        return;
    }
    result_ = found;
    const auto widths = list_->widths();
    for (std::size_t c = 0; c < 19 && c < widths.size(); ++c)
        defaults_.words[widthsWord() + c] = widths[c];
    WriteDefaults(local_, defaults_);
    accept();
}

bool CGetProductDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (list_->selectedRow() >= 0)
                OnTake();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CGetProductDlg::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_F4:
        list_->setFocus();
        if (list_->selectedRow() < 0 && list_->model()->rowCount() > 0)
            list_->selectRow(0);
        return;
    case Qt::Key_F5: OnListAll(); return;
    case Qt::Key_F6: OnSearch(); return;
    case Qt::Key_F7: OnClear(); return;
    case Qt::Key_F8: return;
    case Qt::Key_Up:
        if (ctrl) {
            item_->setFocus();
            return;
        }
        break;
    case Qt::Key_Down:
        if (ctrl) {
            list_->setFocus();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OnSearch();
        return;
    default: break;
    }
    QDialog::keyPressEvent(event);
}
