#include "ByteCodec.h"
#include "CLocalFile.h"
#include "CustomerFile.h"
#include "DataFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <strings.h>

#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr std::size_t kHead = 236;
constexpr std::size_t kRec = 968;

CustomerRecord customer(const std::string& name, std::uint8_t level = 0)
{
    CustomerRecord r;
    r.text[CustomerRecord::kName] = name;
    r.text[CustomerRecord::kPhone] = "555-" + name;
    r.text[CustomerRecord::kEmail] = name + "@example.com";
    r.priceLevel = level;
    return r;
}

// The file read record by record with the codec alone, as a reference.
struct Stored {
    std::uint32_t count = 0;
    std::uint16_t next = 0;
    std::vector<std::string> names;
    std::vector<unsigned> numbers;
};

Stored readStored(const std::string& path)
{
    Stored s;
    const auto bytes = readBytes(path);
    if (bytes.size() < kHead)
        return s;
    s.count = codec::getU32(bytes.data(), 8);
    s.next = codec::getU16(bytes.data(), 4);
    for (std::size_t i = 0; i < s.count && kHead + (i + 1) * kRec <= bytes.size(); ++i) {
        const std::uint8_t* rec = bytes.data() + kHead + i * kRec;
        s.names.push_back(codec::getText(rec, 44, 40));
        s.numbers.push_back(codec::getU16(rec, 4));
    }
    return s;
}

void setCount(const std::string& path, std::uint32_t n)
{
    auto bytes = readBytes(path);
    codec::putU32(bytes.data(), 8, n);
    writeBytes(path, bytes);
}

std::vector<std::string> column(const TextRows& rows, std::size_t c)
{
    std::vector<std::string> out;
    for (const auto& row : rows)
        out.push_back(row.at(c));
    return out;
}
}  // namespace

TEST(CustomerFile, FirstSaveCreatesPlaceholderAndNumberOne)
{
    TempDir dir;
    CLocalFile local(dir.path());
    const std::string path = local.GetPath("Customers");
    CustomerRecord smith = customer("Smith");
    EXPECT_EQ(SaveCustomerByName(local, smith), CustomerSave::Appended);
    EXPECT_EQ(smith.customerNumber, 1);

    const auto bytes = readBytes(path);
    ASSERT_EQ(bytes.size(), kHead + 2 * kRec);
    EXPECT_EQ(codec::getF32(bytes.data(), 0), 1.3f);
    EXPECT_EQ(codec::getU16(bytes.data(), 4), 2);
    EXPECT_EQ(codec::getU32(bytes.data(), 8), 2u);
    EXPECT_EQ(codec::getText(bytes.data(), 12, 14), "Name");
    for (std::size_t i = 0; i < kRec; ++i)
        ASSERT_EQ(bytes[kHead + i], 0) << "placeholder byte " << i;
    EXPECT_EQ(codec::getU16(bytes.data(), kHead + kRec + 4), 1);
    EXPECT_EQ(codec::getText(bytes.data(), kHead + kRec + 44, 40), "Smith");

    // The same customer typed again in capitals replaces the one record and
    // keeps its number, although the new record carries none.
    CustomerRecord again = customer("SMITH");
    again.text[CustomerRecord::kPhone] = "555-0000";
    EXPECT_EQ(SaveCustomerByName(local, again), CustomerSave::Replaced);
    EXPECT_EQ(again.customerNumber, 1);
    const Stored s = readStored(path);
    EXPECT_EQ(s.count, 2u);
    EXPECT_EQ(s.next, 2);
    EXPECT_EQ(s.names, (std::vector<std::string>{"", "SMITH"}));
    EXPECT_EQ(s.numbers, (std::vector<unsigned>{0, 1}));
    CustomerRecord found;
    ASSERT_TRUE(FindCustomerByName(local, "smith", found));
    EXPECT_EQ(found.text[CustomerRecord::kPhone], "555-0000");

    CustomerRecord empty;
    EXPECT_EQ(SaveCustomerByName(local, empty), CustomerSave::NotSaved);
    EXPECT_EQ(readStored(path).count, 2u);
}

