#include "storage/files/ListFiles.h"

#include "storage/files/CLocalFile.h"
#include "storage/io/UserPrompt.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <algorithm>

namespace {
struct ListKind {
    const char* key;
    CountedLayout layout;
    std::size_t nameOffset;
    std::size_t nameWidth;
};

const ListKind kCashiers{"Cashiers", {CashierRecord::kFileHeaderSize, CashierRecord::kSize, 0, CountedLayout::Count::U32},
                         0, CashierRecord::kFieldWidth};
const ListKind kSalespeople{"Sales People",
                            {SalespersonRecord::kFileHeaderSize, SalespersonRecord::kSize, 2, CountedLayout::Count::I16},
                            0, SalespersonRecord::kSize};
const ListKind kTaxTable{"Tax Table",
                         {TaxTableRecord::kFileHeaderSize, TaxTableRecord::kSize, 2, CountedLayout::Count::I16}, 0,
                         TaxTableRecord::kNameWidth};
const ListKind kTerms{"Terms", {TermsRecord::kFileHeaderSize, TermsRecord::kSize, 0, CountedLayout::Count::I16},
                      TermsRecord::kNameOffset, TermsRecord::kNameWidth};

// A new file: its header with no records (terms: its two fixed first terms).
std::vector<std::uint8_t> newFile(const ListKind& kind)
{
    std::vector<std::uint8_t> bytes(kind.layout.headerSize, 0);
    if (&kind == &kCashiers) {
        codec::putF32(bytes.data(), 4, CashierRecord::kFileVersion);
    } else if (&kind == &kSalespeople) {
        codec::putU16(bytes.data(), 0, SalespersonRecord::kFileVersion);
    } else if (&kind == &kTaxTable) {
        codec::putU16(bytes.data(), 0, TaxTableRecord::kFileVersion);
    } else {
        codec::putI16(bytes.data(), 0, 2);
        codec::putU8(bytes.data(), TermsRecord::kNextIdOffset, 2);
        TermsRecord cod;
        cod.name = TermsRecord::BuildName(cod);
        TermsRecord net30;
        net30.id = 1;
        net30.netDays = 30;
        net30.name = TermsRecord::BuildName(net30);
        bytes.resize(bytes.size() + 2 * TermsRecord::kSize);
        cod.encode(bytes.data() + TermsRecord::kFileHeaderSize);
        net30.encode(bytes.data() + TermsRecord::kFileHeaderSize + TermsRecord::kSize);
    }
    return bytes;
}

std::string nameOf(const ListKind& kind, const std::uint8_t* rec)
{
    return codec::fitText(codec::getText(rec, kind.nameOffset, kind.nameWidth), kind.nameWidth);
}

// Opens for reading; the terms file is created when missing.
int openToRead(const ListKind& kind, const CLocalFile& local, CountedFile& file)
{
    if (&kind == &kTerms)
        return file.openForReading(local.GetPath(kind.key), newFile(kind));
    return file.open(local.GetPath(kind.key), OpenMode::Read);
}

// Visits every record in file order; false when the file could not be read.
bool eachRecord(const ListKind& kind, const CLocalFile& local,
                const std::function<void(long long, const std::uint8_t*)>& visit)
{
    CountedFile file(kind.layout);
    if (openToRead(kind, local, file) != FileCause::None)
        return false;
    return file.scan(0, [&](long long i, const std::uint8_t* rec) {
        visit(i, rec);
        return false;
    });
}

std::vector<std::string> names(const ListKind& kind, const CLocalFile& local)
{
    std::vector<std::string> out;
    if (!eachRecord(kind, local, [&](long long, const std::uint8_t* rec) { out.push_back(nameOf(kind, rec)); }))
        out.clear();
    return out;
}

TextRows rows(const ListKind& kind, const CLocalFile& local,
              const std::function<std::vector<std::string>(long long, const std::uint8_t*)>& row)
{
    TextRows out;
    if (!eachRecord(kind, local, [&](long long i, const std::uint8_t* rec) { out.push_back(row(i, rec)); }))
        out.clear();
    return out;
}

int append(const ListKind& kind, const CLocalFile& local, const std::uint8_t* rec)
{
    CountedFile file(kind.layout);
    const int cause = file.openOrCreate(local.GetPath(kind.key), newFile(kind));
    if (cause != FileCause::None)
        return cause;
    return file.append(rec, 1) ? FileCause::None : FileCause::Generic;
}

// Changes the first record `matches` accepts with `change` (given the open
// file and the record's number), looking for it inside the same exclusive
// open as the write.
ChangeResult changeFirst(const ListKind& kind, const CLocalFile& local,
                         const std::function<bool(const std::uint8_t*)>& matches,
                         const std::function<bool(CountedFile&, long long)>& change, int* openCause = nullptr)
{
    CountedFile file(kind.layout);
    const int cause = file.open(local.GetPath(kind.key), OpenMode::ReadWrite);
    if (openCause)
        *openCause = cause;
    if (cause != FileCause::None)
        return ChangeResult::Failed;
    long long found = -1;
    if (!file.scan(0, [&](long long i, const std::uint8_t* rec) {
            if (!matches(rec))
                return false;
            found = i;
            return true;
        }))
        return ChangeResult::Failed;
    if (found < 0)
        return ChangeResult::NotFound;
    return change(file, found) ? ChangeResult::Done : ChangeResult::Failed;
}

std::function<bool(const std::uint8_t*)> named(const ListKind& kind, const std::string& name)
{
    return [&kind, name](const std::uint8_t* rec) { return slotEqualsNoCase(rec + kind.nameOffset, kind.nameWidth, name); };
}

// Deletes the first record `matches` accepts: the last record takes its place.
ChangeResult removeFirst(const ListKind& kind, const CLocalFile& local,
                         const std::function<bool(const std::uint8_t*)>& matches, int* openCause = nullptr)
{
    return changeFirst(
        kind, local, matches, [](CountedFile& file, long long i) { return file.removeAt(i, nullptr); }, openCause);
}

// Overwrites the first record named `original` (ignoring case).
ChangeResult replaceByName(const ListKind& kind, const CLocalFile& local, const std::string& original,
                           const std::uint8_t* rec)
{
    return changeFirst(kind, local, named(kind, original),
                       [rec](CountedFile& file, long long i) { return file.replaceRecord(i, rec); });
}

ChangeResult removeByName(const ListKind& kind, const CLocalFile& local, const std::string& name)
{
    return removeFirst(kind, local, named(kind, name));
}

// Every record of the file decoded, in file order; empty when unreadable.
template <class Record> std::vector<Record> records(const ListKind& kind, const CLocalFile& local)
{
    std::vector<Record> out;
    if (!eachRecord(kind, local, [&](long long, const std::uint8_t* rec) {
            Record r;
            r.decode(rec);
            out.push_back(r);
        }))
        out.clear();
    return out;
}

std::string recordNumber(long long i)
{
    return strprintf("%u", static_cast<unsigned>(i));
}

// The stored password field made canonical (bytes after the first NUL zeroed)
// and compared with the typed one over all its bytes, without early exit.
bool samePassword(const std::uint8_t* stored, const std::uint8_t* typed)
{
    std::uint8_t keep = 0xFF;
    std::uint8_t diff = 0;
    for (std::size_t j = 0; j < CashierRecord::kFieldWidth; ++j) {
        const std::uint8_t b = stored[j];
        // keep becomes 0 from the first NUL on, without a branch.
        keep = static_cast<std::uint8_t>(keep & -static_cast<std::uint8_t>(b != 0));
        diff = static_cast<std::uint8_t>(diff | ((b & keep) ^ typed[j]));
    }
    return diff == 0;
}
}  // namespace

