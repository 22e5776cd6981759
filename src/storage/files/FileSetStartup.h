#pragma once
// Start-up checks of the local record and the sales header, and the checks
// made before switching the register to another file set. Each shows its own
// message through the user prompt and returns whether the caller may go on.

#include <string>

class CLocalFile;
struct SalesFileHeader;

// Start-up step 1: a LocalFileNames.plf of another version, or a damaged one,
// ends the program without anything being written. A missing file passes.
bool CheckLocalFileVersion(const CLocalFile& local);
// Start-up step 3: a header file of another version, or one too short to hold
// a header, ends the program. A file that cannot be opened passes.
bool CheckHeaderVersion(const CLocalFile& local);
// Start-up step 4: opens or creates the header; on failure falls back to the
// default file set in the working folder and tries once more. A data folder on
// a share that cannot keep registers on other PCs apart is named (ShareCheck.h).
bool OpenHeaderWithFallback(CLocalFile& local, SalesFileHeader& header);

struct FileSetName {
    std::string folder;    // with its trailing separator
    std::string baseName;  // file name without its extension
};
// Splits a chosen ".pos" path into folder and base name.
FileSetName SplitFileSetPath(const std::string& path);

// Checks a file set chosen with "Connect..." (mustBeNew false) or "New..."
// (mustBeNew true): the paths must fit their slots, an existing header must be
// sound and of this version, and "New..." must not find one at all.
bool CheckFileSetChoice(const std::string& chosenPath, bool mustBeNew, FileSetName& name);

// Switches to the chosen set: records it, then opens its header or creates it
// with the default settings. On failure shows "Register Error" and falls back
// to the default file set in the working folder. Returns false when even that
// fails. Names an unsafe share as start-up does.
bool SwitchFileSet(CLocalFile& local, SalesFileHeader& header, const FileSetName& name);
