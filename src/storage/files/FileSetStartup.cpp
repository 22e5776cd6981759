#include "storage/files/FileSetStartup.h"

#include "storage/files/CLocalFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/io/ShareCheck.h"
#include "storage/io/UserPrompt.h"
#include "storage/records/ByteCodec.h"
#include "storage/records/TextFormat.h"

namespace {
const char* const kTranslatorLine =
    "Please contact the maker of this program for a file translator.\n\n"
    "Or, move this new version to a new folder.\n\n";

// Names a data folder on a share that cannot keep registers on other PCs
// apart; the register goes on either way.
void warnAboutShare(const CLocalFile& local)
{
    const std::string head = local.GetPath("Head");
    const auto slash = head.rfind('/');
    WarnIfUnsafeShare(slash == std::string::npos ? std::string(".") : head.substr(0, slash + 1));
}

std::string damagedHeaderText(const std::string& path, long long bytes)
{
    return strprintf("The sales header file is damaged: only %lld of its %zu bytes could be read.\n\n%s\n\n"
                     "Nothing has been changed. Restore the file from a backup, or move it away so that "
                     "a new one can be made.",
                     bytes, SalesFileHeader::kSize, path.c_str());
}
}  // namespace

bool CheckLocalFileVersion(const CLocalFile& local)
{
    DataFile file;
    const std::string path = local.localFilePath();
    const int cause = CLocalFile::OpenFile(file, path, OpenMode::Read);
    if (cause == FileCause::NotFound)
        return true;
    if (cause != FileCause::None) {
        userPrompt().showMessage(strprintf("Unable to read file: LocalFileNames.plf\n\n%s\n\nError: %.40s",
                                           path.c_str(), file.lastErrorText().c_str()));
        return false;
    }
    std::uint8_t buf[CLocalFile::kRecordSize];
    const long long got = file.readAt(0, buf, sizeof buf);
    if (got != static_cast<long long>(sizeof buf)) {
        userPrompt().showMessage(strprintf(
            "LocalFileNames.plf is damaged: %lld of its %zu bytes could be read.\n\n%s\n\n"
            "The file has been left as it is. Restore it from a backup, or move it away "
            "to start this register with new settings.",
            got < 0 ? 0LL : got, CLocalFile::kRecordSize, path.c_str()));
        return false;
    }
    const std::uint32_t version = codec::getU32(buf, 0);
    if (version != CLocalFile::kVersion) {
        userPrompt().showMessage(strprintf("LocalFileNames.plf file version incompatable.\n\nOld version: %u\nNew version: %u\n\n",
                                           version, CLocalFile::kVersion) + kTranslatorLine);
        return false;
    }
    return true;
}

bool CheckHeaderVersion(const CLocalFile& local)
{
    float version = 0;
    long long bytes = 0;
    const std::string path = local.GetPath("Head");
    switch (ProbeHeader(path, version, bytes)) {
    case HeaderProbe::WrongVersion:
        userPrompt().showMessage(strprintf("File version incompatable.\n\nOld version: %5.2f\nNew version: %5.2f\n\n",
                                           static_cast<double>(version), static_cast<double>(SalesFileHeader::kVersion)) +
                                 kTranslatorLine);
        return false;
    case HeaderProbe::Short:
        userPrompt().showMessage(damagedHeaderText(path, bytes));
        return false;
    default:
        return true;
    }
}

bool OpenHeaderWithFallback(CLocalFile& local, SalesFileHeader& header)
{
    if (OpenOrCreateHeader(local, header) != 0) {
        local.resetToDefaults();
        if (OpenOrCreateHeader(local, header) != 0)
            return false;
    }
    warnAboutShare(local);
    return true;
}

FileSetName SplitFileSetPath(const std::string& path)
{
    FileSetName name;
    const auto slash = path.rfind('/');
    name.folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    if (const auto dot = file.rfind('.'); dot != std::string::npos)
        file.resize(dot);
    name.baseName = file;
    return name;
}

bool CheckFileSetChoice(const std::string& chosenPath, bool mustBeNew, FileSetName& name)
{
    name = SplitFileSetPath(chosenPath);
    if (name.baseName.empty()) {
        userPrompt().showMessage(strprintf("\"%s\" does not name a file set.\n\nPlease type a name for the file set.",
                                           chosenPath.c_str()));
        return false;
    }
    if (!CLocalFile::FileSetFits(name.folder, name.baseName)) {
        userPrompt().showMessage(strprintf(
            "The path is too long for this register:\n\n%s%s\n\nA file set's folder and name together may have at "
            "most %zu characters. Please choose a shorter folder or name.\n\nThe current file set stays in use.",
            name.folder.c_str(), name.baseName.c_str(), CLocalFile::kMaxPathLength - CLocalFile::longestSuffix()));
        return false;
    }
    const std::string head = name.folder + name.baseName + ".pos";
    float version = 0;
    long long bytes = 0;
    const HeaderProbe probe = ProbeHeader(head, version, bytes);
    if (mustBeNew && probe != HeaderProbe::Missing) {
        userPrompt().showMessage(strprintf("A file set named \"%s\" already exists:\n\n%s\n\nIt has not been changed. "
                                           "Choose another name, or use File, Connect... to open it.",
                                           name.baseName.c_str(), head.c_str()));
        return false;
    }
    switch (probe) {
    case HeaderProbe::WrongVersion:
        userPrompt().showMessage(strprintf("File version incompatable.\n\nOld version: %5.2f\nNew version: %5.2f\n\n",
                                           static_cast<double>(version), static_cast<double>(SalesFileHeader::kVersion)) +
                                 "The current file set stays in use.");
        return false;
    case HeaderProbe::Short:
        userPrompt().showMessage(damagedHeaderText(head, bytes) + "\n\nThe current file set stays in use.");
        return false;
    case HeaderProbe::Unreadable:
        userPrompt().showMessage(strprintf("Unable to open file:\n\n%s\n\nThe current file set stays in use.", head.c_str()));
        return false;
    default:
        return true;
    }
}

bool SwitchFileSet(CLocalFile& local, SalesFileHeader& header, const FileSetName& name)
{
    local.SetFileSet(name.folder, name.baseName);
    // A set that has no header yet starts with the default settings, not with
    // a copy of the store's settings in use so far.
    float version = 0;
    long long bytes = 0;
    if (ProbeHeader(local.GetPath("Head"), version, bytes) == HeaderProbe::Missing)
        header = SalesFileHeader{};
    if (OpenOrCreateHeader(local, header) != 0) {
        userPrompt().showMessage("Register Error");
        local.resetToDefaults();
        if (OpenOrCreateHeader(local, header) != 0)
            return false;
    }
    warnAboutShare(local);
    return true;
}
