#include "receivables/PaymentActivity.h"

#include "storage/files/CLocalFile.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

bool PaymentRows::list(const CLocalFile& local, std::int32_t recordNumber)
{
    const auto keep = [recordNumber](const std::uint8_t* rec) {
        return codec::getU8(rec, PaymentRecord::kKindOff) == PaymentRecord::kOnAccount &&
               (recordNumber < 0 || codec::getI32(rec, PaymentRecord::kInvoiceNumberOff) == recordNumber);
    };
    const int cause = ReadRecordBytes(local.GetPath("Payments"), {PaymentFileHeader::kSize, PaymentRecord::kSize},
                                      bytes_, keep);
    return cause == FileCause::None || cause == FileCause::NotFound;
}

PaymentRecord PaymentRows::payment(std::size_t row) const
{
    PaymentRecord p;
    p.decode(bytes_.data() + row * PaymentRecord::kSize);
    return p;
}

std::string PaymentRows::cell(std::size_t row, int column) const
{
    const std::vector<std::string> cells = PaymentCells(payment(row));
    return column >= 0 && column < static_cast<int>(cells.size()) ? cells[static_cast<std::size_t>(column)] : std::string();
}

std::vector<std::string> PaymentCells(const PaymentRecord& p)
{
    return {strprintf("%i", p.invoiceNumber), p.payType,      strprintf("%.2f", static_cast<double>(p.amount)),
            FormatOleDate(p.date, "%m/%d/%Y"), p.cardNumber, p.cashier, p.notes, strprintf("%i", p.paymentId)};
}
