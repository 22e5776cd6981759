#include "storage/files/CLocalFile.h"

#include "storage/io/UserPrompt.h"
#include "storage/journal/Transaction.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

#include <chrono>
#include <filesystem>

namespace {
constexpr std::size_t kVersionOff = 0;
constexpr std::size_t kCurrentRecordOff = 4;
constexpr std::size_t kSecurityOnOff = 8;
constexpr std::size_t kReceiptsToPrintOff = 9;
constexpr std::size_t kReceiptStyleOff = 10;
constexpr std::size_t kDrawerMethodOff = 11;
constexpr std::size_t kPackingSlipsOff = 12;
constexpr std::size_t kDrawerCommandOff = 13;
constexpr std::size_t kDrawerCommandWidth = 12;
constexpr std::size_t kCashierOff = 25;
constexpr std::size_t kCashierWidth = 24;
constexpr std::size_t kPathsOff = 49;
constexpr std::size_t kLoginTimeOff = 2572;

const char* const kDefaultNames[9] = {
    "Retail.pos", "Retail-Invs.pdb", "Retail-Prod.pdb", "Retail-Cust.pdb", "Retail-Vend.pdb",
    "Retail-Catg.pdb", "Retail-Cash.pdb", "Retail-TaxT.pdb", "Retail-SaleP.pdb",
};

// Slot and file ending of each stored member of a file set.
struct SetMember {
    int slot;
    const char* suffix;
};
const SetMember kSetMembers[] = {
    {CLocalFile::kHeadSlot, ".pos"},          {CLocalFile::kCustomersSlot, "-Cust.pdb"},
    {CLocalFile::kInvoicesSlot, "-Invs.pdb"}, {CLocalFile::kProductsSlot, "-Prod.pdb"},
    {CLocalFile::kVendorSlot, "-Vend.pdb"},   {CLocalFile::kCategorySlot, "-Catg.pdb"},
    {CLocalFile::kCashiersSlot, "-Cash.pdb"}, {CLocalFile::kTaxTableSlot, "-TaxT.pdb"},
    {CLocalFile::kSalesPeopleSlot, "-SaleP.pdb"},
};
// Endings derived from slot 1, never stored, but opened all the same.
const char* const kDerivedSuffixes[] = {"-Rent.pdb", "-Quote.pdb", "-Terms.pdb", "-Pymnt.pdb"};

int waitBeforeAskingMs = 5000;

std::string withTrailingSeparator(std::string folder)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

std::string replaceLast(const std::string& text, const std::string& from, const std::string& to)
{
    const auto pos = text.rfind(from);
    if (pos == std::string::npos)
        return text;
    std::string out = text;
    out.replace(pos, from.size(), to);
    return out;
}
}  // namespace

CLocalFile::CLocalFile(const std::string& workingFolder)
{
    std::error_code ec;
    std::filesystem::path folder = workingFolder.empty() ? std::filesystem::current_path(ec)
                                                         : std::filesystem::absolute(workingFolder, ec);
    workingFolder_ = withTrailingSeparator(folder.lexically_normal().string());
    resetToDefaults();
}

void CLocalFile::resetToDefaults()
{
    version = kVersion;
    currentRecord = 0;
    securityOn = receiptsToPrint = receiptStyle = drawerMethod = packingSlips = 0;
    drawerCommand.clear();
    loggedInCashier.clear();
    for (std::size_t i = 0; i < kSlotCount; ++i)
        paths[i] = i < 9 ? kDefaultNames[i] : "";
    loginTime = OleDate{0.0, 0};
}

void CLocalFile::encode(std::uint8_t* buf) const
{
    std::fill(buf, buf + kRecordSize, std::uint8_t{0});
    codec::putU32(buf, kVersionOff, version);
    codec::putU32(buf, kCurrentRecordOff, currentRecord);
    codec::putU8(buf, kSecurityOnOff, securityOn);
    codec::putU8(buf, kReceiptsToPrintOff, receiptsToPrint);
    codec::putU8(buf, kReceiptStyleOff, receiptStyle);
    codec::putU8(buf, kDrawerMethodOff, drawerMethod);
    codec::putU8(buf, kPackingSlipsOff, packingSlips);
    codec::putText(buf, kDrawerCommandOff, kDrawerCommandWidth, drawerCommand);
    codec::putText(buf, kCashierOff, kCashierWidth, loggedInCashier);
    for (std::size_t i = 0; i < kSlotCount; ++i)
        codec::putText(buf, kPathsOff + i * kSlotWidth, kSlotWidth, paths[i]);
    loginTime.encode(buf, kLoginTimeOff);
}

