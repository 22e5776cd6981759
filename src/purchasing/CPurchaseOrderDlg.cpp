#include "purchasing/CPurchaseOrderDlg.h"

#include "platform/Clock.h"
#include "platform/DatePicker.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/RecordText.h"
#include "print/CReportPrinter.h"
#include "purchasing/OrderEstimator.h"
#include "purchasing/PurchaseOrderReport.h"
#include "settings/SecurityGate.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/ProductFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/files/VendorFile.h"
#include "storage/records/TextFormat.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {
const char* const kFilter = "Purchase Orders (*.PON)|*.PON|All Files (*.*)|*.*||";
// The vendor's product list: the product list's columns 0 to 15, then the
// estimator's two.
constexpr int kSoldColumn = 16, kShortColumn = 17, kListColumns = 18;

QString amount(double v) { return QString::asprintf("%.2f", v); }
// Numbers are typed with a point whatever the locale.
float number(const QLineEdit* box) { return box->text().trimmed().toFloat(); }

QLineEdit* box(QWidget* parent, const QString& name, bool readOnly = false)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(readOnly);
    if (readOnly)
        edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}
}  // namespace

PurchaseOrderDesk& CPurchaseOrderDlg::ProgramOrder()
{
    static PurchaseOrderDesk desk;
    return desk;
}

CPurchaseOrderDlg::CPurchaseOrderDlg(const CLocalFile& local, PurchaseOrderDesk& desk, QWidget* parent)
    : QDialog(parent), local_(local), desk_(desk)
{
    setWindowTitle("New Purchase Order");
    auto* outer = new QVBoxLayout(this);
    BuildMenu();

    products_ = new QTreeWidget(this);
    products_->setObjectName("product_list");
    products_->setRootIsDecorated(false);
    products_->setAllColumnsShowFocus(true);
    QStringList captions;
    for (int c = 0; c < kSoldColumn; ++c)
        captions << ProductColumnCaption(c);
    captions << "Sold" << "Short";
    products_->setHeaderLabels(captions);
    products_->header()->setStretchLastSection(false);
    products_->installEventFilter(this);
    connect(products_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { OnProductChosen(products_->indexOfTopLevelItem(item)); });
    outer->addWidget(products_, 1);
    outer->addWidget(BuildLines());
    outer->addWidget(BuildFoot());

    for (const std::string& name : FillVendorBox(local_))
        vendor_->addItem(RecordText::toQt(name));
    vendor_->setCurrentIndex(-1);
    desk_.SetFirstVisible(desk_.order.firstVisible);
    desk_.Recompute();
    Display();
    resize(1000, 740);
}

void CPurchaseOrderDlg::BuildMenu()
{
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    auto add = [this](QMenu* menu, const char* text, const char* name, auto run) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, run);
        return action;
    };
    QMenu* file = bar->addMenu("&File");
    add(file, "New", "action_po_new", [this] { OnNew(); })->setShortcut(QKeySequence::New);
    add(file, "Open...", "action_po_open", [this] { OnOpen(); })->setShortcut(QKeySequence::Open);
    add(file, "Save", "action_po_save", [this] { OnSave(); })->setShortcut(QKeySequence::Save);
    add(file, "Print", "action_po_print", [this] { OnPrint(); })->setShortcut(QKeySequence::Print);
    add(file, "Close", "action_po_close", [this] { reject(); });
    bar->addMenu("&Edit");
    QMenu* tools = bar->addMenu("PO &Tools");
    add(tools, "Add to Inventory", "action_po_add", [this] { OnStock(PurchaseOrderDesk::Stock::Add); });
    add(tools, "Sub from Inventory", "action_po_sub", [this] { OnStock(PurchaseOrderDesk::Stock::Sub); });
    add(tools, "Clear Item", "action_po_clear_item", [this] { OnClearItem(); })->setShortcut(Qt::CTRL | Qt::Key_Delete);
    QMenu* help = bar->addMenu("&Help");
    add(help, "Purchase Orders", "action_po_help", [this] {
        MessageBox::information(this, "Purchase Orders\n\nChoose a vendor, then click its products to add them as "
                                      "lines. Save, Print, and when the goods arrive use PO Tools, Add to Inventory.");
    });
    add(help, "Order Estimator", "action_po_estimator_help", [this] {
        MessageBox::information(this, "Order Estimator\n\nGives what each product sold between the two dates, and "
                                      "how much is short to last the Days of Inventory.");
    });
}

