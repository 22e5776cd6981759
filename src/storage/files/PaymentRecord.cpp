#include "storage/files/PaymentRecord.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/CountedFile.h"
#include "storage/files/InvoiceFile.h"
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

const char* const kOpenError = "Error opening Payment file.";

std::string readText(const std::uint8_t* buf, std::size_t off, std::size_t width)
{
    return codec::fitText(codec::getText(buf, off, width), width);
}

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

long long sumFor(DataFile& file, std::int32_t invoiceNumber)
{
    PaymentFileHeader header;
    long long present = 0;
    if (!readHeader(file, header, present))
        return 0;
    long long sum = 0;
    scanPayments(file, present, [&](const std::uint8_t* rec) {
        if (codec::getI32(rec, PaymentRecord::kInvoiceNumberOff) == invoiceNumber)
            sum += AmountCents(codec::getF32(rec, PaymentRecord::kAmountOff));
        return true;
    });
    return sum;
}

}  // namespace

void PaymentFileHeader::encode(std::uint8_t* buf) const
{
    codec::putI32(buf, 0, count);
    codec::putF32(buf, 4, version);
    codec::putI32(buf, 8, nextId);
}

void PaymentFileHeader::decode(const std::uint8_t* buf)
{
    count = codec::getI32(buf, 0);
    version = codec::getF32(buf, 4);
    nextId = codec::getI32(buf, 8);
}

void PaymentRecord::encode(std::uint8_t* buf) const
{
    std::memset(buf, 0, kSize);
    codec::putU8(buf, kKindOff, kind);
    codec::putI32(buf, kInvoiceNumberOff, invoiceNumber);
    codec::putI32(buf, kPaymentIdOff, paymentId);
    codec::putF32(buf, kAmountOff, amount);
    date.encode(buf, kDateOff);
    codec::putText(buf, kPayTypeOff, kPayTypeWidth, payType);
    codec::putText(buf, kCardNumberOff, kCardNumberWidth, cardNumber);
    codec::putText(buf, kExpirationOff, kExpirationWidth, expiration);
    codec::putText(buf, kCashierOff, kCashierWidth, cashier);
    codec::putText(buf, kNotesOff, kNotesWidth, notes);
}

void PaymentRecord::decode(const std::uint8_t* buf)
{
    kind = codec::getU8(buf, kKindOff);
    invoiceNumber = codec::getI32(buf, kInvoiceNumberOff);
    paymentId = codec::getI32(buf, kPaymentIdOff);
    amount = codec::getF32(buf, kAmountOff);
    date = OleDate::decode(buf, kDateOff);
    payType = readText(buf, kPayTypeOff, kPayTypeWidth);
    cardNumber = readText(buf, kCardNumberOff, kCardNumberWidth);
    expiration = readText(buf, kExpirationOff, kExpirationWidth);
    cashier = readText(buf, kCashierOff, kCashierWidth);
    notes = readText(buf, kNotesOff, kNotesWidth);
}

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

