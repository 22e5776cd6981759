#include "rentals/RentalLedger.h"

#include "storage/files/InvoiceFile.h"

#include <cmath>
#include <map>
#include <tuple>

namespace {

std::string lowered(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

using RentalKey = std::tuple<std::uint16_t, std::string, std::int32_t>;

RentalKey keyOf(std::uint16_t customer, const std::string& item, std::int32_t sale)
{
    return {customer, lowered(item), sale};
}

bool itemMatches(const std::string& itemNumber, const std::string& filter)
{
    return filter.empty() || EqualsIgnoreCase(itemNumber, filter);
}

RentalRow rowOf(const RentalRecord& r, float quantity)
{
    return {r.saleNumber, r.customerNumber, r.itemNumber, quantity, r.date};
}

// Cents returned per rental key.
std::map<RentalKey, long long> returnedCents(const std::vector<RentalRecord>& records)
{
    std::map<RentalKey, long long> returned;
    for (const RentalRecord& r : records)
        if (r.quantity < 0)
            returned[keyOf(r.customerNumber, r.itemNumber, r.saleNumber)] -= ToCents(r.quantity);
    return returned;
}

}  // namespace

long long ToCents(double quantity) { return std::llround(quantity * 100.0); }

std::vector<RentalRow> ListAllRentals(const std::vector<RentalRecord>& records, const std::string& filter)
{
    std::vector<RentalRow> rows;
    for (const RentalRecord& r : records)
        if (itemMatches(r.itemNumber, filter))
            rows.push_back(rowOf(r, r.quantity));
    return rows;
}

std::vector<RentalRow> ListOutstandingRentals(const std::vector<RentalRecord>& records, const std::string& filter)
{
    std::map<RentalKey, long long> returned = returnedCents(records);
    std::vector<RentalRow> rows;
    for (const RentalRecord& r : records) {
        if (r.quantity <= 0)
            continue;
        // The key's returns are used up by its rentals in file order, so each
        // rental record is matched whether or not the filter shows it.
        long long& left = returned[keyOf(r.customerNumber, r.itemNumber, r.saleNumber)];
        const long long rented = ToCents(r.quantity);
        const long long taken = std::min(left, rented);
        left -= taken;
        if (rented - taken > 0 && itemMatches(r.itemNumber, filter))
            rows.push_back(rowOf(r, static_cast<float>(static_cast<double>(rented - taken) / 100.0)));
    }
    return rows;
}

long long OutstandingCents(const std::vector<RentalRecord>& records, const RentalRow& row)
{
    const RentalKey key = keyOf(row.customerNumber, row.itemNumber, row.saleNumber);
    long long out = 0;
    for (const RentalRecord& r : records)
        if (keyOf(r.customerNumber, r.itemNumber, r.saleNumber) == key)
            out += ToCents(r.quantity);
    return out;
}
