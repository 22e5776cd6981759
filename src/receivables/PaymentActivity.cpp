#include "PaymentActivity.h"

#include "ByteCodec.h"
#include "CLocalFile.h"
#include "CountedFile.h"
#include "DataFile.h"
#include "TextFormat.h"

#include <algorithm>

namespace {
constexpr long long kPaymentBlock = 298;  // records per read, just over 64 KiB
}  // namespace

void ScanPaymentRecords(const CLocalFile& local, const std::function<void(const std::uint8_t*)>& visit)
{
    DataFile file;
    if (CLocalFile::OpenFile(file, local.GetPath("Payments"), OpenMode::Read) != FileCause::None)
        return;
    std::uint8_t head[PaymentFileHeader::kSize];
    if (!readFully(file, 0, head, sizeof head))
        return;
    PaymentFileHeader header;
    header.decode(head);
    const long long size = file.size();
    const long long room = size > static_cast<long long>(PaymentFileHeader::kSize)
                               ? (size - static_cast<long long>(PaymentFileHeader::kSize)) /
                                     static_cast<long long>(PaymentRecord::kSize)
                               : 0;
    bool damaged = false;
    const long long present = RecordsUnderCount(header.count, room, 0, damaged);
    std::vector<std::uint8_t> block(static_cast<std::size_t>(kPaymentBlock) * PaymentRecord::kSize);
    for (long long first = 0; first < present;) {
        const long long take = std::min(kPaymentBlock, present - first);
        if (!readFully(file, PaymentOffset(first), block.data(), static_cast<std::size_t>(take) * PaymentRecord::kSize))
            return;
        for (long long i = 0; i < take; ++i)
            visit(block.data() + static_cast<std::size_t>(i) * PaymentRecord::kSize);
        first += take;
    }
}

std::vector<PaymentRecord> ListPaymentActivity(const CLocalFile& local, std::int32_t recordNumber)
{
    std::vector<PaymentRecord> found;
    ScanPaymentRecords(local, [&](const std::uint8_t* rec) {
        if (codec::getU8(rec, PaymentRecord::kKindOff) != PaymentRecord::kOnAccount ||
            (recordNumber >= 0 && codec::getI32(rec, PaymentRecord::kInvoiceNumberOff) != recordNumber))
            return;
        found.emplace_back();
        found.back().decode(rec);
    });
    return found;
}

std::vector<std::string> PaymentCells(const PaymentRecord& p)
{
    return {strprintf("%i", p.invoiceNumber), p.payType,      strprintf("%.2f", static_cast<double>(p.amount)),
            FormatOleDate(p.date, "%m/%d/%Y"), p.cardNumber, p.cashier, p.notes, strprintf("%i", p.paymentId)};
}