QWidget* CPurchaseOrderDlg::BuildLines()
{
    auto* area = new QWidget(this);
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(1);
    const char* heads[] = {"", "Vendor#", "Description", "Qty", "B / O", "Rcvd", "Cost", "Extend"};
    for (int c = 0; c < 8; ++c)
        grid->addWidget(new QLabel(heads[c], area), 0, c);
    for (int r = 0; r < PurchaseOrderRecord::kVisibleLines; ++r) {
        Row& row = rows_[static_cast<std::size_t>(r)];
        row.number = new QLabel(area);
        row.vendorNumber = box(area, QString("po_vendor_%1").arg(r));
        row.description = box(area, QString("po_description_%1").arg(r));
        row.qty = box(area, QString("po_qty_%1").arg(r));
        row.backOrder = box(area, QString("po_backorder_%1").arg(r));
        row.received = box(area, QString("po_received_%1").arg(r), true);
        row.cost = box(area, QString("po_cost_%1").arg(r));
        row.amount = box(area, QString("po_amount_%1").arg(r), true);
        QWidget* cells[] = {row.number, row.vendorNumber, row.description, row.qty,
                            row.backOrder, row.received, row.cost, row.amount};
        for (int c = 0; c < 8; ++c)
            grid->addWidget(cells[c], r + 1, c);
        for (QLineEdit* edit : {row.vendorNumber, row.description, row.qty, row.backOrder, row.cost})
            connect(edit, &QLineEdit::editingFinished, this, [this] { StoreFields(); });
    }
    grid->setColumnStretch(2, 3);
    grid->setColumnStretch(1, 2);
    scroll_ = new QScrollBar(Qt::Vertical, area);
    scroll_->setObjectName("po_scroll");
    scroll_->setSingleStep(1);
    scroll_->setPageStep(5);
    connect(scroll_, &QScrollBar::valueChanged, this, &CPurchaseOrderDlg::OnScroll);
    grid->addWidget(scroll_, 1, 8, PurchaseOrderRecord::kVisibleLines, 1);
    return area;
}

QWidget* CPurchaseOrderDlg::BuildFoot()
{
    auto* foot = new QWidget(this);
    auto* grid = new QGridLayout(foot);
    grid->setContentsMargins(0, 0, 0, 0);
    vendor_ = new QComboBox(foot);
    vendor_->setObjectName("vendor_box");
    connect(vendor_, &QComboBox::activated, this, [this] { OnVendorChosen(); });
    number_ = box(foot, "po_number");
    connect(number_, &QLineEdit::editingFinished, this, [this] { StoreFields(); });
    grid->addWidget(new QLabel("Select Vendor", foot), 0, 0);
    grid->addWidget(vendor_, 0, 1);
    grid->addWidget(new QLabel("PO#", foot), 1, 0);
    grid->addWidget(number_, 1, 1);
    auto* clear = new QPushButton("Clear", foot);
    clear->setObjectName("po_clear");
    clear->setAutoDefault(false);
    connect(clear, &QPushButton::clicked, this, [this] { OnNew(); });
    grid->addWidget(clear, 2, 0);
    status_ = new QLabel(foot);
    status_->setObjectName("po_status");
    grid->addWidget(status_, 2, 1);

    auto* estimator = new QGroupBox("Order Estimator", foot);
    auto* eg = new QGridLayout(estimator);
    const CalendarTime today = Clock::now();
    from_ = MakeDatePicker(estimator, "estimate_from", ToQDate(today).addDays(-30));
    to_ = MakeDatePicker(estimator, "estimate_to", ToQDate(today));
    days_ = box(estimator, "days_of_inventory");
    days_->setText("30");
    auto* go = new QPushButton("Go", estimator);
    go->setObjectName("estimate_go");
    go->setAutoDefault(false);
    go->setShortcut(Qt::CTRL | Qt::Key_G);
    connect(go, &QPushButton::clicked, this, [this] { OnEstimate(); });
    eg->addWidget(from_, 0, 0);
    eg->addWidget(to_, 0, 1);
    eg->addWidget(new QLabel("Days of Inventory", estimator), 1, 0);
    eg->addWidget(days_, 1, 1);
    eg->addWidget(go, 1, 2);
    grid->addWidget(estimator, 0, 2, 3, 1);

    subtotal_ = box(foot, "po_subtotal", true);
    discount_ = box(foot, "po_discount");
    shipping_ = box(foot, "po_shipping");
    total_ = box(foot, "po_total", true);
    const std::pair<const char*, QLineEdit*> sums[] = {
        {"Subtotal", subtotal_}, {"Discount", discount_}, {"Shipping", shipping_}, {"Total", total_}};
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(new QLabel(sums[i].first, foot), i, 3, Qt::AlignRight);
        grid->addWidget(sums[i].second, i, 4);
    }
    for (QLineEdit* edit : {discount_, shipping_})
        connect(edit, &QLineEdit::editingFinished, this, [this] { StoreFields(); });
    return foot;
}

