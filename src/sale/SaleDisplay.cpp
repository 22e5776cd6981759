#include "sale/SaleDisplay.h"

#include "sale/PaymentHistory.h"
#include "sale/SaleTotals.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/records/TextFormat.h"

#include <algorithm>

namespace {
std::string two(double v) { return strprintf("%.2f", v); }
}  // namespace

SaleDisplay BuildSaleDisplay(const CLocalFile& local, const SalesFileHeader& header, const InvoiceRecord& sale,
                             bool showMargins)
{
    SaleDisplay d;
    d.customer = AddressBlock(sale);
    d.cashier = sale.cashier;
    d.salesperson = sale.salesperson;
    d.level = header.levelNames[std::min<std::size_t>(sale.priceLevel, header.levelNames.size() - 1)];
    d.payment = EqualsIgnoreCase(sale.payType, "Split") ? PaymentHistoryText(local, sale) : sale.payType;
    for (std::size_t i = 0; i < InvoiceRecord::kLines; ++i) {
        SaleDisplay::Line line;
        line.item = sale.itemNumber[i];
        line.qty = two(sale.qty[i]);
        line.description = sale.description[i];
        line.markdown = two(sale.markdownPercent[i]);
        line.price = two(sale.price[i]);
        line.amount = AmountText(header, sale.extended[i], sale.taxStatus[i] != 0);
        const double costs = static_cast<double>(sale.cost[i]) * sale.qty[i];
        if (showMargins && !sale.itemNumber[i].empty() && costs != 0)
            line.margin = two((sale.extended[i] - costs) / costs * 100);
        d.lines.push_back(std::move(line));
    }
    d.discount = two(sale.discountPercent);
    d.subtotal = two(static_cast<double>(sale.taxableSubtotal) + sale.exemptSubtotal);
    d.handling = two(sale.handling);
    d.tax1 = two(sale.tax1);
    d.tax2 = two(sale.tax2);
    d.rates = strprintf("%.2f, %.2f", sale.taxRate1, sale.taxRate2);
    d.recordNumber = strprintf("%d", sale.recordNumber);
    d.total = two(sale.total);
    return d;
}
