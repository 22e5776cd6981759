#pragma once
// Waiting for another process's files by the folder's change events.

#include <QDir>
#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QProcess>
#include <QTimer>

#include <functional>
#include <string>

// Runs the event loop until `done` holds, checking it again whenever the folder
// or a file in it changes, or until `process` (when given) has ended; the limit
// only keeps a lost file from hanging the run.
inline bool waitInFolder(const std::string& folder, const std::function<bool()>& done, int limitMs,
                         QProcess* process = nullptr)
{
    const QString path = QString::fromStdString(folder);
    QFileSystemWatcher watcher({path});
    QEventLoop loop;
    auto check = [&] {
        for (const QString& name : QDir(path).entryList(QDir::Files))
            watcher.addPath(path + "/" + name);  // a file's own writes are its events
        return done();
    };
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, [&] { if (check()) loop.quit(); });
    QObject::connect(&watcher, &QFileSystemWatcher::fileChanged, &loop, [&] { if (check()) loop.quit(); });
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    if (process)
        QObject::connect(process, &QProcess::finished, &loop, &QEventLoop::quit);
    if (!check() && !(process && process->state() == QProcess::NotRunning))
        loop.exec();
    return done();
}