TEST(CustomerFile, PlaceholderOnlyFileAndMissingFile)
{
    TempDir dir;
    CLocalFile local(dir.path());
    const std::string path = local.GetPath("Customers");
    CustomerRecord r;
    EXPECT_FALSE(FindCustomerByName(local, "Anyone", r));
    ASSERT_EQ(fileSize(path), static_cast<long long>(kHead + kRec));  // created by the find

    EXPECT_TRUE(ListCustomersByLevel(local, 0).empty());
    EXPECT_TRUE(ListCustomersByText(local, "").empty());
    r.text[CustomerRecord::kName] = "junk";
    ASSERT_TRUE(FindCustomerByNumber(local, 0, r));
    EXPECT_EQ(r.name(), "");
    EXPECT_FALSE(FindCustomerByName(local, "", r));

    CustomerFileHeader h;
    h.labels[0] = "stale";
    ASSERT_EQ(ReadCustomerHeader(local, h), 0);
    EXPECT_EQ(h.count, 1u);
    EXPECT_EQ(h.nextNumber, 1);
    EXPECT_EQ(h.labels[0], "Name");

    // The placeholder is neither updated nor deleted.
    const auto before = readBytes(path);
    CustomerRecord zero = customer("Zero");
    EXPECT_EQ(UpdateCustomerByNumber(local, zero), ChangeResult::NotFound);
    EXPECT_EQ(DeleteCustomerByNumber(local, zero), ChangeResult::NotFound);
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(readStored(path).names, (std::vector<std::string>{""}));
}

TEST(CustomerFile, UpdateDeleteAndNumbersNeverReused)
{
    TempDir dir;
    CLocalFile local(dir.path());
    const std::string path = local.GetPath("Customers");
    CustomerRecord missing = customer("Nobody");
    missing.customerNumber = 3;
    EXPECT_EQ(UpdateCustomerByNumber(local, missing), ChangeResult::Failed);  // no file

    for (const char* n : {"Ann", "Bob", "Cy", "Dee", "Eve"}) {
        CustomerRecord c = customer(n);
        ASSERT_EQ(SaveCustomerByName(local, c), CustomerSave::Appended);
    }
    const auto before = readBytes(path);

    CustomerRecord eve;
    eve.customerNumber = 5;
    EXPECT_EQ(DeleteCustomerByNumber(local, eve), ChangeResult::Done);
    EXPECT_EQ(eve.name(), "Eve");  // the last record was the one deleted
    auto after = readBytes(path);
    EXPECT_EQ(codec::getU32(after.data(), 8), 5u);
    EXPECT_TRUE(std::equal(before.begin() + kHead, before.begin() + kHead + 5 * kRec, after.begin() + kHead));

    CustomerRecord bob;
    bob.customerNumber = 2;
    EXPECT_EQ(DeleteCustomerByNumber(local, bob), ChangeResult::Done);
    EXPECT_EQ(bob.name(), "Dee");  // the moved last record
    CustomerRecord gone;
    gone.customerNumber = 2;
    EXPECT_EQ(DeleteCustomerByNumber(local, gone), ChangeResult::NotFound);
    Stored s = readStored(path);
    EXPECT_EQ(s.names, (std::vector<std::string>{"", "Ann", "Dee", "Cy"}));
    EXPECT_EQ(s.numbers, (std::vector<unsigned>{0, 1, 4, 3}));

    CustomerRecord cy = customer("Cyrus");
    cy.customerNumber = 3;
    cy.orderLimit = 250;
    EXPECT_EQ(UpdateCustomerByNumber(local, cy), ChangeResult::Done);
    missing.customerNumber = 5;  // deleted above
    EXPECT_EQ(UpdateCustomerByNumber(local, missing), ChangeResult::NotFound);
    CustomerRecord got;
    ASSERT_TRUE(FindCustomerByNumber(local, 3, got));
    EXPECT_EQ(got.name(), "Cyrus");
    EXPECT_EQ(got.orderLimit, 250.0f);

    CustomerRecord fay = customer("Fay");
    ASSERT_EQ(SaveCustomerByName(local, fay), CustomerSave::Appended);
    EXPECT_EQ(fay.customerNumber, 6);
    EXPECT_EQ(readStored(path).next, 7);
}