DeskPrompts CPurchaseOrderDlg::Prompts()
{
    return {[this](const std::string& text) { MessageBox::information(this, text); },
            [this](const std::string& text) { return MessageBox::askYesNo(this, text); }};
}

void CPurchaseOrderDlg::StoreFields()
{
    if (displaying_ || desk_.order.added)
        return;
    PurchaseOrderRecord& order = desk_.order;
    const PurchaseOrderRecord before = order;
    order.number = RecordText::fromQt(number_->text(), PurchaseOrderRecord::kNumberWidth - 1);
    order.discount = number(discount_);
    order.shipping = number(shipping_);
    for (int r = 0; r < PurchaseOrderRecord::kVisibleLines; ++r) {
        const int at = order.firstVisible + r;
        if (at >= order.lineCount)
            break;
        const Row& row = rows_[static_cast<std::size_t>(r)];
        PurchaseOrderLine& line = order.lines[static_cast<std::size_t>(at)];
        line.vendorNumber = RecordText::fromQt(row.vendorNumber->text(), PurchaseOrderLine::kVendorNumberWidth - 1);
        line.description = RecordText::fromQt(row.description->text(), PurchaseOrderLine::kDescriptionWidth - 1);
        line.qty = number(row.qty);
        line.backOrder = number(row.backOrder);
        line.cost = number(row.cost);
    }
    desk_.Recompute();
    std::vector<std::uint8_t> a(PurchaseOrderRecord::kSize), b(PurchaseOrderRecord::kSize);
    before.encode(a.data());
    order.encode(b.data());
    if (a != b)
        desk_.markUnsaved();
    Display();
}

void CPurchaseOrderDlg::Display()
{
    displaying_ = true;
    const PurchaseOrderRecord& order = desk_.order;
    const bool open = !order.added;
    for (int r = 0; r < PurchaseOrderRecord::kVisibleLines; ++r) {
        const Row& row = rows_[static_cast<std::size_t>(r)];
        const int at = order.firstVisible + r;
        const bool holds = at < order.lineCount;
        row.number->setText(QString::number(at + 1));
        for (QLineEdit* edit : {row.vendorNumber, row.description, row.qty, row.backOrder, row.cost, row.received, row.amount})
            edit->clear();
        for (QLineEdit* edit : {row.vendorNumber, row.description, row.qty, row.cost})
            edit->setEnabled(open && holds);
        if (!holds) {
            row.backOrder->setEnabled(false);
            continue;
        }
        const PurchaseOrderLine& line = order.lines[static_cast<std::size_t>(at)];
        row.vendorNumber->setText(RecordText::toQt(line.vendorNumber));
        row.description->setText(RecordText::toQt(line.description));
        row.qty->setText(amount(line.qty));
        row.backOrder->setText(amount(line.backOrder));
        row.received->setText(amount(line.received));
        row.cost->setText(amount(line.cost));
        row.amount->setText(amount(line.amount));
        row.backOrder->setEnabled(open && line.received != line.qty);
    }
    number_->setText(RecordText::toQt(order.number));
    subtotal_->setText(amount(order.subtotal));
    discount_->setText(amount(order.discount));
    shipping_->setText(amount(order.shipping));
    total_->setText(amount(order.total));
    for (QWidget* w : {static_cast<QWidget*>(number_), static_cast<QWidget*>(discount_), static_cast<QWidget*>(shipping_)})
        w->setEnabled(open);
    status_->setText(open ? "" : "PO Added to Inventory");
    scroll_->blockSignals(true);
    scroll_->setRange(0, order.lastFirstVisible());
    scroll_->setValue(order.firstVisible);
    scroll_->blockSignals(false);
    displaying_ = false;
}

void CPurchaseOrderDlg::OnVendorChosen()
{
    ProductSearch search;
    search.vendor = RecordText::fromQt(vendor_->currentText().toLower(), 39);
    std::vector<std::uint8_t> bytes;
    ReadProductBytes(local_, bytes, [&](const std::uint8_t* rec) {
        ProductRecord r;
        r.decode(rec);
        return MatchesSearch(r, search);
    });
    listed_.assign(bytes.size() / ProductRecord::kSize, ProductRecord{});
    for (std::size_t i = 0; i < listed_.size(); ++i)
        listed_[i].decode(bytes.data() + i * ProductRecord::kSize);
    products_->clear();
    QList<QTreeWidgetItem*> items;
    for (const ProductRecord& record : listed_) {
        const ProductListRow row = ProductRow(record);
        auto* item = new QTreeWidgetItem;
        for (int c = 0; c < kSoldColumn && c < static_cast<int>(row.cells.size()); ++c)
            item->setText(c, RecordText::toQt(row.cells[static_cast<std::size_t>(c)]));
        items << item;
    }
    products_->addTopLevelItems(items);
}

