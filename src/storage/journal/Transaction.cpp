#include "storage/journal/Transaction.h"

#include "storage/io/FileWait.h"
#include "storage/io/StepWatch.h"
#include "storage/records/ByteCodec.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <cstring>

namespace {
constexpr char kMagic[4] = {'R', 'J', '0', '1'};
constexpr std::size_t kHeadSize = 24;  // magic, length, checksum, files, entries
constexpr long long kSector = 512;
const char* const kJournalSuffix = "-Jrnl.pdb";
const char* const kLooseJournalSuffix = ".jrnl";
// Endings of the members of a file set; they share one journal.
const char* const kSetSuffixes[] = {".pos",      "-Invs.pdb", "-Prod.pdb",  "-Cust.pdb",  "-Vend.pdb",
                                    "-Catg.pdb", "-Cash.pdb", "-TaxT.pdb",  "-SaleP.pdb", "-Rent.pdb",
                                    "-Quote.pdb", "-Terms.pdb", "-Pymnt.pdb"};

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::uint64_t checksum(const std::uint8_t* data, std::size_t n)
{
    std::uint64_t h = 14695981039346656037ull;
    for (std::size_t i = 0; i < n; ++i)
        h = (h ^ data[i]) * 1099511628211ull;
    return h;
}

struct FileImage {
    std::string name;
    long long sizeBefore = 0;
};
struct Original {
    std::size_t file;
    long long offset;
    std::vector<std::uint8_t> bytes;
};
struct JournalImage {
    std::vector<FileImage> files;
    std::vector<Original> originals;
};

void putU64(std::vector<std::uint8_t>& out, std::uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void putU32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
std::uint64_t getU64(const std::uint8_t* p)
{
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

std::vector<std::uint8_t> encodeJournal(const JournalImage& image)
{
    std::vector<std::uint8_t> out(kHeadSize, 0);
    for (const auto& f : image.files) {
        putU32(out, static_cast<std::uint32_t>(f.name.size()));
        out.insert(out.end(), f.name.begin(), f.name.end());
        putU64(out, static_cast<std::uint64_t>(f.sizeBefore));
    }
    for (const auto& o : image.originals) {
        putU32(out, static_cast<std::uint32_t>(o.file));
        putU64(out, static_cast<std::uint64_t>(o.offset));
        putU32(out, static_cast<std::uint32_t>(o.bytes.size()));
        out.insert(out.end(), o.bytes.begin(), o.bytes.end());
    }
    std::memcpy(out.data(), kMagic, 4);
    codec::putU32(out.data(), 4, static_cast<std::uint32_t>(out.size()));
    codec::putU32(out.data(), 16, static_cast<std::uint32_t>(image.files.size()));
    codec::putU32(out.data(), 20, static_cast<std::uint32_t>(image.originals.size()));
    const std::uint64_t sum = checksum(out.data() + 16, out.size() - 16);
    for (int i = 0; i < 8; ++i)
        out[8 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(sum >> (8 * i));
    return out;
}

// False when the bytes are not a whole journal (cut short, torn or empty).
bool decodeJournal(const std::vector<std::uint8_t>& in, JournalImage& image)
{
    image = JournalImage{};
    if (in.size() < kHeadSize || std::memcmp(in.data(), kMagic, 4) != 0)
        return false;
    const std::size_t length = codec::getU32(in.data(), 4);
    if (length < kHeadSize || length > in.size() || getU64(in.data() + 8) != checksum(in.data() + 16, length - 16))
        return false;
    const std::uint32_t files = codec::getU32(in.data(), 16);
    const std::uint32_t entries = codec::getU32(in.data(), 20);
    std::size_t at = kHeadSize;
    auto has = [&](std::size_t n) { return at + n <= length; };
    for (std::uint32_t i = 0; i < files; ++i) {
        if (!has(4))
            return false;
        const std::size_t n = codec::getU32(in.data(), at);
        at += 4;
        if (!has(n + 8))
            return false;
        FileImage f;
        f.name.assign(reinterpret_cast<const char*>(in.data() + at), n);
        at += n;
        f.sizeBefore = static_cast<long long>(getU64(in.data() + at));
        at += 8;
        if (f.name.empty() || f.name.find('/') != std::string::npos || f.sizeBefore < 0)
            return false;
        image.files.push_back(f);
    }
    for (std::uint32_t i = 0; i < entries; ++i) {
        if (!has(16))
            return false;
        Original o;
        o.file = codec::getU32(in.data(), at);
        o.offset = static_cast<long long>(getU64(in.data() + at + 4));
        const std::size_t n = codec::getU32(in.data(), at + 12);
        at += 16;
        if (!has(n) || o.file >= image.files.size() || o.offset < 0)
            return false;
        o.bytes.assign(in.begin() + static_cast<long>(at), in.begin() + static_cast<long>(at + n));
        at += n;
        image.originals.push_back(std::move(o));
    }
    return at == length;
}

// A journal holds a change while it starts with its mark; emptied, it starts
// with zeros and keeps its size, so that the next one is written in place.
bool marked(const std::uint8_t* head, long long got) { return got >= 4 && std::memcmp(head, kMagic, 4) == 0; }

// The journal as read: empty when it holds no change; false on a read error.
bool readJournal(DataFile& journal, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    std::uint8_t head[kHeadSize];
    const long long got = journal.readAt(0, head, sizeof head);
    if (got < 0)
        return false;
    if (!marked(head, got))
        return true;
    const long long size = journal.size();
    if (size < 0)
        return false;
    bytes.assign(static_cast<std::size_t>(size), 0);
    return readFully(journal, 0, bytes.data(), bytes.size());
}

// Puts back the original bytes and sizes, and flushes each file. A file that is
// gone (null) has nothing left to put back.
bool rollBack(const JournalImage& image, const std::vector<DataFile*>& files)
{
    bool ok = true;
    for (const auto& o : image.originals)
        if (files[o.file])
            ok = files[o.file]->writeAt(o.offset, o.bytes.data(), o.bytes.size()) && ok;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!files[i])
            continue;
        const long long size = files[i]->size();
        if (size > image.files[i].sizeBefore)
            ok = files[i]->truncate(image.files[i].sizeBefore) && ok;
        ok = files[i]->sync() && ok;
    }
    return ok;
}

// Zeros over the mark, flushed. A journal grown large by a big change is cut
// back afterwards (cut or not, it holds no change).
constexpr long long kKeptJournalBytes = 1 << 20;
bool clearMark(DataFile& journal)
{
    const std::uint8_t zeros[kHeadSize] = {};
    return journal.writeAt(0, zeros, sizeof zeros);
}
bool emptyJournal(DataFile& journal)
{
    if (!clearMark(journal) || !journal.sync())
        return false;
    if (journal.size() > kKeptJournalBytes)
        journal.truncate(0);
    return true;
}

// Rolls back a stale journal that `journal` holds exclusively. `held` are data
// files this register already holds (path, file); the others it names are taken
// without waiting. None when no stale change is left; SharingViolation, with
// the file in `busy`, when another register holds one of them now.
int recoverHeld(DataFile& journal, const std::vector<std::pair<std::string, DataFile*>>& held,
                std::string* busy = nullptr)
{
    std::vector<std::uint8_t> bytes;
    if (!readJournal(journal, bytes))
        return FileCause::Generic;
    if (bytes.empty())
        return FileCause::None;
    JournalImage image;
    if (!decodeJournal(bytes, image))
        return emptyJournal(journal) ? FileCause::None : FileCause::Generic;  // cut short before any change
    const std::string folder = folderOf(journal.path());
    std::vector<std::unique_ptr<DataFile>> taken;
    std::vector<DataFile*> files;
    for (const auto& f : image.files) {
        const std::string path = folder + f.name;
        const auto it = std::find_if(held.begin(), held.end(), [&](const auto& h) { return h.first == path; });
        if (it != held.end()) {
            files.push_back(it->second);
            continue;
        }
        auto file = std::make_unique<DataFile>();
        const int cause = file->tryOpen(path, OpenMode::ReadWrite);
        if (cause == FileCause::NotFound) {
            files.push_back(nullptr);
            continue;
        }
        if (cause != FileCause::None) {
            if (busy)
                *busy = path;
            return cause == FileCause::SharingViolation ? cause : FileCause::Generic;
        }
        files.push_back(file.get());
        taken.push_back(std::move(file));
    }
    return rollBack(image, files) && emptyJournal(journal) ? FileCause::None : FileCause::Generic;
}
// Opens a data file under the sharing rule; with the file held, a stale
// journal at `journal` is rolled back before anything is read. Checked with the
// file held, so no transaction on it can start or be cut short until this open
// lets go.
int openUnder(DataFile& file, const std::string& path, const std::string& journal, OpenMode mode)
{
    for (;;) {
        int cause = FileWait::OpenLocked(file, path, mode);
        if (cause != FileCause::None || journal.empty())
            return cause;
        if (Journal::clean(journal, cause))
            return FileCause::None;
        file.close();
        if (cause == FileCause::None)
            cause = Journal::recover(journal);
        if (cause != FileCause::None)
            return cause;
    }
}
}  // namespace

namespace Journal {
std::string pathFor(const std::string& dataPath)
{
    if (endsWith(dataPath, kJournalSuffix) || endsWith(dataPath, kLooseJournalSuffix))
        return {};
    for (const char* suffix : kSetSuffixes)
        if (endsWith(dataPath, suffix))
            return dataPath.substr(0, dataPath.size() - std::strlen(suffix)) + kJournalSuffix;
    return dataPath + kLooseJournalSuffix;
}

bool clean(const std::string& journalPath, int& cause)
{
    DataFile journal;
    cause = FileWait::OpenLocked(journal, journalPath, OpenMode::Read);
    if (cause == FileCause::NotFound) {
        cause = FileCause::None;
        return true;
    }
    if (cause != FileCause::None)
        return false;
    std::uint8_t head[4];
    const long long got = journal.readAt(0, head, sizeof head);
    if (got < 0)
        cause = journal.failure();
    return got >= 0 && !marked(head, got);
}

int openJoined(DataFile& file, const std::string& path, const std::string& setMember, OpenMode mode)
{
    const std::string journal = pathFor(setMember);
    // The journal names files by their names alone: a joined file lies beside it.
    if (journal.empty() || folderOf(path) != folderOf(journal) || nameOf(path).empty())
        return FileCause::BadPath;
    return openUnder(file, path, journal, mode);
}

int OpenRecovered(DataFile& file, const std::string& path, OpenMode mode)
{
    return openUnder(file, path, pathFor(path), mode);
}

int recover(const std::string& journalPath)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Which files it names, read under a shared lock.
        std::vector<std::string> paths;
        {
            DataFile journal;
            const int cause = FileWait::OpenLocked(journal, journalPath, OpenMode::Read);
            if (cause == FileCause::NotFound)
                return FileCause::None;
            if (cause != FileCause::None)
                return cause;
            std::vector<std::uint8_t> bytes;
            if (!readJournal(journal, bytes))
                return FileCause::Generic;
            if (bytes.empty())
                return FileCause::None;
            JournalImage image;
            if (decodeJournal(bytes, image))
                for (const auto& f : image.files)
                    paths.push_back(folderOf(journalPath) + f.name);
        }
        // Its files first, in path order, the journal last: the order every
        // transaction takes them in.
        std::sort(paths.begin(), paths.end());
        std::vector<std::unique_ptr<DataFile>> files;
        std::vector<std::pair<std::string, DataFile*>> held;
        int cause = FileCause::None;
        for (const auto& path : paths) {
            files.push_back(std::make_unique<DataFile>());
            cause = FileWait::OpenLocked(*files.back(), path, OpenMode::ReadWrite);
            if (cause == FileCause::NotFound) {
                cause = FileCause::None;  // gone: nothing of it to put back
                continue;
            }
            if (cause != FileCause::None)
                break;
            held.emplace_back(path, files.back().get());
        }
        if (cause != FileCause::None)
            return cause;
        DataFile journal;
        cause = FileWait::OpenLocked(journal, journalPath, OpenMode::ReadWrite);
        if (cause == FileCause::NotFound)
            return FileCause::None;
        if (cause != FileCause::None)
            return cause;
        if (recoverHeld(journal, held) == FileCause::None)
            return FileCause::None;
        // It names other files now (a newer journal): look again.
    }
    return FileCause::Generic;
}
}  // namespace Journal