TEST(CustomerFile, ListsByLevelAndByJoinedText)
{
    TempDir dir;
    CLocalFile local(dir.path());
    const std::uint8_t levels[] = {0, 2, 1, 2, 5};
    const char* names[] = {"Ann", "Bea", "Cal", "Dot", "Eli"};
    for (int i = 0; i < 5; ++i) {
        CustomerRecord c = customer(names[i], levels[i]);
        ASSERT_EQ(SaveCustomerByName(local, c), CustomerSave::Appended);
    }
    const TextRows level2 = ListCustomersByLevel(local, 3);
    ASSERT_EQ(level2.size(), 2u);
    EXPECT_EQ(level2[0], (std::vector<std::string>{"Bea", "555-Bea", "Bea@example.com", "2"}));
    EXPECT_EQ(column(level2, 0), (std::vector<std::string>{"Bea", "Dot"}));
    EXPECT_EQ(column(ListCustomersByLevel(local, 0), 3), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(column(ListCustomersByLevel(local, 6), 0), (std::vector<std::string>{"Eli"}));
    EXPECT_TRUE(ListCustomersByLevel(local, 5).empty());

    CustomerRecord ann;
    ASSERT_TRUE(FindCustomerByName(local, "ann", ann));
    ann.text[CustomerRecord::kCompany] = "Arbor";
    ann.text[CustomerRecord::kTaxId] = "zzz";  // the tenth field is not searched
    ASSERT_EQ(UpdateCustomerByNumber(local, ann), ChangeResult::Done);
    EXPECT_EQ(column(ListCustomersByText(local, "annarbor"), 0), (std::vector<std::string>{"Ann"}));
    EXPECT_EQ(column(ListCustomersByText(local, "ANNARB"), 0), (std::vector<std::string>{"Ann"}));
    EXPECT_TRUE(ListCustomersByText(local, "zzz").empty());
    // Phone, then e-mail: the joined text runs "555-Dot" + "Dot@example.com".
    EXPECT_EQ(column(ListCustomersByText(local, "-dotdot@"), 0), (std::vector<std::string>{"Dot"}));
    EXPECT_EQ(ListCustomersByText(local, "example").size(), 5u);
}

TEST(CustomerFile, HeaderWriteKeepsCountAndNextNumber)
{
    TempDir dir;
    CLocalFile local(dir.path());
    CustomerFileHeader h;
    ASSERT_EQ(ReadCustomerHeader(local, h), 0);
    CustomerRecord c = customer("Late");  // saved at another register meanwhile
    ASSERT_EQ(SaveCustomerByName(local, c), CustomerSave::Appended);
    h.labels[4] = "Telephone";
    ASSERT_EQ(WriteCustomerHeader(local, h), 0);
    CustomerFileHeader back;
    ASSERT_EQ(ReadCustomerHeader(local, back), 0);
    EXPECT_EQ(back.labels[4], "Telephone");
    EXPECT_EQ(back.count, 2u);
    EXPECT_EQ(back.nextNumber, 2);
    CustomerRecord late;
    EXPECT_TRUE(FindCustomerByName(local, "Late", late));
}

TEST(CustomerFile, DamagedFilesReadTheRecordsPresent)
{
    TempDir dir;
    CLocalFile local(dir.path());
    const std::string path = local.GetPath("Customers");
    for (const char* n : {"Ann", "Bob"}) {
        CustomerRecord c = customer(n);
        ASSERT_EQ(SaveCustomerByName(local, c), CustomerSave::Appended);
    }
    // Count past the end, and a half-written record after the last whole one.
    setCount(path, 1000);
    auto bytes = readBytes(path);
    bytes.resize(bytes.size() + kRec / 2, 0x41);
    writeBytes(path, bytes);
    EXPECT_EQ(column(ListCustomersByLevel(local, 0), 0), (std::vector<std::string>{"Ann", "Bob"}));
    CustomerFileHeader h;
    ASSERT_EQ(ReadCustomerHeader(local, h), 0);
    EXPECT_EQ(h.count, 3u);
    CustomerRecord r;
    EXPECT_FALSE(FindCustomerByNumber(local, 0x4141, r));

    CustomerRecord cy = customer("Cy");
    ASSERT_EQ(SaveCustomerByName(local, cy), CustomerSave::Appended);
    EXPECT_EQ(cy.customerNumber, 3);
    EXPECT_EQ(fileSize(path), static_cast<long long>(kHead + 4 * kRec));
    Stored s = readStored(path);
    EXPECT_EQ(s.count, 4u);
    EXPECT_EQ(s.names, (std::vector<std::string>{"", "Ann", "Bob", "Cy"}));

    // A header zeroed by damage: no records counted, next number 0. The next
    // save brings back a placeholder and takes a number none of the records
    // in the file carries.
    bytes = readBytes(path);
    std::fill(bytes.begin(), bytes.begin() + 12, 0);
    writeBytes(path, bytes);
    EXPECT_TRUE(ListCustomersByLevel(local, 0).empty());
    CustomerRecord dee = customer("Dee");
    ASSERT_EQ(SaveCustomerByName(local, dee), CustomerSave::Appended);
    s = readStored(path);
    EXPECT_EQ(s.count, 2u);
    EXPECT_EQ(s.names, (std::vector<std::string>{"", "Dee"}));
    EXPECT_EQ(s.numbers, (std::vector<unsigned>{0, 1}));

    // A file shorter than its header is not a customer file: nothing is found
    // and the reads leave it alone.
    writeBytes(path, std::vector<std::uint8_t>(100, 7));
    EXPECT_FALSE(FindCustomerByName(local, "Dee", r));
    EXPECT_TRUE(ListCustomersByText(local, "").empty());
    EXPECT_EQ(fileSize(path), 100);
}

TEST(CustomerFile, BlockScansGiveTheFirstMatchInFileOrder)
{
    TempDir dir;
    CLocalFile local(dir.path());
    const std::string path = local.GetPath("Customers");
    // 300 records, several 64 KiB blocks, written directly.
    const std::size_t n = 300;
    std::vector<std::uint8_t> bytes(kHead + n * kRec, 0);
    CustomerFileHeader h;
    h.count = n;
    h.nextNumber = n;
    h.encode(bytes.data());
    for (std::size_t i = 1; i < n; ++i) {
        CustomerRecord c = customer("Cust" + std::to_string(i % 97), static_cast<std::uint8_t>(i % 6));
        c.customerNumber = static_cast<std::uint16_t>(i % 150 == 0 ? 7 : i);
        c.encode(bytes.data() + kHead + i * kRec);
    }
    CustomerRecord twin = customer("MiXeD");
    twin.customerNumber = 1000;
    twin.encode(bytes.data() + kHead + 150 * kRec);
    twin.text[CustomerRecord::kName] = "mixed";
    twin.customerNumber = 1001;
    twin.encode(bytes.data() + kHead + 290 * kRec);
    writeBytes(path, bytes);

    // Reference: record by record.
    auto firstByName = [&](const std::string& name) -> long long {
        for (std::size_t i = 1; i < n; ++i) {
            CustomerRecord c;
            c.decode(bytes.data() + kHead + i * kRec);
            if (strcasecmp(c.name().c_str(), name.c_str()) == 0)
                return static_cast<long long>(c.customerNumber);
        }
        return -1;
    };
    for (const std::string name : {"cust5", "CUST96", "Cust0", "mixed", "MIXED", "Cust97", "Cust"}) {
        CustomerRecord found;
        const bool hit = FindCustomerByName(local, name, found);
        EXPECT_EQ(hit ? static_cast<long long>(found.customerNumber) : -1, firstByName(name)) << name;
    }
    CustomerRecord found;
    ASSERT_TRUE(FindCustomerByNumber(local, 7, found));
    EXPECT_EQ(found.name(), "Cust7");  // record 7 comes before record 300's twin number
    ASSERT_TRUE(FindCustomerByNumber(local, 299, found));
    EXPECT_EQ(found.name(), "Cust8");
    std::size_t level3 = 0;
    for (std::size_t i = 1; i < n; ++i)
        level3 += (i % 6 == 3) && i != 150 && i != 290;
    EXPECT_EQ(ListCustomersByLevel(local, 4).size(), level3);

    // Saving MIXED replaces record 150, the first of the two.
    CustomerRecord m = customer("MIXED");
    ASSERT_EQ(SaveCustomerByName(local, m), CustomerSave::Replaced);
    EXPECT_EQ(m.customerNumber, 1000);
    const Stored s = readStored(path);
    EXPECT_EQ(s.names[150], "MIXED");
    EXPECT_EQ(s.names[290], "mixed");
}

TEST(CustomerFile, FourRegistersAppendingTogether)
{
    TempDir dir;
    CLocalFile local(dir.path());
    const int procs = 4;
    const int each = 25;
    std::vector<pid_t> kids;
    for (int p = 0; p < procs; ++p) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            CLocalFile mine(dir.path());
            int bad = 0;
            for (int i = 0; i < each; ++i) {
                CustomerRecord c = customer("P" + std::to_string(p) + "-" + std::to_string(i));
                bad += SaveCustomerByName(mine, c) != CustomerSave::Appended;
            }
            _exit(bad);
        }
        kids.push_back(pid);
    }
    for (pid_t pid : kids) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const Stored s = readStored(local.GetPath("Customers"));
    ASSERT_EQ(s.count, static_cast<std::uint32_t>(1 + procs * each));
    EXPECT_EQ(fileSize(local.GetPath("Customers")), static_cast<long long>(kHead + s.count * kRec));
    EXPECT_EQ(s.next, 1 + procs * each);
    for (int p = 0; p < procs; ++p)
        for (int i = 0; i < each; ++i)
            EXPECT_EQ(std::count(s.names.begin(), s.names.end(), "P" + std::to_string(p) + "-" + std::to_string(i)), 1);
    std::vector<unsigned> numbers = s.numbers;
    std::sort(numbers.begin(), numbers.end());
    for (std::size_t i = 0; i < numbers.size(); ++i)
        EXPECT_EQ(numbers[i], i);
}