long long SumPaymentCentsIn(Transaction& tx, const CLocalFile& local, std::int32_t invoiceNumber)
{
    return sumFor(tx.file(local.GetPath("Payments")), invoiceNumber);
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

bool ReadPayment(const CLocalFile& local, int index, PaymentRecord& payment)
{
    if (index < 0)
        return false;
    DataFile file;
    if (CLocalFile::OpenFile(file, local.GetPath("Payments"), OpenMode::Read) != FileCause::None)
        return false;
    PaymentFileHeader header;
    long long present = 0;
    if (!readHeader(file, header, present) || index >= present)
        return false;
    std::uint8_t rec[PaymentRecord::kSize];
    if (!readFully(file, PaymentOffset(index), rec, sizeof rec))
        return false;
    payment.decode(rec);
    return true;
}

long long PaymentCents(const std::vector<PaymentRecord>& payments)
{
    long long sum = 0;
    for (const PaymentRecord& p : payments)
        sum += AmountCents(p.amount);
    return sum;
}

long long SumPaymentCentsForSale(const CLocalFile& local, std::int32_t invoiceNumber)
{
    DataFile file;
    if (CLocalFile::OpenFile(file, local.GetPath("Payments"), OpenMode::Read) != FileCause::None)
        return 0;
    return sumFor(file, invoiceNumber);
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
    const long long size = file.size();
    if (size < 0)
        return FileCause::Generic;
    if (size < static_cast<long long>(PaymentFileHeader::kSize))
        return FileCause::None;  // created, nothing stored yet
    PaymentFileHeader header;
    long long present = 0;
    if (!readHeader(file, header, present))
        return FileCause::Generic;
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

namespace {

// Stages the paid flag of a stored sale whose payments will sum to `paid`
// once the transaction commits. False when the invoice file is damaged or
// cannot be read; a number that is no stored sale changes nothing.
bool stagePaidFlag(Transaction& tx, const CLocalFile& local, std::int32_t invoiceNumber, long long paidCents)
{
    DataFile& invoices = tx.file(local.GetPath("Invoices"));
    bool damaged = false;
    const long long present = InvoiceRecordsPresent(invoices, &damaged);
    if (present < 0 || damaged)
        return false;
    if (invoiceNumber < 0 || invoiceNumber >= present)
        return true;
    InvoiceRecord sale;
    if (!ReadInvoiceAt(invoices, invoiceNumber, sale))
        return false;
    const std::uint8_t flag = !IsOnAccount(sale) || PaidInFull(paidCents, sale.total) ? 1 : 0;
    if (flag != sale.paid)
        tx.write(invoices, InvoiceOffset(invoiceNumber), &flag, 1);
    return true;
}

// Locks the payments and invoice files for a change of a sale's payments.
int beginPaymentChange(Transaction& tx, const CLocalFile& local)
{
    tx.add(local.GetPath("Payments"), OpenMode::OpenOrCreate);
    tx.add(local.GetPath("Invoices"));
    return tx.begin();
}

// Appends in one transaction; withSale sets the paid flag of the payment's sale too.
int appendPayment(const CLocalFile& local, PaymentRecord& payment, bool withSale)
{
    // Created without truncating: another register may have created it and
    // stored its first payment meanwhile.
    Transaction tx;
    tx.add(local.GetPath("Payments"), OpenMode::OpenOrCreate);
    if (withSale)
        tx.add(local.GetPath("Invoices"));
    PaymentRecord stored = payment;
    int id = -1;
    if (tx.begin() == FileCause::None) {
        const long long before = withSale ? SumPaymentCentsIn(tx, local, payment.invoiceNumber) : 0;
        id = AppendPaymentIn(tx, local, stored);
        if (id >= 0 && ((withSale && !stagePaidFlag(tx, local, payment.invoiceNumber, before + AmountCents(stored.amount))) ||
                        tx.commit() != FileCause::None))
            id = -1;
    }
    // A write that failed is told like a failed open: the payment was not stored.
    if (id == -1)
        userPrompt().showMessage(kOpenError);
    if (id < 0)
        return -1;
    payment = stored;
    return id;
}

}  // namespace

int AppendPayment(const CLocalFile& local, PaymentRecord& payment) { return appendPayment(local, payment, false); }

int AppendPaymentToSale(const CLocalFile& local, PaymentRecord& payment) { return appendPayment(local, payment, true); }

int UpdatePaymentById(const CLocalFile& local, const PaymentRecord& payment)
{
    Transaction tx;
    if (beginPaymentChange(tx, local) != FileCause::None) {
        userPrompt().showMessage(kOpenError);
        return -1;
    }
    DataFile& file = tx.file(local.GetPath("Payments"));
    PaymentFileHeader header;
    long long present = 0;
    long long at = -1;
    PaymentRecord old;
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
    if (read && at < 0)
        return 0;
    if (read) {
        // The sale and the kind are the stored payment's; the rest is the edit.
        PaymentRecord changed = payment;
        changed.invoiceNumber = old.invoiceNumber;
        changed.kind = old.kind;
        changed.cashier = old.cashier;
        std::uint8_t rec[PaymentRecord::kSize];
        changed.encode(rec);
        tx.write(file, PaymentOffset(at), rec, sizeof rec);
        const long long paid = SumPaymentCentsIn(tx, local, old.invoiceNumber) - AmountCents(old.amount) +
                               AmountCents(changed.amount);
        read = stagePaidFlag(tx, local, old.invoiceNumber, paid) && tx.commit() == FileCause::None;
    }
    if (!read) {
        userPrompt().showMessage(kOpenError);
        return -1;
    }
    return 1;
}

std::string PaymentsText(const CLocalFile& local, std::int32_t invoiceNumber)
{
    std::vector<PaymentRecord> payments;
    ReadPayments(local, invoiceNumber, 0, payments);
    std::string text;
    for (const PaymentRecord& p : payments) {
        text += strprintf("%s  ", p.payType.c_str());
        text += strprintf("%.2f  ", static_cast<double>(p.amount));
        text += "  " + FormatOleDate(p.date, "%c") + "\r\n";
    }
    return text;
}
