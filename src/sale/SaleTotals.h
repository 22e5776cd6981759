#pragma once
// A sale's money: line amounts, subtotals, the whole-sale discount, the two
// taxes under the USA or UK formula, the total and the change; the unit price
// at a customer's level and the tax rates of a sale. Each step is computed in
// double precision and stored as the record's 4-byte float at its end, so the
// screen, receipts and reports agree to the cent.

#include <string>

class CLocalFile;
struct CalendarTime;
struct InvoiceRecord;
struct ProductRecord;
struct SalesFileHeader;

// A step's result as stored: a value that is not finite or does not fit a
// float (a quantity of 1e39, say) is stored as 0, so nothing downstream ever
// computes with or shows "nan" or "inf".
float StoreAmount(double value);

// Numbers as text by the C rules (a point, no grouping), whatever the
// machine's locale: "%.Nf" of the value, without the sign of a value that
// shows as zero, and the number a text starts with (0 when it does not start
// with a finite number; surrounding blanks and a leading '+' are skipped).
std::string FixedText(double value, int decimals);
double ReadNumber(const std::string& text);

// Formats with "%.2f" and reads the text back.
float RoundToCents(double value);

// The text of an amount in a box or on a receipt: "%.2f" ("%.0f" with cents
// off); an untaxed amount gets the leading 0 of the tax-exempt mark.
std::string AmountText(const SalesFileHeader& header, double value, bool taxed);

// "Tax", or "v.a.t." under the UK formula.
std::string TaxLabel(const SalesFileHeader& header);

// The whole computation, in place.
void RecalculateTotals(InvoiceRecord& record, const SalesFileHeader& header);

// Simple tax from the header; else the first tax-table row named exactly
// taxTableName; else both rates 0 (the sale is untaxed).
void LookupTaxRates(const CLocalFile& local, const SalesFileHeader& header, InvoiceRecord& record,
                    const std::string& taxTableName);

// The price of the level, else of the first lower level with a positive price,
// else price[0] as stored. Levels outside 0..5 are taken as the nearest one.
float PriceAtLevel(const ProductRecord& product, int level);

// Sets each filled line's price at the level from the product file, in one
// pass. A line whose product is no longer in the file keeps its price.
void RepriceLines(const CLocalFile& local, InvoiceRecord& record, int level);

// True while the store's sale period, first and last day included, is on.
bool SalePeriodOn(const SalesFileHeader& header, const CalendarTime& now);
