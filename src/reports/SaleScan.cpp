#include "reports/SaleScan.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/ChunkedScan.h"
#include "storage/files/SalesIndex.h"
#include "storage/io/DataFile.h"
#include "storage/records/ByteCodec.h"

#include <cmath>
#include <cstring>
#include <optional>

double CentAmount(float v) { return static_cast<double>(std::llround(static_cast<double>(v) * 100)) / 100; }

std::string_view SlotText(const std::uint8_t* slot, std::size_t width)
{
    const auto* s = reinterpret_cast<const char*>(slot);
    const void* nul = std::memchr(s, 0, width);
    return std::string_view(s, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - s) : width - 1);
}

bool SlotContains(std::string_view slot, std::string_view lowered)
{
    if (lowered.empty())
        return true;
    if (lowered.size() > slot.size())
        return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t at = 0; at + lowered.size() <= slot.size(); ++at) {
        std::size_t i = 0;
        while (i < lowered.size() && lower(slot[at + i]) == lowered[i])
            ++i;
        if (i == lowered.size())
            return true;
    }
    return false;
}

std::int32_t SaleView::recordNumber() const
{
    return row_ ? row_->recordNumber() : static_cast<std::int32_t>(salesrow::LoadU32(p_ + InvoiceRecord::kRecordNumberOff));
}

std::string_view SaleView::recordLineText(std::size_t line, salesrow::LineText t) const
{
    if (t == salesrow::kItemNumber)
        return itemNumber(line);
    static constexpr std::size_t kOff[salesrow::kLineTexts] = {0, InvoiceRecord::kDescriptionOff, InvoiceRecord::kCategoryOff,
                                                               InvoiceRecord::kVendorOff, InvoiceRecord::kDepartmentOff};
    return text(kOff[t], line);
}

OleDate SaleView::saleTime() const
{
    return row_ ? row_->saleTime() : OleDate::decode(p_, InvoiceRecord::kSaleTimeOff);
}

std::int32_t PaymentView::invoiceNumber() const { return codec::getI32(p_, PaymentRecord::kInvoiceNumberOff); }
float PaymentView::amount() const { return codec::getF32(p_, PaymentRecord::kAmountOff); }
OleDate PaymentView::date() const { return OleDate::decode(p_, PaymentRecord::kDateOff); }

namespace {
template <class Each>
ScanOutcome scan(const std::string& path, const ChunkedLayout& layout, Each each, const ScanProgress& progress)
{
    bool cancelled = false;
    const int cause = ScanInChunks(
        path, layout,
        [&](const std::uint8_t* records, long long first, long long n) {
            for (long long i = 0; i < n; ++i)
                each(records + static_cast<std::size_t>(i) * layout.recordSize, first + i);
        },
        [&](long long done, long long present) {
            cancelled = progress && !progress(done, present);
            return !cancelled;
        });
    if (cancelled)
        return ScanOutcome::Cancelled;
    if (cause == FileCause::None || cause == FileCause::NotFound)
        return ScanOutcome::Done;
    return ScanOutcome::Failed;
}

constexpr ChunkedLayout kSales{4, InvoiceRecord::kSize};
constexpr ChunkedLayout kPayments{PaymentFileHeader::kSize, PaymentRecord::kSize};
}  // namespace

ScanOutcome ScanSales(const CLocalFile& local, SaleAccumulator& report, const ScanProgress& progress)
{
    const std::string path = local.GetPath("Invoices");
    const SalesIndexCheck check = CheckSalesIndex(path);
    if (check.cause == FileCause::NotFound)
        return ScanOutcome::Done;
    if (check.cause != FileCause::None)
        return ScanOutcome::Failed;
    // The rows the index covers, then the records after them, with their rows
    // added to the index as they pass. An index that cannot be trusted is
    // started again and every record read.
    long long from = 0;
    std::optional<SalesIndexBuilder> builder;
    if (check.usable) {
        from = ReadSalesIndex(
            path, check.header, [&](const IndexedSale& row, long long n) { report.AddSale(SaleView(row, n)); },
            [&](long long done) { return !progress || progress(done, check.salesRecords); });
        if (from < 0)
            return ScanOutcome::Cancelled;
        if (from == check.header.covered)
            builder.emplace(path, check.header);
    } else if (check.salesRecords > 0) {
        builder.emplace(SalesIndexBuilder::Restart(path, check.salesRecords));
    }
    bool cancelled = false;
    const int cause = ScanInChunks(
        path, kSales,
        [&](const std::uint8_t* records, long long first, long long n) {
            for (long long i = 0; i < n; ++i) {
                const std::uint8_t* rec = records + static_cast<std::size_t>(i) * InvoiceRecord::kSize;
                report.AddSale(SaleView(rec, first + i));
                if (builder)
                    builder->add(rec);
            }
        },
        [&](long long done, long long present) {
            if (builder)
                builder->flush(true);
            cancelled = progress && !progress(done, present);
            return !cancelled;
        },
        kHoldBytes, from);
    if (builder && (cancelled || cause == FileCause::None))
        builder->flush(false);
    if (cancelled)
        return ScanOutcome::Cancelled;
    if (cause == FileCause::None || cause == FileCause::NotFound)
        return ScanOutcome::Done;
    return ScanOutcome::Failed;
}

ScanOutcome ScanPayments(const CLocalFile& local, PaymentAccumulator& report, const ScanProgress& progress)
{
    return scan(local.GetPath("Payments"), kPayments,
                [&](const std::uint8_t* rec, long long) { report.AddPayment(PaymentView(rec)); }, progress);
}

ScanOutcome ScanSalesAndPayments(const CLocalFile& local, SaleAccumulator& sales, PaymentAccumulator& payments,
                                 const ScanProgress& progress)
{
    // Progress in bytes: the sales first (their total known once the pass
    // starts), the payments after them, measured against a running estimate.
    long long salesBytes = 0;
    ScanOutcome out = ScanSales(local, sales, [&](long long done, long long total) {
        salesBytes = total * static_cast<long long>(InvoiceRecord::kSize);
        return !progress || progress(done * static_cast<long long>(InvoiceRecord::kSize), salesBytes * 2);
    });
    if (out != ScanOutcome::Done)
        return out;
    return ScanPayments(local, payments, [&](long long done, long long total) {
        const long long per = static_cast<long long>(PaymentRecord::kSize);
        return !progress || progress(salesBytes + done * per, salesBytes + total * per);
    });
}