void CLocalFile::decode(const std::uint8_t* buf)
{
    version = codec::getU32(buf, kVersionOff);
    currentRecord = codec::getU32(buf, kCurrentRecordOff);
    securityOn = codec::getU8(buf, kSecurityOnOff);
    receiptsToPrint = codec::getU8(buf, kReceiptsToPrintOff);
    receiptStyle = codec::getU8(buf, kReceiptStyleOff);
    drawerMethod = codec::getU8(buf, kDrawerMethodOff);
    packingSlips = codec::getU8(buf, kPackingSlipsOff);
    // A slot without its NUL is read only to its capacity, so a save never grows it.
    drawerCommand = codec::fitText(codec::getText(buf, kDrawerCommandOff, kDrawerCommandWidth), kDrawerCommandWidth);
    loggedInCashier = codec::fitText(codec::getText(buf, kCashierOff, kCashierWidth), kCashierWidth);
    for (std::size_t i = 0; i < kSlotCount; ++i)
        paths[i] = codec::fitText(codec::getText(buf, kPathsOff + i * kSlotWidth, kSlotWidth), kSlotWidth);
    loginTime = OleDate::decode(buf, kLoginTimeOff);
}

int CLocalFile::OpenLocked(DataFile& file, const std::string& path, OpenMode mode)
{
    using clock = std::chrono::steady_clock;
    const auto started = clock::now();
    for (;;) {
        const int cause = file.openInTurn(path, mode, waitBeforeAskingMs);
        if (cause != FileCause::SharingViolation)
            return cause;
        const auto waited = std::chrono::duration_cast<std::chrono::seconds>(clock::now() - started).count();
        // While the question is open this register has left the queue, so the
        // registers behind it are not held up by an unanswered box.
        if (!KeepWaitingFor(path, static_cast<long long>(waited)))
            return FileCause::LockGivenUp;
    }
}

bool CLocalFile::KeepWaitingFor(const std::string& path, long long waitedSeconds)
{
    return userPrompt().keepWaiting(strprintf(
        "Another register is using this file:\n\n%s\n\nIt has been busy for %lld seconds.\n\n"
        "Keep waiting?\n\n(No gives up this operation and changes nothing.)",
        path.c_str(), waitedSeconds));
}

int CLocalFile::OpenFile(DataFile& file, const std::string& path, OpenMode mode)
{
    const std::string journal = Journal::pathFor(path);
    for (;;) {
        int cause = OpenLocked(file, path, mode);
        if (cause != FileCause::None || journal.empty())
            return cause;
        // Checked with the file held, so no transaction on it can start or be
        // cut short until this open lets go.
        if (Journal::clean(journal, cause))
            return FileCause::None;
        file.close();
        if (cause == FileCause::None)
            cause = Journal::recover(journal);
        if (cause != FileCause::None)
            return cause;
    }
}

void CLocalFile::setWaitBeforeAsking(int ms) { waitBeforeAskingMs = ms; }

int CLocalFile::waitBeforeAsking() { return waitBeforeAskingMs; }

std::string CLocalFile::resolve(const std::string& slotPath) const
{
    if (!slotPath.empty() && slotPath.front() == '/')
        return slotPath;
    return workingFolder_ + slotPath;
}

std::string CLocalFile::GetPath(const std::string& kind) const
{
    static const std::pair<const char*, int> direct[] = {
        {"Customers", kCustomersSlot}, {"Invoices", kInvoicesSlot}, {"Products", kProductsSlot},
        {"Head", kHeadSlot},           {"Vendor", kVendorSlot},     {"Category", kCategorySlot},
        {"Cashiers", kCashiersSlot},   {"Tax Table", kTaxTableSlot}, {"Sales People", kSalesPeopleSlot},
    };
    for (const auto& [key, slot] : direct)
        if (kind == key)
            return resolve(paths[static_cast<std::size_t>(slot)]);

    static const std::pair<const char*, const char*> derived[] = {
        {"Rentals", "-Rent.pdb"}, {"Quotes", "-Quote.pdb"}, {"Terms", "-Terms.pdb"}, {"Payments", "-Pymnt.pdb"},
    };
    for (const auto& [key, suffix] : derived)
        if (kind == key)
            return resolve(replaceLast(paths[kInvoicesSlot], "-Invs.pdb", suffix));

    // The folder of LocalFileNames.plf: slot 9 without its file name.
    std::string folder = replaceLast(paths[kSelfSlot], kFileName, "");
    if (folder.empty())
        folder = workingFolder_;
    if (kind == "Defaults")
        return resolve(folder + "Defaults.pdb");
    return resolve(folder + kind);
}

std::string CLocalFile::dataFolder() const
{
    const std::string head = GetPath("Head");
    const auto pos = head.rfind('/');
    return pos == std::string::npos ? workingFolder_ : head.substr(0, pos + 1);
}

