#include "receivables/PaymentActivity.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/ChunkedScan.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <filesystem>
#include <system_error>

bool PaymentRows::list(const CLocalFile& local, std::int32_t recordNumber)
{
    const std::string path = local.GetPath("Payments");
    const ChunkedLayout layout{PaymentFileHeader::kSize, PaymentRecord::kSize};
    records_.clear();
    std::vector<std::uint32_t> found;
    // Room for every payment the file holds, so the list is never copied while it grows.
    std::error_code error;
    const auto bytes = std::filesystem::file_size(path, error);
    if (!error && bytes > PaymentFileHeader::kSize)
        found.reserve((bytes - PaymentFileHeader::kSize) / PaymentRecord::kSize);
    const int cause = ScanInChunks(
        path, layout,
        [&](const std::uint8_t* records, long long first, long long n) {
            for (long long i = 0; i < n; ++i) {
                const std::uint8_t* rec = records + i * static_cast<long long>(PaymentRecord::kSize);
                if (codec::getU8(rec, PaymentRecord::kKindOff) == PaymentRecord::kOnAccount &&
                    (recordNumber < 0 || codec::getI32(rec, PaymentRecord::kInvoiceNumberOff) == recordNumber))
                    found.push_back(static_cast<std::uint32_t>(first + i));
            }
        },
        {});
    if (cause == FileCause::NotFound)
        return true;
    if (cause != FileCause::None)
        return false;
    if (found.size() < found.capacity() / 2)
        found.shrink_to_fit();
    records_.reset(path, layout, std::move(found), false);
    return true;
}

std::string PaymentRows::cell(std::size_t row, int column) const
{
    const std::uint8_t* rec = records_.record(row);
    if (!rec || column < 0)
        return {};
    PaymentRecord payment;
    payment.decode(rec);
    const std::vector<std::string> cells = PaymentCells(payment);
    return column < static_cast<int>(cells.size()) ? cells[static_cast<std::size_t>(column)] : std::string();
}

std::vector<std::string> PaymentCells(const PaymentRecord& p)
{
    return {strprintf("%i", p.invoiceNumber), p.payType,      strprintf("%.2f", static_cast<double>(p.amount)),
            FormatOleDate(p.date, "%m/%d/%Y"), p.cardNumber, p.cashier, p.notes, strprintf("%i", p.paymentId)};
}