std::vector<std::string> FillCashierBox(const CLocalFile& local)
{
    return names(kCashiers, local);
}

TextRows ListCashiers(const CLocalFile& local)
{
    return rows(kCashiers, local, [](long long i, const std::uint8_t* rec) {
        CashierRecord c;
        c.decode(rec);
        return std::vector<std::string>{c.name, c.password, recordNumber(i)};
    });
}

int AppendCashier(const CLocalFile& local, const CashierRecord& record)
{
    std::uint8_t buf[CashierRecord::kSize];
    record.encode(buf);
    return append(kCashiers, local, buf);
}

ChangeResult ReplaceCashierNamed(const CLocalFile& local, const std::string& original, const CashierRecord& record)
{
    std::uint8_t buf[CashierRecord::kSize];
    record.encode(buf);
    return replaceByName(kCashiers, local, original, buf);
}

ChangeResult DeleteCashier(const CLocalFile& local, const std::string& name)
{
    return removeByName(kCashiers, local, name);
}

void NextCashier(const CLocalFile& local, std::string& name)
{
    CountedFile file(kCashiers.layout);
    if (file.open(local.GetPath(kCashiers.key), OpenMode::Read) != FileCause::None || file.count() == 0)
        return;
    std::string first;
    std::string next;
    bool takeNext = false;
    bool done = false;
    const bool ok = file.scan(0, [&](long long i, const std::uint8_t* rec) {
        if (i == 0)
            first = nameOf(kCashiers, rec);
        if (takeNext) {
            next = nameOf(kCashiers, rec);
            done = true;
            return true;
        }
        takeNext = slotEqualsNoCase(rec, CashierRecord::kFieldWidth, name);
        return false;
    });
    if (ok)
        name = done ? next : first;
}

