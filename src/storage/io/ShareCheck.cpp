#include "storage/io/ShareCheck.h"

#include "storage/io/UserPrompt.h"
#include "storage/records/TextFormat.h"

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/statfs.h>
#include <vector>

namespace {
constexpr long long kFuseMagic = 0x65735546;
constexpr const char* kMountTable = "/proc/self/mountinfo";
std::string mountTablePath = kMountTable;

struct MountEntry {
    std::string mountPoint;
    std::string fsType;
    std::vector<std::string> options;  // per-mount and per-superblock options together
};

// Mount table fields escape space, tab, newline and backslash as \ooo.
std::string unescape(const std::string& s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size()) {
            const std::string oct = s.substr(i + 1, 3);
            if (oct.find_first_not_of("01234567") == std::string::npos) {
                out += static_cast<char>(std::stoi(oct, nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

void splitOptions(const std::string& list, std::vector<std::string>& into)
{
    std::stringstream in(list);
    std::string option;
    while (std::getline(in, option, ','))
        if (!option.empty())
            into.push_back(option);
}

// One line: id parent major:minor root mountpoint options [optional...] - type source superoptions
bool parseLine(const std::string& line, MountEntry& entry)
{
    std::istringstream in(line);
    std::vector<std::string> fields;
    std::string field;
    while (in >> field)
        fields.push_back(field);
    std::size_t dash = 6;
    while (dash < fields.size() && fields[dash] != "-")
        ++dash;
    if (fields.size() < 6 || dash + 1 >= fields.size())
        return false;
    entry.mountPoint = unescape(fields[4]);
    entry.fsType = fields[dash + 1];
    entry.options.clear();
    splitOptions(fields[5], entry.options);
    if (dash + 3 < fields.size())
        splitOptions(fields[dash + 3], entry.options);
    return true;
}

bool holds(const std::string& mountPoint, const std::string& folder)
{
    if (mountPoint == "/")
        return true;
    return folder.compare(0, mountPoint.size(), mountPoint) == 0 &&
           (folder.size() == mountPoint.size() || folder[mountPoint.size()] == '/');
}

bool has(const std::vector<std::string>& options, const std::string& wanted)
{
    for (const auto& o : options)
        if (o == wanted)
            return true;
    return false;
}

void judgeEntry(const MountEntry& m, ShareVerdict& v)
{
    const std::string& t = m.fsType;
    if (t == "fuse" || t == "fuseblk" || t.rfind("fuse.", 0) == 0) {
        v.reason = "it is a FUSE file system, which grants every file lock on each PC by itself";
        v.advice = "Mount the share with the kernel's own client instead: SMB (cifs) or NFS version 4.";
    } else if ((t == "cifs" || t == "smb3") && has(m.options, "nobrl")) {
        v.reason = "it is an SMB share mounted with the option nobrl, which keeps file locks on each PC";
        v.advice = "Mount it without nobrl (the option nolease is safe, and safer with several registers on one PC).";
    } else if (t.rfind("nfs", 0) == 0 &&
               (has(m.options, "nolock") || has(m.options, "local_lock=posix") || has(m.options, "local_lock=all"))) {
        v.reason = "it is an NFS share mounted with nolock or local_lock, which keeps file locks on each PC";
        v.advice = "Mount it without nolock and with local_lock=none (the default), preferably as NFS version 4.1.";
    }
    v.unsafe = !v.reason.empty();
    if (!v.unsafe && (t == "cifs" || t == "smb3") && !has(m.options, "nolease")) {
        // Under a lease, opening a file another PC holds waits inside the
        // kernel until the server has taken the lease back: the register shows
        // that it waits, but cannot ask whether to keep waiting.
        v.risky = true;
        v.reason = "it is an SMB share mounted with leases (without the option nolease)";
        v.advice = "Mount the share with the option nolease, for example:\n\n"
                   "mount -t cifs //server/shop /srv/shop -o vers=3.1.1,nolease";
    }
}
}  // namespace

ShareVerdict JudgeShare(const std::string& realFolder, const std::string& mountInfo, long long fsMagic)
{
    ShareVerdict verdict;
    std::istringstream lines(mountInfo);
    std::string line;
    MountEntry entry, best;
    bool found = false;
    while (std::getline(lines, line)) {
        if (!parseLine(line, entry) || !holds(entry.mountPoint, realFolder))
            continue;
        if (!found || entry.mountPoint.size() >= best.mountPoint.size()) {
            best = entry;
            found = true;
        }
    }
    if (found) {
        verdict.fsType = best.fsType;
        verdict.mountPoint = best.mountPoint;
        judgeEntry(best, verdict);
    } else if (fsMagic == kFuseMagic) {
        verdict.fsType = "fuse";
        judgeEntry(MountEntry{"", "fuse", {}}, verdict);
    }
    return verdict;
}

void SetMountTablePath(const std::string& path)
{
    mountTablePath = path.empty() ? kMountTable : path;
}

ShareVerdict CheckShare(const std::string& folder)
{
    char real[PATH_MAX];
    const std::string path = realpath(folder.empty() ? "." : folder.c_str(), real) ? std::string(real) : folder;
    struct statfs fs {};
    const long long magic = statfs(path.c_str(), &fs) == 0 ? static_cast<long long>(fs.f_type) : 0;
    std::ifstream in(mountTablePath);
    std::stringstream table;
    table << in.rdbuf();
    return JudgeShare(path, table.str(), magic);
}

std::string ShareWarningText(const std::string& folder, const ShareVerdict& verdict)
{
    return strprintf("The data folder\n\n%s\n\ncannot keep registers on different PCs apart: %s.\n\n"
                     "Registers on other PCs that use this folder at the same time can overwrite each other's "
                     "sales, payments and stock changes, and sales can be lost.\n\n%s\n\n"
                     "A single register using the folder alone may go on working.",
                     folder.c_str(), verdict.reason.c_str(), verdict.advice.c_str());
}

std::string ShareRiskText(const std::string& folder, const ShareVerdict& verdict)
{
    return strprintf("The data folder\n\n%s\n\nis safe, but slow at times: %s.\n\n"
                     "While the server takes a file back from another PC, a register can wait up to half a "
                     "minute for it without being able to ask whether to keep waiting.\n\n%s\n\n"
                     "Nothing is stored half: a change is stored whole or not at all.",
                     folder.c_str(), verdict.reason.c_str(), verdict.advice.c_str());
}

ShareVerdict WarnIfUnsafeShare(const std::string& folder)
{
    const ShareVerdict verdict = CheckShare(folder);
    if (verdict.unsafe)
        userPrompt().showMessage(ShareWarningText(folder, verdict));
    else if (verdict.risky)
        userPrompt().showMessage(ShareRiskText(folder, verdict));
    return verdict;
}
