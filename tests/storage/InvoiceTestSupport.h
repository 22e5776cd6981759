#pragma once
// Helpers shared by the invoice, quote and payment tests.

#include "RecordingPrompt.h"
#include "storage/records/InvoiceRecord.h"

#include <string>
#include <vector>

namespace {

inline CalendarTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return CalendarTime{year, month, day, hour, minute, second};
}

// A sale whose fields all derive from (writer, serial), so a reader can tell
// from the record alone who wrote it and whether every byte came through.
inline InvoiceRecord patternSale(int writer, int serial)
{
    InvoiceRecord r = ClearedInvoice();
    r.cashier = "writer " + std::to_string(writer);
    r.salesperson = "serial " + std::to_string(serial);
    r.payType = "Cash";
    r.customerNumber = static_cast<std::uint16_t>(serial);
    r.termsIndex = static_cast<std::uint8_t>(writer);
    r.total = static_cast<float>(serial) + 0.25f;
    r.cashPaid = static_cast<float>(writer);
    for (std::size_t i = 0; i < InvoiceRecord::kLines; ++i) {
        r.qty[i] = static_cast<float>(serial % 7 + i);
        r.price[i] = static_cast<float>(writer * 100 + i);
        r.itemNumber[i] = "W" + std::to_string(writer) + "-" + std::to_string(serial) + "-" + std::to_string(i);
        r.description[i] = std::string(39, static_cast<char>('a' + (serial + i) % 26));
        r.vendor[i] = std::string(39, static_cast<char>('A' + (writer + i) % 26));
        r.lineMode[i] = static_cast<std::uint8_t>(i % 3);
    }
    r.address[InvoiceRecord::kEmail] = std::string(39, 'z');
    return r;
}

}  // namespace
