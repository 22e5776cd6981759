#include "rentals/RentalBook.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/CustomerFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/journal/Transaction.h"
#include "storage/records/TextFormat.h"

#include <filesystem>

bool ReadRentalRecords(const CLocalFile& local, std::vector<RentalRecord>& records)
{
    const int cause = ReadRentalFile(local.GetPath("Rentals"), records);
    return cause == FileCause::None || cause == FileCause::NotFound;
}

ReturnOutcome BookRentalReturn(const CLocalFile& local, const RentalRow& row, float quantity, const OleDate& when)
{
    ReturnOutcome outcome;
    const std::string path = local.GetPath("Rentals");
    Transaction tx;
    tx.add(path, OpenMode::OpenOrCreate);
    if (tx.begin() != FileCause::None)
        return outcome;
    DataFile& file = tx.file(path);
    std::vector<RentalRecord> present;
    if (!ReadRentals(file, present))
        return outcome;
    const long long limit = std::max(0LL, std::min(ToCents(row.quantity), OutstandingCents(present, row)));
    const long long asked = ToCents(quantity);
    if (asked <= 0 || asked > limit) {
        outcome.kind = ReturnOutcome::Kind::OutOfRange;
        outcome.outstanding = static_cast<float>(static_cast<double>(limit) / 100.0);
        return outcome;
    }
    RentalRecord back;
    back.quantity = -static_cast<float>(static_cast<double>(asked) / 100.0);
    back.saleNumber = row.saleNumber;
    back.customerNumber = row.customerNumber;
    back.itemNumber = row.itemNumber;
    back.date = when;
    StageRentalAppend(tx, file, present, back);
    if (tx.commit() == FileCause::None)
        outcome.kind = ReturnOutcome::Kind::Booked;
    return outcome;
}

ChangeResult DeleteRentalRecord(const CLocalFile& local, const RentalRow& row)
{
    const std::string path = local.GetPath("Rentals");
    Transaction tx;
    tx.add(path);
    const int cause = tx.begin();
    if (cause != FileCause::None)
        return cause == FileCause::NotFound ? ChangeResult::NotFound : ChangeResult::Failed;
    DataFile& file = tx.file(path);
    std::vector<RentalRecord> present;
    if (!ReadRentals(file, present))
        return ChangeResult::Failed;
    for (std::size_t i = 0; i < present.size(); ++i) {
        const RentalRecord& r = present[i];
        if (ToCents(r.quantity) == ToCents(row.quantity) && r.saleNumber == row.saleNumber &&
            r.customerNumber == row.customerNumber && EqualsIgnoreCase(r.itemNumber, row.itemNumber)) {
            StageRentalRemoval(tx, file, present, i);
            return tx.commit() == FileCause::None ? ChangeResult::Done : ChangeResult::Failed;
        }
    }
    return ChangeResult::NotFound;
}

RentalCustomers::RentalCustomers(const CLocalFile& local)
{
    const std::string path = local.GetPath("Customers");
    // Number 0 is the file's all-empty placeholder record.
    std::error_code error;
    if (std::filesystem::exists(path, error))
        texts_[0] = "  ";
    for (const CustomerRecord& c : ReadCustomers(local))
        texts_.try_emplace(c.customerNumber, strprintf("%s %s %s", c.text[CustomerRecord::kName].c_str(),
                                                       c.text[CustomerRecord::kCompany].c_str(),
                                                       c.text[CustomerRecord::kPhone].c_str()));
}

std::string RentalCustomers::text(std::uint16_t number) const
{
    const auto it = texts_.find(number);
    return it == texts_.end() ? std::string() : it->second;
}
