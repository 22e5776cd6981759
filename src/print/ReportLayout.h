#pragma once
// The page layouts of tab-separated text reports and of the product listing,
// in the 992-unit page coordinates of the report printer.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class PrintCanvas;

// Page units per printable width: a position p is drawn at p * scale.
constexpr double kPageUnits = 992;
double PageScale(const PrintCanvas& canvas);

// Lays out a report: the header on top of every page, the body lines below it,
// "Page %u" at the bottom. TAB ends a cell, LF a line; CR is ignored and text
// after the last LF is not printed. Cells beyond `widths` are not drawn. Every
// page takes at least one body line, so a tall header still ends. Returns the
// number of pages.
int LayoutReport(PrintCanvas& canvas, const std::string& header, const std::string& body,
                 const std::vector<std::int16_t>& widths, const std::vector<std::uint16_t>& formats);

// One product of the listing, in the product list's column order (item number,
// description, cost, price, ..., stock at 9, vendor at 11).
using ListingRow = std::vector<std::string>;

// Lays out the product listing with its title block ("Product Listing", the
// date text, the page number) and headings on every page. Returns the pages.
int LayoutProductListing(PrintCanvas& canvas, const std::vector<ListingRow>& rows, bool withCostAndPrice,
                         const std::string& dateText);