std::size_t CLocalFile::longestSuffix()
{
    std::size_t longest = 0;
    for (const auto& m : kSetMembers)
        longest = std::max(longest, std::string(m.suffix).size());
    for (const char* s : kDerivedSuffixes)
        longest = std::max(longest, std::string(s).size());
    return longest;
}

bool CLocalFile::FileSetFits(const std::string& folder, const std::string& baseName)
{
    return folder.size() + baseName.size() + longestSuffix() <= kMaxPathLength;
}

bool CLocalFile::Load()
{
    const std::string self = localFilePath();
    DataFile file;
    int cause = OpenFile(file, self, OpenMode::ReadWrite);
    if (cause == FileCause::None) {
        std::uint8_t buf[kRecordSize];
        const long long got = file.readAt(0, buf, kRecordSize);
        if (got != static_cast<long long>(kRecordSize)) {
            // Never replace a register's settings because one read came back short.
            userPrompt().showMessage(strprintf(
                "LocalFileNames.plf is damaged: %lld of its %zu bytes could be read.\n\n%s\n\n"
                "The file has been left as it is. Restore it from a backup, or move it away "
                "to start this register with new settings.",
                got < 0 ? 0LL : got, kRecordSize, self.c_str()));
            return true;
        }
        decode(buf);
        if (version != kVersion)
            return true;  // the start-up version check reports this; nothing is written
        if (self.size() > kMaxPathLength) {
            userPrompt().showMessage(strprintf("The program folder's path is too long:\n\n%s", self.c_str()));
            return true;
        }
        paths[kSelfSlot] = self;
        encode(buf);
        const bool written = file.writeAt(0, buf, kRecordSize) && file.sync();
        file.close();
        if (!written) {
            userPrompt().showMessage(strprintf("Unable to save or create file:'%s'\n\nIn: CLocalFile::Save()\n\nError: %.40s",
                                               self.c_str(), file.lastErrorText().c_str()));
        }
        DataFile head;
        if (OpenFile(head, GetPath("Head"), OpenMode::ReadWrite) != FileCause::None)
            return true;
        return false;
    }

    // Only a missing file is created; a file that exists but cannot be opened
    // (permissions, a register that would not let go) must not be overwritten.
    if (cause != FileCause::NotFound || self.size() > kMaxPathLength ||
        OpenFile(file, self, OpenMode::Create) != FileCause::None) {
        userPrompt().showMessage("Unable to open or create file: LocalFileNames.plf");
        return true;
    }
    paths[kSelfSlot] = self;
    for (int slot : {3, 2, 1, 4, 5, 6, 7, 8, 0})
        paths[static_cast<std::size_t>(slot)] = replaceLast(self, kFileName, kDefaultNames[slot]);
    std::uint8_t buf[kRecordSize];
    encode(buf);
    if (!file.writeAt(0, buf, kRecordSize) || !file.sync()) {
        userPrompt().showMessage("Unable to open or create file: LocalFileNames.plf");
        return true;
    }
    return false;
}

bool CLocalFile::writeRecord(const char* failureFormat)
{
    const std::string target = paths[kSelfSlot].empty() ? localFilePath() : paths[kSelfSlot];
    DataFile file;
    int cause = OpenFile(file, target, OpenMode::ReadWrite);
    if (cause == FileCause::NotFound)
        cause = OpenFile(file, target, OpenMode::Create);
    if (cause == FileCause::None) {
        std::uint8_t buf[kRecordSize];
        encode(buf);
        if (file.writeAt(0, buf, kRecordSize) && file.sync())
            return true;
    }
    userPrompt().showMessage(strprintf(failureFormat, target.c_str(), file.lastErrorText().c_str()));
    return false;
}

bool CLocalFile::Save()
{
    return writeRecord("Unable to save or create file:'%s'\n\nIn: CLocalFile::Save()\n\nError: %.40s");
}

bool CLocalFile::SetFileSet(const std::string& folder, const std::string& baseName)
{
    paths[kFolderSlot] = codec::fitText(folder, kSlotWidth);
    for (const auto& m : kSetMembers)
        paths[static_cast<std::size_t>(m.slot)] = codec::fitText(folder + baseName + m.suffix, kSlotWidth);
    // The failure text names the file only; the format's arguments are unused.
    return writeRecord("Unable to save file:LocalFileNames.plf%.0s%.0s");
}

bool CLocalFile::SetReceiptPrinter(const std::string& device, const std::string& driver, const std::string& port)
{
    paths[kPrinterDeviceSlot] = device.substr(0, kMaxPathLength);
    paths[kPrinterDriverSlot] = driver.substr(0, kMaxPathLength);
    paths[kPrinterPortSlot] = port.substr(0, kMaxPathLength);
    return Save();
}
