#pragma once
// Whether the file system under the data folder can keep registers on other
// PCs apart. Registers exclude each other only by byte-range locks on the data
// files; some network file systems, or mount options, grant those locks on each
// PC alone, and then two PCs change the same file at once and sales are lost.
//
// Unsafe: FUSE file systems (sshfs, smbnetfs: every lock is granted locally),
// CIFS mounted with nobrl, NFS mounted with nolock or local_lock=posix/all.
// Risky: CIFS with leases on (without nolease): safe for one register on each
// PC, but two on one PC can have each other's changes refused.

#include <string>

struct ShareVerdict {
    bool unsafe = false;
    bool risky = false;      // safe only with one register on each PC
    std::string fsType;      // as the mount table names it ("cifs", "nfs4", "fuse.sshfs")
    std::string mountPoint;  // where that file system is mounted
    std::string reason;      // why it is unsafe or risky, empty when safe
    std::string advice;      // how to mount it instead
};

// Judges the folder from a mount table in /proc/self/mountinfo's format: the
// entry with the longest mount point that holds the folder (the latest one of
// equal length) decides. fsMagic is statfs's f_type of the folder, used when
// no entry matches (0 when unknown).
ShareVerdict JudgeShare(const std::string& realFolder, const std::string& mountInfo, long long fsMagic);

// Judges a data folder on this machine: its real path, statfs and the mount
// table (/proc/self/mountinfo).
ShareVerdict CheckShare(const std::string& folder);
// Reads the mount table from another file (tests); empty restores the real one.
void SetMountTablePath(const std::string& path);

// The warning shown for an unsafe share; a single register may go on working.
std::string ShareWarningText(const std::string& folder, const ShareVerdict& verdict);

// The warning shown for a risky share.
std::string ShareRiskText(const std::string& folder, const ShareVerdict& verdict);

// Checks the folder and, when it is unsafe or risky, shows the warning through
// the user prompt. Returns the verdict.
ShareVerdict WarnIfUnsafeShare(const std::string& folder);
