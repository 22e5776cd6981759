#pragma once
// The sale without a window on a fresh data folder at a standing time, with a
// prompt that records what it was told; and the same register in a child
// process, quiet, for the kill and power-cut tests.

#include "ProductFiles.h"
#include "TempDir.h"
#include "sale/SaleFinish.h"
#include "sale/SaleState.h"
#include "storage/files/CLocalFile.h"
#include "storage/files/InvoiceFile.h"
#include "storage/files/SalesFileHeader.h"
#include "storage/io/UserPrompt.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>
#include <vector>

inline const CalendarTime kDeskNow{2026, 12, 7, 9, 30, 0, 1, 340};

struct RecordingPrompt : FinishPrompt {
    std::vector<std::string> told, asked;
    bool answer = true;
    void tell(const std::string& text) override { told.push_back(text); }
    bool askYesNo(const std::string& text) override { return asked.push_back(text), answer; }
};

struct SaleDesk : ::testing::Test {
    TempDir dir;
    CLocalFile local{dir.path()};
    SalesFileHeader header;
    CalendarTime now = kDeskNow;
    SaleState state{local, header, [this] { return now; }};
    RecordingPrompt prompt;
    SaleFinish finish{state, prompt, [this] { return now; }};

    // Slot `slot` of the sale shown holds this line; the totals follow.
    void line(int slot, const std::string& item, float qty, float price = 10, float cost = 5, std::uint8_t mode = 0)
    {
        InvoiceRecord& s = state.current;
        std::tie(s.itemNumber[slot], s.qty[slot], s.price[slot], s.cost[slot], s.lineMode[slot]) =
            std::tuple{item, qty, price, cost, mode};
        state.Recalculate();
    }
    InvoiceRecord stored(int n)
    {
        InvoiceRecord r;
        EXPECT_TRUE(ReadInvoice(local, n, r)) << n;
        return r;
    }
};

// The same desk over products A and B, ten of each, with the new sale shown.
struct StockedSaleDesk : SaleDesk {
    void SetUp() override
    {
        writeProductFile(local.GetPath("Products"), {makeProduct("A", 10), makeProduct("B", 10)});
        state.Open();
    }
};

// A register in a child process: says nothing, answers yes, requires no entries.
struct QuietRegister : UserPrompt, FinishPrompt {
    CLocalFile local;
    SalesFileHeader header;
    SaleState state{local, header, [] { return kDeskNow; }};
    SaleFinish finish{state, *this, [] { return kDeskNow; }};

    explicit QuietRegister(const std::string& folder) : local(folder)
    {
        header.mustSelectCashier = header.mustSelectPayType = header.mustEnterCashPaid = 0;
        setUserPrompt(this);
    }
    ~QuietRegister() override { setUserPrompt(nullptr); }
    void showMessage(const std::string&) override {}
    bool keepWaiting(const std::string&) override { return true; }
    void tell(const std::string&) override {}
    bool askYesNo(const std::string&) override { return true; }
};

// Runs body(writeFd) in a child process that ends with _exit(7) if body
// returns; the parent gets the pid and the pipe's read end.
struct ChildProcess {
    pid_t pid = -1;
    int fd = -1;
    explicit ChildProcess(const std::function<void(int)>& body)
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        pid = fork();
        if (pid == 0) {
            close(fds[0]);
            body(fds[1]);
            _exit(7);
        }
        close(fds[1]);
        fd = fds[0];
    }
    // Waits for the child; its wait status.
    int wait()
    {
        int status = 0;
        EXPECT_EQ(waitpid(pid, &status, 0), pid);
        close(fd);
        return status;
    }
};