Transaction::~Transaction() { release(); }

void Transaction::add(const std::string& path, OpenMode mode)
{
    for (auto& m : members_)
        if (m.path == path) {
            if (mode == OpenMode::OpenOrCreate)
                m.mode = mode;
            return;
        }
    members_.push_back(Member{path, mode, std::make_unique<DataFile>(), 0, {}});
}

void Transaction::join(const std::string& path, const std::string& setMember, OpenMode mode)
{
    add(path, mode);
    for (auto& m : members_)
        if (m.path == path)
            m.journal = setMember;
}

int Transaction::begin()
{
    std::sort(members_.begin(), members_.end(), [](const Member& a, const Member& b) { return a.path < b.path; });
    auto journalOf = [](const Member& m) { return Journal::pathFor(m.journal.empty() ? m.path : m.journal); };
    const std::string journal = members_.empty() ? std::string() : journalOf(members_.front());
    for (const auto& m : members_) {
        // One journal covers a transaction: its files belong to one set, and a
        // joined file lies beside the journal, which names files by name alone.
        const bool beside = m.journal.empty() || (folderOf(m.path) == folderOf(journal) && !nameOf(m.path).empty());
        if (journal.empty() || journalOf(m) != journal || !beside)
            return FileCause::BadPath;
    }
    for (;;) {
        for (auto& m : members_) {
            const int cause = FileWait::OpenLocked(*m.file, m.path, m.mode);
            if (cause != FileCause::None) {
                release();
                return cause;
            }
        }
        // With every file held no change of theirs can start or be cut short,
        // so one look at the journal, before anything is read, covers them all.
        int cause = FileCause::None;
        if (Journal::clean(journal, cause))
            break;
        release();
        if (cause == FileCause::None)
            cause = Journal::recover(journal);
        if (cause != FileCause::None)
            return cause;
    }
    for (auto& m : members_) {
        m.sizeBefore = m.file->size();
        if (m.sizeBefore < 0) {
            release();
            return FileCause::Generic;
        }
    }
    begun_ = true;
    return FileCause::None;
}