bool CheckCashierPassword(const CLocalFile& local, const std::string& name, const std::string& password)
{
    // A text that does not fit its field (or holds a NUL) was never stored.
    const bool fits = password.size() < CashierRecord::kFieldWidth && password.find('\0') == std::string::npos;
    std::uint8_t typed[CashierRecord::kFieldWidth];
    codec::putText(typed, 0, sizeof typed, password);
    CountedFile file(kCashiers.layout);
    if (file.open(local.GetPath(kCashiers.key), OpenMode::Read) != FileCause::None)
        return false;
    bool match = false;
    file.scan(0, [&](long long, const std::uint8_t* rec) {
        const bool sameName = slotEquals(rec, CashierRecord::kFieldWidth, name);
        const bool samePw = samePassword(rec + CashierRecord::kPasswordOffset, typed);
        match = match || (sameName && samePw);
        return false;
    });
    return match && fits;
}

std::vector<std::string> FillSalespersonBox(const CLocalFile& local)
{
    return names(kSalespeople, local);
}

TextRows ListSalespeople(const CLocalFile& local)
{
    return rows(kSalespeople, local, [](long long i, const std::uint8_t* rec) {
        return std::vector<std::string>{nameOf(kSalespeople, rec), recordNumber(i)};
    });
}

int AppendSalesperson(const CLocalFile& local, const SalespersonRecord& record)
{
    std::uint8_t buf[SalespersonRecord::kSize];
    record.encode(buf);
    return append(kSalespeople, local, buf);
}

ChangeResult ReplaceSalespersonNamed(const CLocalFile& local, const std::string& original,
                                     const SalespersonRecord& record)
{
    std::uint8_t buf[SalespersonRecord::kSize];
    record.encode(buf);
    return replaceByName(kSalespeople, local, original, buf);
}

ChangeResult DeleteSalesperson(const CLocalFile& local, const std::string& name)
{
    return removeByName(kSalespeople, local, name);
}

std::vector<std::string> FillTaxBox(const CLocalFile& local)
{
    return names(kTaxTable, local);
}

std::vector<TaxTableRecord> ListTaxZones(const CLocalFile& local)
{
    return records<TaxTableRecord>(kTaxTable, local);
}

int AppendTaxZone(const CLocalFile& local, const TaxTableRecord& record)
{
    std::uint8_t buf[TaxTableRecord::kSize];
    record.encode(buf);
    return append(kTaxTable, local, buf);
}

ChangeResult ReplaceTaxZoneNamed(const CLocalFile& local, const std::string& original, const TaxTableRecord& record)
{
    std::uint8_t buf[TaxTableRecord::kSize];
    record.encode(buf);
    return replaceByName(kTaxTable, local, original, buf);
}

ChangeResult DeleteTaxZone(const CLocalFile& local, const std::string& name)
{
    return removeByName(kTaxTable, local, name);
}

bool FindTaxZone(const CLocalFile& local, const std::string& name, TaxTableRecord& record)
{
    CountedFile file(kTaxTable.layout);
    if (file.open(local.GetPath(kTaxTable.key), OpenMode::Read) != FileCause::None)
        return false;
    bool found = false;
    file.scan(0, [&](long long, const std::uint8_t* rec) {
        if (!slotEquals(rec, TaxTableRecord::kNameWidth, name))
            return false;
        record.decode(rec);
        found = true;
        return true;
    });
    return found;
}

std::string GetDefaultZone(const CLocalFile& local)
{
    CountedFile file(kTaxTable.layout);
    if (file.open(local.GetPath(kTaxTable.key), OpenMode::Read) != FileCause::None)
        return {};
    return codec::fitText(codec::getText(file.header(), TaxTableRecord::kDefaultZoneOffset, TaxTableRecord::kNameWidth),
                          TaxTableRecord::kNameWidth);
}

int SetDefaultZone(const CLocalFile& local, const std::string& name)
{
    CountedFile file(kTaxTable.layout);
    const int cause = file.openOrCreate(local.GetPath(kTaxTable.key), newFile(kTaxTable));
    if (cause != FileCause::None)
        return cause;
    codec::putText(file.header(), TaxTableRecord::kDefaultZoneOffset, TaxTableRecord::kNameWidth, name);
    return file.writeHeaderPart(TaxTableRecord::kDefaultZoneOffset, TaxTableRecord::kNameWidth) ? FileCause::None
                                                                                             : FileCause::Generic;
}

std::vector<TermsRecord> ListTerms(const CLocalFile& local)
{
    return records<TermsRecord>(kTerms, local);
}

