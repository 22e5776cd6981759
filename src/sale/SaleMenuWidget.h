#pragma once
// The sale screen's menu bar and the rules that grey its items. Commands whose
// windows are not part of the register yet are shown greyed, so the menus read
// as they will; the rest call back into the sale screen.

#include "sale/SaleState.h"

#include <QMenuBar>

#include <functional>

class QAction;

class SaleMenuWidget : public QMenuBar {
    Q_OBJECT
public:
    struct Commands {
        std::function<void()> connect, newSet, chooseReceiptPrinter, openDrawer, exit;
        std::function<void()> general, security, customers, vendors;
        std::function<void()> company, receiptMessages, taxes, terms, saleDates, discountLevels;
        std::function<void()> cashiers, salespeople, paymentTypes, categories, departments;
        std::function<void()> voidSale, clearSale;
        std::function<void()> editSale, quoteSave, quotePrint, quoteFind, quoteHelp;
        std::function<void()> findProduct, editProducts;
        std::function<void()> unpaidInvoices, overdueInvoices, paymentActivity;
        std::function<void()> listRentals, listRentalsOut, returnRental;
        std::function<void()> payThisSale;
    };

    SaleMenuWidget(QWidget* parent, Commands commands);

    // Enables the items that depend on the shown sale, as far as their
    // command is built.
    void UpdateStates(const SaleState::MenuStates& states);

private:
    QAction* Add(QMenu* menu, const char* text, const char* name, std::function<void()> run = {});
    void Greyed(QMenu* menu, std::initializer_list<const char*> texts);

    QAction* voidSale_ = nullptr;
    QAction* editSale_ = nullptr;
    QAction* clearSale_ = nullptr;
    QAction* payThisSale_ = nullptr;
};
