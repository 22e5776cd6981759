#pragma once
// Another register holding a file open for writing until told to let go; when
// given a mark, it writes it over the first bytes just before it lets go.

#include "storage/io/DataFile.h"

#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

class FileHolder {
public:
    explicit FileHolder(const std::string& path, const char* mark = nullptr)
    {
        int ready[2], release[2];
        if (pipe(ready) != 0 || pipe(release) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(release[1]);
            DataFile f;
            char c = f.tryOpen(path, OpenMode::ReadWrite) == FileCause::None ? 1 : 0;
            if (write(ready[1], &c, 1) != 1 || c == 0 || read(release[0], &c, 1) != 0)  // until the parent closes
                _exit(2);
            _exit(!mark || (f.writeAt(0, mark, std::strlen(mark)) && f.sync()) ? 0 : 3);
        }
        close(ready[1]);
        close(release[0]);
        char c = 0;
        if (read(ready[0], &c, 1) != 1 || c != 1)
            pid_ = -1;
        close(ready[0]);
        release_ = release[1];
    }
    ~FileHolder() { letGo(); }
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;
    bool holding() const { return pid_ > 0; }
    // Lets go of the file and returns the holder's exit code.
    int letGo()
    {
        if (release_ >= 0)
            close(std::exchange(release_, -1));
        if (pid_ <= 0)
            return -1;
        int status = 0;
        waitpid(std::exchange(pid_, -1), &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int release_ = -1;
};