int AppendTerms(const CLocalFile& local, TermsRecord& record)
{
    CountedFile file(kTerms.layout);
    const int cause = file.openOrCreate(local.GetPath(kTerms.key), newFile(kTerms));
    if (cause != FileCause::None)
        return cause;
    // 0 is COD's; a counter back at 0 has given out every id once.
    const int id = codec::getU8(file.header(), TermsRecord::kNextIdOffset);
    bool used = id == 0;
    if (!file.scan(0, [&](long long, const std::uint8_t* rec) {
            used = used || rec[0] == id;
            return used;
        }))
        return FileCause::Generic;
    if (used)
        return FileCause::Generic;
    TermsRecord stored = record;
    stored.id = static_cast<std::uint8_t>(id);
    stored.name = TermsRecord::BuildName(stored);
    std::uint8_t buf[TermsRecord::kSize];
    stored.encode(buf);
    codec::putU8(file.header(), TermsRecord::kNextIdOffset, static_cast<std::uint8_t>(id + 1));
    if (!file.append(buf, 1))
        return FileCause::Generic;
    record = stored;
    return FileCause::None;
}

ChangeResult DeleteTerms(const CLocalFile& local, std::uint8_t id)
{
    int cause = FileCause::None;
    const ChangeResult result =
        removeFirst(kTerms, local, [id](const std::uint8_t* rec) { return rec[0] == id; }, &cause);
    if (cause != FileCause::None)
        userPrompt().showMessage("Terms file not found.");
    return result;
}

bool GetTerms(const CLocalFile& local, std::uint8_t id, TermsRecord& record)
{
    CountedFile file(kTerms.layout);
    if (file.open(local.GetPath(kTerms.key), OpenMode::Read) != FileCause::None)
        return false;
    bool found = false;
    file.scan(0, [&](long long, const std::uint8_t* rec) {
        if (rec[0] != id)
            return false;
        record.decode(rec);
        found = true;
        return true;
    });
    return found;
}

std::string FindTermsName(const CLocalFile& local, std::uint8_t id)
{
    TermsRecord record;
    return GetTerms(local, id, record) ? record.name : std::string();
}

int ReadDefaults(const CLocalFile& local, DefaultsRecord& record)
{
    const std::string path = local.GetPath("Defaults");
    std::uint8_t buf[DefaultsRecord::kSize];
    record.encode(buf);
    DataFile file;
    int cause = CLocalFile::OpenFile(file, path, OpenMode::Read);
    if (cause == FileCause::NotFound) {
        cause = CLocalFile::OpenFile(file, path, OpenMode::OpenOrCreate);
        if (cause != FileCause::None)
            return cause;
        if (file.size() == 0)  // still empty: nobody wrote it meanwhile
            return file.writeAt(0, buf, sizeof buf) && file.sync() ? FileCause::None : FileCause::Generic;
    }
    if (cause != FileCause::None)
        return cause;
    std::uint8_t got[DefaultsRecord::kSize];
    const long long n = file.readAt(0, got, sizeof got);
    if (n < 0)
        return FileCause::Generic;
    // Only whole words that are present replace the built-in values.
    std::copy(got, got + (n / 4) * 4, buf);
    record.decode(buf);
    return FileCause::None;
}

int WriteDefaults(const CLocalFile& local, const DefaultsRecord& record)
{
    DataFile file;
    const int cause = CLocalFile::OpenFile(file, local.GetPath("Defaults"), OpenMode::OpenOrCreate);
    if (cause != FileCause::None)
        return cause;
    std::uint8_t buf[DefaultsRecord::kSize];
    record.encode(buf);
    return file.writeAt(0, buf, sizeof buf) && file.sync() ? FileCause::None : FileCause::Generic;
}

int WriteDefaultWords(const CLocalFile& local, std::size_t first, const std::vector<std::uint32_t>& values)
{
    DataFile file;
    const int cause = CLocalFile::OpenFile(file, local.GetPath("Defaults"), OpenMode::OpenOrCreate);
    if (cause != FileCause::None)
        return cause;
    std::uint8_t buf[DefaultsRecord::kSize];
    DefaultsRecord().encode(buf);
    std::uint8_t got[DefaultsRecord::kSize];
    const long long n = file.readAt(0, got, sizeof got);
    if (n < 0)
        return FileCause::Generic;
    std::copy(got, got + (n / 4) * 4, buf);
    DefaultsRecord record;
    record.decode(buf);
    for (std::size_t i = 0; i < values.size() && first + i < DefaultsRecord::kWordCount; ++i)
        record.words[first + i] = values[i];
    record.encode(buf);
    return file.writeAt(0, buf, sizeof buf) && file.sync() ? FileCause::None : FileCause::Generic;
}
