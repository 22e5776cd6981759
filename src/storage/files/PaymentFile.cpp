#include "storage/files/PaymentFile.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/CountedFile.h"
#include "storage/io/DataFile.h"
#include "storage/io/UserPrompt.h"
#include "storage/journal/Transaction.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace {
// Payments read per block: 298 records, just over 64 KiB.
constexpr std::size_t kBlockRecords = 298;

// Records actually present under a stored count (every record there when the
// count is negative, which `damaged` then tells).
long long presentRecords(DataFile& file, std::int32_t stored, bool* damaged = nullptr)
{
    const long long size = file.size();
    const long long room = size > static_cast<long long>(PaymentFileHeader::kSize)
                               ? (size - static_cast<long long>(PaymentFileHeader::kSize)) /
                                     static_cast<long long>(PaymentRecord::kSize)
                               : 0;
    bool bad = false;
    const long long present = RecordsUnderCount(stored, room, 0, bad);
    if (damaged)
        *damaged = bad;
    return present;
}

// Calls visit(buf) for each of the first n records, read in blocks. False on a read error.
template <typename Visit>
bool scanPayments(DataFile& file, long long n, Visit visit)
{
    std::vector<std::uint8_t> block(kBlockRecords * PaymentRecord::kSize);
    for (long long first = 0; first < n;) {
        const long long take = std::min<long long>(kBlockRecords, n - first);
        const std::size_t bytes = static_cast<std::size_t>(take) * PaymentRecord::kSize;
        if (!readFully(file, PaymentOffset(first), block.data(), bytes))
            return false;
        for (long long i = 0; i < take; ++i)
            if (!visit(block.data() + static_cast<std::size_t>(i) * PaymentRecord::kSize))
                return true;
        first += take;
    }
    return true;
}

bool readHeader(DataFile& file, PaymentFileHeader& header, long long& present, bool* damaged = nullptr)
{
    std::uint8_t buf[PaymentFileHeader::kSize];
    if (!readFully(file, 0, buf, sizeof buf))
        return false;
    header.decode(buf);
    present = presentRecords(file, header.count, damaged);
    return true;
}

}  // namespace

int AppendPaymentIn(Transaction& tx, const CLocalFile& local, PaymentRecord& payment)
{
    const std::string path = local.GetPath("Payments");
    DataFile& file = tx.file(path);
    PaymentFileHeader header{0, PaymentFileHeader::kVersion, 0};
    long long present = 0;
    const long long size = file.size();
    if (size < 0)
        return -1;
    const bool empty = size < static_cast<long long>(PaymentFileHeader::kSize);
    bool damaged = false;
    if (!empty && !readHeader(file, header, present, &damaged))
        return -1;
    if (damaged) {
        ReportDamagedCount(path);
        return -2;
    }
    std::int32_t nextId = std::max<std::int32_t>(header.nextId, 0);
    if (!empty && (present != header.count || header.nextId < 0)) {
        // A damaged header: make sure the id handed out is above every id present.
        scanPayments(file, present, [&](const std::uint8_t* rec) {
            nextId = std::max(nextId, codec::getI32(rec, PaymentRecord::kPaymentIdOff) + 1);
            return true;
        });
    }

    payment.paymentId = nextId;
    std::uint8_t rec[PaymentRecord::kSize];
    payment.encode(rec);
    // Past the count nobody sees the record until the header takes it in.
    if (header.count <= present)
        tx.writeUnseen(file, PaymentOffset(present), rec, sizeof rec);
    else
        tx.write(file, PaymentOffset(present), rec, sizeof rec);
    std::uint8_t head[PaymentFileHeader::kSize];
    PaymentFileHeader{static_cast<std::int32_t>(present + 1), PaymentFileHeader::kVersion, nextId + 1}.encode(head);
    tx.write(file, 0, head, sizeof head);
    return nextId;
}

int ReadPaymentCount(const CLocalFile& local)
{
    DataFile file;
    if (CLocalFile::OpenFile(file, local.GetPath("Payments"), OpenMode::Read) != FileCause::None)
        return 0;
    PaymentFileHeader header;
    long long present = 0;
    return readHeader(file, header, present) ? static_cast<int>(present) : 0;
}

std::vector<PaymentRecord> PaymentsOfSale(const CLocalFile& local, std::int32_t invoiceNumber)
{
    std::vector<PaymentRecord> found;
    ReadPayments(local, invoiceNumber, 0, found);
    return found;
}

int VisitPayments(const CLocalFile& local, const std::function<void(const std::uint8_t*)>& visit)
{
    DataFile file;
    const int cause = CLocalFile::OpenFile(file, local.GetPath("Payments"), OpenMode::Read);
    if (cause == FileCause::NotFound)
        return FileCause::None;
    if (cause != FileCause::None)
        return cause;
    return VisitPaymentsIn(file, visit);
}

