#pragma once
// What the POSIX file interface asks of the fault seam (FaultSeam.cpp) at each
// counted operation.

#include "storage/io/DataFile.h"

#include <string>

namespace FaultSeam {
// True when this operation must fail (or the process ends here).
bool hit();
// The errno a failed operation leaves.
int failedErrno();
// Whether unflushed writes are recorded for a power cut.
bool tracking();
void remember(int fd, const std::string& path, long long offset, long long length, bool truncation = false);
void flushed(int fd);
// Waits while the test holds this kind of call; the errno it is to fail with, or 0.
int held(FileFaults::Call call);
}  // namespace FaultSeam
