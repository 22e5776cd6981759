// The built register's first run in an empty folder, and the files it leaves.
#include "storage/files/CLocalFile.h"
#include "storage/records/ByteCodec.h"
#include "support/FolderEvents.h"
#include "support/TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <map>

namespace {
// Only a hung register or a file never written reaches it: the verdict comes
// from what the register did.
constexpr int kHangMs = 120000;
}  // namespace

TEST(RegisterSmoke, FirstRunInAnEmptyFolderCreatesTheLocalRecordAndTheFileSet)
{
    TempDir dir;
    QProcess proc;
    proc.setWorkingDirectory(QString::fromStdString(dir.path()));  // QT_QPA_PLATFORM is inherited: offscreen
    proc.start(REGISTER_EXE, {});
    ASSERT_TRUE(proc.waitForStarted(kHangMs)) << proc.errorString().toStdString();

    const std::map<std::string, long long> sizes{
        {"LocalFileNames.plf", 2584}, {"Retail.pos", 4916}, {"Retail-Invs.pdb", 4}};
    auto allWritten = [&] {
        for (const auto& [name, size] : sizes)
            if (fileSize(dir.file(name)) != size)
                return false;
        return true;
    };
    // Until every file is whole, or the register ends on its own.
    const bool created = waitInFolder(dir.path(), allWritten, kHangMs, &proc);
    const bool ranOn = proc.state() == QProcess::Running;
    // The sale screen waits for the cashier: only the kill ends the register.
    proc.kill();
    ASSERT_TRUE(proc.waitForFinished(kHangMs));
    EXPECT_TRUE(ranOn) << "the register ended by itself, exit code " << proc.exitCode();
    EXPECT_EQ(proc.exitStatus(), QProcess::CrashExit) << "exit code " << proc.exitCode();
    ASSERT_TRUE(created);

    CLocalFile record(dir.path());
    record.decode(readBytes(dir.file("LocalFileNames.plf")).data());
    EXPECT_EQ(record.GetPath("Head"), dir.file("Retail.pos"));
    for (std::size_t slot = 0; slot <= CLocalFile::kSalesPeopleSlot; ++slot)
        EXPECT_EQ(record.paths[slot].rfind(dir.path(), 0), 0u) << record.paths[slot];
    EXPECT_FLOAT_EQ(codec::getF32(readBytes(dir.file("Retail.pos")).data(), 0), 4.6f);
}
