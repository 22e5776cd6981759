// Starts the built register in an empty folder, as a store would on its first
// run, and checks the files it leaves there.
#include "ByteCodec.h"
#include "CLocalFile.h"
#include "SalesFileHeader.h"
#include "TempDir.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <gtest/gtest.h>

#include <chrono>

namespace {

// Waits until the file exists with the size, or the time is up.
bool waitForFile(const std::string& path, long long size, std::chrono::seconds limit)
{
    const auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        if (fileSize(path) == size)
            return true;
        QThread::msleep(50);
    }
    return false;
}

}  // namespace

TEST(RegisterSmoke, FirstRunInAnEmptyFolderCreatesTheLocalRecordAndTheFileSet)
{
    TempDir dir;
    QProcess proc;
    proc.setWorkingDirectory(QString::fromStdString(dir.path()));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    proc.setProcessEnvironment(env);
    proc.start(REGISTER_EXE, {});
    ASSERT_TRUE(proc.waitForStarted(10000));

    const bool local = waitForFile(dir.file("LocalFileNames.plf"), 2584, std::chrono::seconds(20));
    const bool head = waitForFile(dir.file("Retail.pos"), 4916, std::chrono::seconds(20));
    const bool invoices = waitForFile(dir.file("Retail-Invs.pdb"), 4, std::chrono::seconds(20));
    // Still running: the sale screen is open and waiting for the cashier.
    EXPECT_EQ(proc.state(), QProcess::Running);
    proc.terminate();
    if (!proc.waitForFinished(5000)) {
        proc.kill();
        proc.waitForFinished(5000);
    }
    ASSERT_TRUE(local);
    ASSERT_TRUE(head);
    EXPECT_TRUE(invoices);

    const auto plf = readBytes(dir.file("LocalFileNames.plf"));
    CLocalFile record(dir.path());
    record.decode(plf.data());
    EXPECT_EQ(record.version, 4u);
    EXPECT_EQ(record.paths[CLocalFile::kSelfSlot], dir.file("LocalFileNames.plf"));
    EXPECT_EQ(record.GetPath("Head"), dir.file("Retail.pos"));
    for (std::size_t slot = 0; slot <= CLocalFile::kSalesPeopleSlot; ++slot)
        EXPECT_EQ(record.paths[slot].rfind(dir.path(), 0), 0u) << record.paths[slot];
    const auto pos = readBytes(dir.file("Retail.pos"));
    EXPECT_FLOAT_EQ(codec::getF32(pos.data(), 0), 4.6f);
    EXPECT_EQ(codec::getU32(readBytes(dir.file("Retail-Invs.pdb")).data(), 0), 0u);
}