bool Transaction::holds(const std::string& path) const
{
    return begun_ && std::any_of(members_.begin(), members_.end(), [&](const Member& m) { return m.path == path; });
}

DataFile& Transaction::file(const std::string& path)
{
    for (auto& m : members_)
        if (m.path == path)
            return *m.file;
    return *members_.front().file;  // callers only ask for files they added
}

std::size_t Transaction::indexOf(const DataFile& f) const
{
    for (std::size_t i = 0; i < members_.size(); ++i)
        if (members_[i].file.get() == &f)
            return i;
    return members_.size();
}

void Transaction::write(DataFile& f, long long offset, const void* data, std::size_t n)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
    writes_.push_back(Staged{indexOf(f), offset, std::vector<std::uint8_t>(p, p + n), false, {}});
}

void Transaction::write(DataFile& f, long long offset, const void* data, std::size_t n, const void* original)
{
    write(f, offset, data, n);
    const auto* o = static_cast<const std::uint8_t*>(original);
    writes_.back().original.assign(o, o + n);
}

void Transaction::writeUnseen(DataFile& f, long long offset, const void* data, std::size_t n)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
    writes_.push_back(Staged{indexOf(f), offset, std::vector<std::uint8_t>(p, p + n), true, {}});
}

void Transaction::release()
{
    writes_.clear();
    for (auto& m : members_)
        m.file->close();
    begun_ = false;
}

