#include "sale/SaleMenuWidget.h"

#include "platform/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>

QAction* SaleMenuWidget::Add(QMenu* menu, const char* text, const char* name, std::function<void()> run)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    // "ready": the command does something; UpdateStates keeps the others greyed.
    action->setProperty("ready", static_cast<bool>(run));
    if (run)
        connect(action, &QAction::triggered, this, run);
    else
        action->setEnabled(false);
    return action;
}

void SaleMenuWidget::Greyed(QMenu* menu, std::initializer_list<const char*> texts)
{
    for (const char* text : texts)
        menu->addAction(text)->setEnabled(false);
}

SaleMenuWidget::SaleMenuWidget(QWidget* parent, Commands commands) : QMenuBar(parent)
{
    setObjectName("menubar");
    QMenu* file = addMenu("&File");
    file->setObjectName("menu_file");
    Add(file, "&Connect...", "action_connect", commands.connect);
    Add(file, "&New...", "action_new", commands.newSet);
    file->addSeparator();
    Greyed(file, {"Print Sales Copy...", "Print Packing List..."});
    Add(file, "Choose Receipt Printer...", "action_choose_receipt_printer", commands.chooseReceiptPrinter);
    Add(file, "Open Drawer", "action_open_drawer", commands.openDrawer);
    file->addSeparator();
    Add(file, "E&xit", "action_exit", commands.exit);

    QMenu* edit = addMenu("&Edit");
    edit->setObjectName("menu_edit");
    // The standard edit commands act on the focused box.
    auto onFocused = [](const char* slot) {
        return [slot] {
            if (QWidget* w = QApplication::focusWidget())
                QMetaObject::invokeMethod(w, slot);
        };
    };
    Add(edit, "&Undo\tCtrl+Z", "action_undo", onFocused("undo"));
    edit->addSeparator();
    Add(edit, "Cu&t\tCtrl+X", "action_cut", onFocused("cut"));
    Add(edit, "&Copy\tCtrl+C", "action_copy", onFocused("copy"));
    Add(edit, "&Paste\tCtrl+V", "action_paste", onFocused("paste"));
    Add(edit, "&Delete\tDel", "action_delete", [] {
        if (auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
            box->del();
        else if (auto* text = qobject_cast<QPlainTextEdit*>(QApplication::focusWidget()))
            text->textCursor().removeSelectedText();
    });

    QMenu* settings = addMenu("&Settings");
    settings->setObjectName("menu_settings");
    Add(settings, "General", "action_general", commands.general);
    Add(settings, "Security", "action_security", commands.security);
    Add(settings, "Our Company", "action_company", commands.company);
    Add(settings, "Receipt Messages", "action_receipt_messages", commands.receiptMessages);
    Add(settings, "Taxes", "action_taxes", commands.taxes);
    Add(settings, "Terms", "action_terms", commands.terms);
    Add(settings, "Sale Dates", "action_sale_dates", commands.saleDates);
    Add(settings, "Discount Levels", "action_discount_levels", commands.discountLevels);
    Add(settings, "Customers", "action_customers", commands.customers);
    Add(settings, "Cashiers", "action_cashiers", commands.cashiers);
    Add(settings, "Sales Personnel", "action_sales_personnel", commands.salespeople);
    Add(settings, "Payment Types", "action_payment_types", commands.paymentTypes);
    Add(settings, "Catagories", "action_categories", commands.categories);
    Add(settings, "Departments", "action_departments", commands.departments);
    Add(settings, "Vendors", "action_vendors", commands.vendors);

    QMenu* products = addMenu("&Products");
    Add(products, "Find Product", "action_find_product", commands.findProduct);
    Add(products, "New / Edit Products", "action_edit_products", commands.editProducts);
    Greyed(products, {"Purchase Order"});

    QMenu* sales = addMenu("S&ales");
    sales->setObjectName("menu_sales");
    Greyed(sales, {"Find a Sale"});
    editSale_ = Add(sales, "Edit This Sale", "action_edit_sale", commands.editSale);
    voidSale_ = Add(sales, "Void This Sale", "action_void_sale", commands.voidSale);
    clearSale_ = Add(sales, "Clear This Sale", "action_clear_sale", commands.clearSale);
    sales->addSeparator();
    Greyed(sales, {"Export Sales"});

    QMenu* reports = addMenu("&Reports");
    const std::initializer_list<std::initializer_list<const char*>> reportGroups = {
        {"Sales Today", "Sales This Week", "Sales This Month", "Sales This Quarter", "Sales This Year"},
        {"Sales Yesterday", "Sales Last Week", "Sales Last Month", "Sales Last Quarter", "Sales Last Year"},
        {"Sales...", "Cash Drawer Reconciliation"},
        {"All Product Sales Summary", "Category Sales By Product", "Vendor Sales By Product",
         "All Category Sales Summary", "All Vendor Sales Summary"},
        {"Customer Sales List", "Customer Sales By Product", "Customer Sales By Categories",
         "Customer Sales By Vendors", "All Customers Sales Summary"},
        {"All Cashiers Sales Summary", "Cashier Sales By Product", "Cashier Sales By Categories",
         "Cashier Sales By Vendors"},
        {"All Salespersons Sales Summary", "Salesperson Sales By Product", "Salesperson Sales By Categories",
         "Salesperosn Sales By Vendors"},
        {"Graph Sales by Hour of Day", "Graph Sales by Hour of Week", "Graph Sales by Month", "12 Month Trend Graph"},
    };
    for (const auto& group : reportGroups) {
        if (!reports->isEmpty())
            reports->addSeparator();
        Greyed(reports, group);
    }

    QMenu* quotes = addMenu("&Quotes");
    quotes->setObjectName("menu_quotes");
    Add(quotes, "Save", "action_quote_save", commands.quoteSave);
    Add(quotes, "Print...", "action_quote_print", commands.quotePrint);
    Add(quotes, "Find...", "action_quote_find", commands.quoteFind);
    Add(quotes, "Help", "action_quote_help", commands.quoteHelp);
    QMenu* rentals = addMenu("Re&ntals");
    rentals->setObjectName("menu_rentals");
    Add(rentals, "List All Rental Records", "action_list_rentals", commands.listRentals);
    Add(rentals, "List Rentals Not Returned", "action_list_rentals_out", commands.listRentalsOut);
    Add(rentals, "Return Rental", "action_return_rental", commands.returnRental);

    QMenu* payments = addMenu("Pa&yments");
    Add(payments, "List All Payments", "action_payment_activity", commands.paymentActivity);
    Add(payments, "Invoices with a Balance Due", "action_unpaid_invoices", commands.unpaidInvoices);
    Add(payments, "Invoices Past Due", "action_overdue_invoices", commands.overdueInvoices);
    Add(payments, "Make Payment", "action_make_payment", commands.unpaidInvoices);
    payThisSale_ = Add(payments, "Make Payment to this Sale", "action_pay_this_sale", commands.payThisSale);

    QMenu* help = addMenu("&Help");
    Add(help, "About Register", "action_about", [parent] {
        MessageBox::information(parent, "Register\n\nA cash register for small stores.\n\n"
                                        "Ring up sales on this screen: type or scan item codes into the grid, "
                                        "F3 for the customer, F7 salesperson, F8 payment type, F9 to finish.");
    });
}

void SaleMenuWidget::UpdateStates(const SaleState::MenuStates& states)
{
    auto apply = [](QAction* action, bool on) { action->setEnabled(on && action->property("ready").toBool()); };
    apply(voidSale_, states.voidSale);
    apply(editSale_, states.editSale);
    apply(payThisSale_, states.payThisSale);
    apply(clearSale_, states.clearSale);
}