int VisitPaymentsIn(DataFile& file, const std::function<void(const std::uint8_t*)>& visit)
{
    const long long size = file.size();
    if (size < 0)
        return file.failure();
    if (size < static_cast<long long>(PaymentFileHeader::kSize))
        return FileCause::None;  // created, nothing stored yet
    PaymentFileHeader header;
    long long present = 0;
    if (!readHeader(file, header, present))
        return file.failure();
    long long seen = 0;
    const bool complete = scanPayments(file, present, [&](const std::uint8_t* rec) {
        ++seen;
        visit(rec);
        return true;
    });
    return complete && seen == present ? FileCause::None : FileCause::Generic;
}

int ReadPayments(const CLocalFile& local, std::int32_t invoiceNumber, std::uint8_t onlyKind,
                 std::vector<PaymentRecord>& out)
{
    out.clear();
    std::vector<PaymentRecord> found;
    const int cause = VisitPayments(local, [&](const std::uint8_t* rec) {
        if ((invoiceNumber < 0 || codec::getI32(rec, PaymentRecord::kInvoiceNumberOff) == invoiceNumber) &&
            (onlyKind == 0 || codec::getU8(rec, PaymentRecord::kKindOff) == onlyKind)) {
            found.emplace_back();
            found.back().decode(rec);
        }
    });
    if (cause == FileCause::None)
        out = std::move(found);
    return cause;
}

bool FindPaymentById(const CLocalFile& local, std::int32_t paymentId, PaymentRecord& payment)
{
    std::vector<PaymentRecord> all;
    if (ReadPayments(local, -1, 0, all) != FileCause::None)
        return false;
    for (const PaymentRecord& p : all)
        if (p.paymentId == paymentId) {
            payment = p;
            return true;
        }
    return false;
}

const char* const kPaymentFileError = "Error opening Payment file.";

int AppendPayment(const CLocalFile& local, PaymentRecord& payment, const std::string& alsoHold,
                  const AlongsidePayment& alongside)
{
    // Created without truncating: another register may have created it and
    // stored its first payment meanwhile.
    Transaction tx;
    tx.add(local.GetPath("Payments"), OpenMode::OpenOrCreate);
    if (!alsoHold.empty())
        tx.add(alsoHold);
    PaymentRecord stored = payment;
    int id = -1;
    if (tx.begin() == FileCause::None) {
        id = AppendPaymentIn(tx, local, stored);
        if (id >= 0 && ((alongside && !alongside(tx, stored)) || tx.commit() != FileCause::None))
            id = -1;
    }
    // A write that failed is told like a failed open: the payment was not stored.
    if (id == -1)
        userPrompt().showMessage(kPaymentFileError);
    if (id < 0)
        return -1;
    payment = stored;
    return id;
}

int ReplacePaymentIn(Transaction& tx, const CLocalFile& local, const PaymentRecord& payment, PaymentRecord& old)
{
    DataFile& file = tx.file(local.GetPath("Payments"));
    PaymentFileHeader header;
    long long present = 0;
    long long at = -1;
    const bool empty = file.size() < static_cast<long long>(PaymentFileHeader::kSize);
    bool read = empty || readHeader(file, header, present);
    if (read && !empty) {
        long long index = 0;
        read = scanPayments(file, present, [&](const std::uint8_t* rec) {
            if (codec::getI32(rec, PaymentRecord::kPaymentIdOff) == payment.paymentId) {
                at = index;
                old.decode(rec);
                return false;
            }
            ++index;
            return true;
        });
    }
    if (!read)
        return -1;
    if (at < 0)
        return 0;
    // The sale and the kind are the stored payment's; the rest is the edit.
    PaymentRecord changed = payment;
    changed.invoiceNumber = old.invoiceNumber;
    changed.kind = old.kind;
    changed.cashier = old.cashier;
    std::uint8_t rec[PaymentRecord::kSize];
    changed.encode(rec);
    tx.write(file, PaymentOffset(at), rec, sizeof rec);
    return 1;
}

std::string PaymentsText(const CLocalFile& local, std::int32_t invoiceNumber)
{
    // One pass of block reads; of the sale's payments only the printed fields are decoded.
    std::string text;
    const int cause = VisitPayments(local, [&](const std::uint8_t* rec) {
        if (codec::getI32(rec, PaymentRecord::kInvoiceNumberOff) != invoiceNumber)
            return;
        const std::string payType =
            codec::fitText(codec::getText(rec, PaymentRecord::kPayTypeOff, PaymentRecord::kPayTypeWidth),
                           PaymentRecord::kPayTypeWidth);
        text += strprintf("%s  %.2f    ", payType.c_str(), static_cast<double>(codec::getF32(rec, PaymentRecord::kAmountOff)));
        text += FormatOleDate(OleDate::decode(rec, PaymentRecord::kDateOff), "%c") + "\r\n";
    });
    // Payments that could not all be read print as none, not as a part.
    return cause == FileCause::None ? text : std::string();
}
