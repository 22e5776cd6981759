#pragma once
// Waiting for a data file that another register holds: the open waits in turn
// (DataFile::openInTurn); after the wait bound the user is asked whether to keep
// waiting, and "No" gives FileCause::LockGivenUp, changing nothing.

#include "storage/io/DataFile.h"

#include <string>

namespace FileWait {
// Opens and locks under the sharing rule, waiting in turn and asking.
int OpenLocked(DataFile& file, const std::string& path, OpenMode mode);
// Asks the user whether to keep waiting for a file another register has held
// for `waitedSeconds`; false: give up, changing nothing. Under a window's
// StepWatch (on the step's thread) the window asks instead: true until the
// cashier gives up.
bool KeepWaitingFor(const std::string& path, long long waitedSeconds);
// How long an open waits before asking (milliseconds).
void setWaitBeforeAsking(int ms);
int waitBeforeAsking();
}  // namespace FileWait