void CPurchaseOrderDlg::OnProductChosen(int row)
{
    if (row < 0 || row >= static_cast<int>(listed_.size()))
        return;
    StoreFields();
    const ProductRecord& p = listed_[static_cast<std::size_t>(row)];
    if (desk_.AddProduct(p.vendorNumber, p.description, p.cost, p.caseQty))
        Display();
}

void CPurchaseOrderDlg::OnScroll(int first)
{
    if (displaying_)
        return;
    StoreFields();
    desk_.SetFirstVisible(first);
    Display();
}

void CPurchaseOrderDlg::OnNew()
{
    if (MessageBox::show(this, "Are you sure you want to start a new Purchase Order?", MessageBox::Buttons::OkCancel) !=
        MessageBox::Answer::Ok)
        return;
    desk_.New();
    Display();
}

void CPurchaseOrderDlg::OnOpen()
{
    if (SecurityGate(local_) || !OfferToSave())
        return;
    const std::string path = FileDialog::getOpenFileName(this, kFilter, ".PON", local_.dataFolder());
    if (path.empty())
        return;
    if (desk_.Open(local_, path, Prompts()))
        Display();
}

void CPurchaseOrderDlg::OnSave()
{
    if (SecurityGate(local_))
        return;
    StoreFields();
    desk_.Save(local_, Prompts());
}

void CPurchaseOrderDlg::OnPrint()
{
    StoreFields();
    SalesFileHeader store;
    ReadHeader(local_, store);
    VendorRecord vendor;
    const bool known = !vendor_->currentText().isEmpty() &&
                       FindVendor(local_, RecordText::fromQt(vendor_->currentText()), vendor);
    const PurchaseOrderReport report = BuildPurchaseOrderReport(desk_.order, store, known ? &vendor : nullptr);
    CReportPrinter::PrintReport(this, report.header, report.body, report.widths, report.formats);
}

void CPurchaseOrderDlg::OnStock(PurchaseOrderDesk::Stock direction)
{
    if (SecurityGate(local_))
        return;
    StoreFields();
    desk_.Receive(local_, direction, Prompts());
    Display();
}

void CPurchaseOrderDlg::OnClearItem()
{
    QWidget* focus = focusWidget();
    int row = -1;
    for (int r = 0; r < PurchaseOrderRecord::kVisibleLines; ++r)
        if (rows_[static_cast<std::size_t>(r)].vendorNumber == focus)
            row = r;
    if (row < 0) {
        MessageBox::information(this, "Click in the Vendor# edit box first");
        return;
    }
    StoreFields();
    if (desk_.order.added)
        return;
    desk_.ClearLine(desk_.order.firstVisible + row);
    Display();
}

void CPurchaseOrderDlg::OnEstimate()
{
    const int rows = static_cast<int>(listed_.size());
    if (rows == 0) {
        MessageBox::information(this, "Select a Vendor with products first.");
        return;
    }
    const CalendarTime from = FromQDate(from_->date()), to = FromQDate(to_->date());
    const int rangeDays = OrderEstimator::RangeDays(from, to);
    if (rangeDays <= 0) {
        MessageBox::information(this, "The second date of the Order Estimator lies before the first.\n\n"
                                      "Please choose a range that ends on or after its first day.");
        return;
    }
    const int days = static_cast<int>(std::trunc(days_->text().trimmed().toDouble()));
    std::vector<std::string> items;
    for (const ProductRecord& p : listed_)
        items.push_back(p.itemNumber);
    std::vector<double> sold;
    OrderEstimator::SoldInRange(local_, items, from, to, sold);
    for (int r = 0; r < rows; ++r) {
        QTreeWidgetItem* item = products_->topLevelItem(r);
        const double stock = listed_[static_cast<std::size_t>(r)].stock;
        item->setText(kSoldColumn, amount(sold[static_cast<std::size_t>(r)]));
        item->setText(kShortColumn, amount(OrderEstimator::ShortQuantity(sold[static_cast<std::size_t>(r)], rangeDays, days, stock)));
    }
}

bool CPurchaseOrderDlg::OfferToSave()
{
    StoreFields();
    return !(desk_.unsaved() && MessageBox::askYesNo(this, "This PO has not been saved.\n\n Do you want to save it?") &&
             (SecurityGate(local_) || !desk_.Save(local_, Prompts())));
}

void CPurchaseOrderDlg::reject()
{
    if (!OfferToSave())
        return;  // not saved: the window stays open
    QDialog::reject();
}

bool CPurchaseOrderDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == products_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            OnProductChosen(products_->indexOfTopLevelItem(products_->currentItem()));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CPurchaseOrderDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter moves on as Tab does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}