int Transaction::failure() const
{
    for (const auto& m : members_)
        if (const int cause = m.file->failure(); cause != FileCause::Generic)
            return cause;
    return FileCause::Generic;
}

int Transaction::commit()
{
    if (writes_.empty())
        return FileCause::None;
    const bool valid = begun_ && std::all_of(writes_.begin(), writes_.end(), [&](const Staged& w) {
                           return w.file < members_.size() && w.offset >= 0;
                       });
    if (!valid) {
        writes_.clear();
        return FileCause::Generic;
    }
    std::size_t inPlace = 0;
    const Staged* only = nullptr;
    for (const auto& w : writes_)
        if (!w.unseen) {
            ++inPlace;
            only = &w;
        }
    const bool oneSector = inPlace == 1 && !only->bytes.empty() &&
                           only->offset / kSector == (only->offset + static_cast<long long>(only->bytes.size()) - 1) / kSector &&
                           only->offset + static_cast<long long>(only->bytes.size()) <= members_[only->file].sizeBefore;
    const int cause = oneSector || inPlace == 0 ? commitInPlaceSector() : commitJournaled();
    writes_.clear();
    if (cause == FileCause::None)
        for (auto& m : members_)
            m.sizeBefore = std::max(m.sizeBefore, m.file->size());
    return cause;
}

int Transaction::commitInPlaceSector()
{
    if (!StepWatch::startWriting())
        return FileCause::WaitGivenUp;
    const Staged* sector = nullptr;
    std::vector<bool> touched(members_.size(), false);
    for (const auto& w : writes_) {
        if (!w.unseen) {
            sector = &w;
            continue;
        }
        if (!members_[w.file].file->writeAt(w.offset, w.bytes.data(), w.bytes.size()))
            return members_[w.file].file->failure();
        touched[w.file] = true;
    }
    for (std::size_t i = 0; i < members_.size(); ++i)
        if (touched[i] && !members_[i].file->sync())
            return members_[i].file->failure();
    if (!sector)
        return FileCause::None;
    DataFile& f = *members_[sector->file].file;
    std::vector<std::uint8_t> before(sector->bytes.size());
    if (!readFully(f, sector->offset, before.data(), before.size()))
        return f.failure();
    if (!f.writeAt(sector->offset, sector->bytes.data(), sector->bytes.size()))
        return f.failure();
    if (f.sync())
        return FileCause::None;
    // Not known to be on disk: put the sector back so that nothing has changed.
    if (!f.writeAt(sector->offset, before.data(), before.size()))
        return FileCause::None;  // the change stands for every register
    f.sync();
    return f.failure();
}

