// The built register's first run in an empty folder, and the files it leaves.
#include "ByteCodec.h"
#include "CLocalFile.h"
#include "TempDir.h"

#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>
#include <gtest/gtest.h>

#include <map>

namespace {

// Waits on the folder's change events until every file has its size; the
// limit only keeps a broken start from hanging the run.
bool waitForFiles(const TempDir& dir, const std::map<std::string, long long>& sizes, int limitMs)
{
    QFileSystemWatcher watcher({QString::fromStdString(dir.path())});
    QEventLoop loop;
    auto done = [&] {
        for (const auto& [name, size] : sizes) {
            if (fileExists(dir.file(name)))
                watcher.addPath(QString::fromStdString(dir.file(name)));
            if (fileSize(dir.file(name)) != size)
                return false;
        }
        return true;
    };
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, [&] { if (done()) loop.quit(); });
    QObject::connect(&watcher, &QFileSystemWatcher::fileChanged, &loop, [&] { if (done()) loop.quit(); });
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    return done();
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

    const bool created =
        waitForFiles(dir, {{"LocalFileNames.plf", 2584}, {"Retail.pos", 4916}, {"Retail-Invs.pdb", 4}}, 20000);
    // Still running: the sale screen is open and waiting for the cashier.
    EXPECT_EQ(proc.state(), QProcess::Running);
    proc.terminate();
    if (!proc.waitForFinished(5000)) {
        proc.kill();
        proc.waitForFinished(5000);
    }
    ASSERT_TRUE(created);

    CLocalFile record(dir.path());
    record.decode(readBytes(dir.file("LocalFileNames.plf")).data());
    EXPECT_EQ(record.GetPath("Head"), dir.file("Retail.pos"));
    for (std::size_t slot = 0; slot <= CLocalFile::kSalesPeopleSlot; ++slot)
        EXPECT_EQ(record.paths[slot].rfind(dir.path(), 0), 0u) << record.paths[slot];
    EXPECT_FLOAT_EQ(codec::getF32(readBytes(dir.file("Retail.pos")).data(), 0), 4.6f);
}
