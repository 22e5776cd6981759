#pragma once
// The per-register record LocalFileNames.plf: where the file set lies, and the
// options that belong to this register. Also the one way every data file is
// opened (OpenFile), so that all registers follow the same sharing rule.

#include "storage/io/DataFile.h"
#include "storage/records/OleDate.h"

#include <array>
#include <cstdint>
#include <string>

class CLocalFile {
public:
    static constexpr std::size_t kRecordSize = 2584;
    static constexpr std::size_t kSlotWidth = 180;
    static constexpr std::size_t kSlotCount = 14;
    static constexpr std::size_t kMaxPathLength = kSlotWidth - 1;
    static constexpr std::uint32_t kVersion = 4;
    static constexpr const char* kFileName = "LocalFileNames.plf";

    // Slots of `paths`.
    enum Slot {
        kHeadSlot = 0, kInvoicesSlot = 1, kProductsSlot = 2, kCustomersSlot = 3, kVendorSlot = 4,
        kCategorySlot = 5, kCashiersSlot = 6, kTaxTableSlot = 7, kSalesPeopleSlot = 8,
        kSelfSlot = 9, kFolderSlot = 10, kPrinterDeviceSlot = 11, kPrinterDriverSlot = 12, kPrinterPortSlot = 13,
    };

    // The working folder is where LocalFileNames.plf lives; empty means the
    // current directory at construction.
    explicit CLocalFile(const std::string& workingFolder = {});

    std::uint32_t version = kVersion;
    std::uint32_t currentRecord = 0;
    std::uint8_t securityOn = 0;
    std::uint8_t receiptsToPrint = 0;
    std::uint8_t receiptStyle = 0;
    std::uint8_t drawerMethod = 0;
    std::uint8_t packingSlips = 0;
    std::string drawerCommand;    // at most 11 characters
    std::string loggedInCashier;  // at most 23 characters
    std::array<std::string, kSlotCount> paths;
    OleDate loginTime;

    // Version 4, every number and flag 0, empty texts, slots 0 to 8 the bare
    // default names (they then lie in the working folder), loginTime zero.
    void resetToDefaults();

    void encode(std::uint8_t* buf) const;  // kRecordSize bytes
    void decode(const std::uint8_t* buf);

    // Loads the record (creating it when there is none); false on success, true
    // on failure, as callers of the start-up sequence expect.
    bool Load();
    // Writes the record to slot 9's path; true when written.
    bool Save();
    // Points every stored slot at folder + baseName and saves. folder keeps its
    // trailing separator. True when saved.
    bool SetFileSet(const std::string& folder, const std::string& baseName);
    bool SetReceiptPrinter(const std::string& device, const std::string& driver, const std::string& port);

    // Full path of the data file of a kind ("Head", "Invoices", ...). Keys are
    // compared case-sensitively; any other key names a file beside LocalFileNames.plf.
    std::string GetPath(const std::string& kind) const;

    // Opens a data file under the sharing rule. A file held by another register
    // is waited for in turn (DataFile::openInTurn); after the wait bound the user
    // is asked whether to keep waiting, and "No" gives FileCause::LockGivenUp.
    // Before returning, a journal left by a register that died while changing
    // the file set is rolled back (see Transaction.h).
    static int OpenFile(DataFile& file, const std::string& path, OpenMode mode);
    // The same wait for the lock, without looking at the journal.
    static int OpenLocked(DataFile& file, const std::string& path, OpenMode mode);
    // How long OpenFile waits before asking (milliseconds).
    static void setWaitBeforeAsking(int ms);
    static int waitBeforeAsking();
    // Asks the user whether to keep waiting for a file another register has
    // held for `waitedSeconds`; false: give up, changing nothing.
    static bool KeepWaitingFor(const std::string& path, long long waitedSeconds);

    // True when every path of the set folder + baseName fits its slot.
    static bool FileSetFits(const std::string& folder, const std::string& baseName);
    // The longest ending a stored slot of a file set gets.
    static std::size_t longestSuffix();

    const std::string& workingFolder() const { return workingFolder_; }
    // Full path of this register's LocalFileNames.plf.
    std::string localFilePath() const { return workingFolder_ + kFileName; }
    // The data folder of the current set (with its trailing separator).
    std::string dataFolder() const;

private:
    // A relative slot (a bare default name) lies in the working folder.
    std::string resolve(const std::string& slotPath) const;
    bool writeRecord(const char* failureFormat);

    std::string workingFolder_;  // absolute, with trailing separator
};