int Transaction::commitJournaled()
{
    JournalImage image;
    std::vector<DataFile*> files;
    std::vector<std::pair<std::string, DataFile*>> held;
    for (const auto& m : members_) {
        image.files.push_back(FileImage{nameOf(m.path), m.sizeBefore});
        files.push_back(m.file.get());
        held.emplace_back(m.path, m.file.get());
    }
    for (const auto& w : writes_) {
        const long long end = std::min(w.offset + static_cast<long long>(w.bytes.size()), members_[w.file].sizeBefore);
        if (w.unseen || end <= w.offset)
            continue;
        Original o{w.file, w.offset, std::vector<std::uint8_t>(static_cast<std::size_t>(end - w.offset))};
        if (!w.original.empty())
            std::copy_n(w.original.begin(), o.bytes.size(), o.bytes.begin());
        else if (!readFully(*files[w.file], o.offset, o.bytes.data(), o.bytes.size()))
            return files[w.file]->failure();
        image.originals.push_back(std::move(o));
    }

    const std::string& first = members_.front().journal.empty() ? members_.front().path : members_.front().journal;
    const std::string journalPath = Journal::pathFor(first);
    DataFile journal;
    // A register that died after this one began may have left the journal
    // stale, naming files this one does not hold. They are taken without
    // waiting (waiting here, out of path order, could deadlock); while another
    // register holds one, the journal is let go so that register can roll it
    // back itself, and this commit tries again, asking the user after the
    // usual wait whether to go on, as any wait for a file does.
    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    auto askAt = started + std::chrono::milliseconds(FileWait::waitBeforeAsking());
    auto pause = std::chrono::microseconds(500);
    for (;;) {
        int cause = FileWait::OpenLocked(journal, journalPath, OpenMode::ReadWrite);
        if (cause == FileCause::NotFound) {
            cause = DataFile::createWhole(journalPath, nullptr, 0);
            if (cause == FileCause::None || cause == FileCause::AlreadyExists)
                cause = FileWait::OpenLocked(journal, journalPath, OpenMode::ReadWrite);
        }
        if (cause != FileCause::None)
            return cause;
        std::string busy;
        cause = recoverHeld(journal, held, &busy);
        if (cause == FileCause::None)
            break;
        journal.close();
        if (cause != FileCause::SharingViolation)
            return cause;
        if (Clock::now() >= askAt) {
            const auto waited = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - started).count();
            if (!FileWait::KeepWaitingFor(busy, static_cast<long long>(waited)))
                return FileCause::LockGivenUp;
            askAt = Clock::now() + std::chrono::milliseconds(FileWait::waitBeforeAsking());
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }

    // The last point at which the cashier can still give the change up.
    if (!StepWatch::startWriting())
        return FileCause::WaitGivenUp;
    const std::vector<std::uint8_t> bytes = encodeJournal(image);
    if (!journal.writeAt(0, bytes.data(), bytes.size()) || !journal.sync()) {
        const int cause = journal.failure();
        emptyJournal(journal);
        return cause;
    }
    std::vector<bool> touched(members_.size(), false);
    bool applied = true;
    for (const auto& w : writes_) {
        applied = applied && files[w.file]->writeAt(w.offset, w.bytes.data(), w.bytes.size());
        touched[w.file] = true;
    }
    for (std::size_t i = 0; i < files.size() && applied; ++i)
        applied = !touched[i] || files[i]->sync();
    if (!applied) {
        // Undone here when possible; otherwise the journal stays and whoever
        // opens the set next undoes it.
        if (rollBack(image, files))
            emptyJournal(journal);
        return failure();
    }
    if (!clearMark(journal)) {
        rollBack(image, files);
        return journal.failure();
    }
    // Emptied: from here on every register sees the change, so it is reported
    // as made even when this flush fails.
    if (journal.sync() && journal.size() > kKeptJournalBytes)
        journal.truncate(0);
    return FileCause::None;
}