namespace {
// The file is the old one (placeholder, Ann, Bob) or the new one (plus Zed as
// number 3); nothing else.
enum class Seen { Old, New, Torn };
Seen classify(const std::string& path)
{
    const Stored s = readStored(path);
    const std::vector<std::string> oldNames{"", "Ann", "Bob"};
    if (s.names == oldNames && s.numbers == std::vector<unsigned>{0, 1, 2} && s.next == 3)
        return Seen::Old;
    if (s.names == std::vector<std::string>{"", "Ann", "Bob", "Zed"} &&
        s.numbers == std::vector<unsigned>{0, 1, 2, 3} && s.next == 4)
        return Seen::New;
    return Seen::Torn;
}

void seed(const CLocalFile& local)
{
    for (const char* n : {"Ann", "Bob"}) {
        CustomerRecord c = customer(n);
        ASSERT_EQ(SaveCustomerByName(local, c), CustomerSave::Appended);
    }
}
}  // namespace

TEST(CustomerFile, AppendFailingAtEveryStepNeverTearsTheFile)
{
    for (const bool once : {true, false}) {
        for (long n = 1;; ++n) {
            TempDir dir;
            CLocalFile local(dir.path());
            seed(local);
            CustomerRecord zed = customer("Zed");
            FileFaults::arm(n, FileFaults::Action::Fail, once);
            const CustomerSave result = SaveCustomerByName(local, zed);
            const bool reached = FileFaults::count() >= n;
            FileFaults::disarm();
            const Seen seen = classify(local.GetPath("Customers"));
            ASSERT_NE(seen, Seen::Torn) << "fault at " << n;
            if (result == CustomerSave::Appended) {
                ASSERT_EQ(seen, Seen::New) << n;
            }
            // Whatever happened, the file takes the next customer correctly.
            CustomerRecord again = customer("Zed");
            ASSERT_NE(SaveCustomerByName(local, again), CustomerSave::NotSaved);
            EXPECT_EQ(classify(local.GetPath("Customers")), Seen::New) << n;
            if (!reached) {
                EXPECT_EQ(result, CustomerSave::Appended);
                EXPECT_GT(n, 3);  // open, scan, two writes and syncs at least
                break;
            }
            ASSERT_LT(n, 50);
        }
    }
}

TEST(CustomerFile, AppendKilledAtEveryStepNeverTearsTheFile)
{
    for (long n = 1;; ++n) {
        TempDir dir;
        CLocalFile local(dir.path());
        seed(local);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            CLocalFile mine(dir.path());
            CustomerRecord zed = customer("Zed");
            FileFaults::arm(n, FileFaults::Action::Exit, true);
            const CustomerSave result = SaveCustomerByName(mine, zed);
            _exit(result == CustomerSave::Appended ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        const Seen seen = classify(local.GetPath("Customers"));
        ASSERT_NE(seen, Seen::Torn) << "killed at " << n;
        if (WEXITSTATUS(status) == 0) {
            EXPECT_EQ(seen, Seen::New);
            break;
        }
        ASSERT_EQ(WEXITSTATUS(status), 86) << n;
        ASSERT_LT(n, 50);
    }
}
