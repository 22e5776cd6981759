#pragma once
// The print dialog double: answers from a script (OK on a named queue or a
// PDF file, or Cancel) and records the queue each dialog opened on. A dialog
// nobody scripted, or a scripted one that never opened, fails the test.

#include "platform/PrintFrame.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class PrintDialogDouble final : public PrintDialog::Backend {
public:
    PrintDialogDouble() { PrintDialog::setBackend(this); }
    ~PrintDialogDouble() override
    {
        PrintDialog::setBackend(nullptr);
        EXPECT_TRUE(script_.empty()) << script_.size() << " scripted print dialogs never opened";
    }
    void chooseQueue(const std::string& queue) { script_.push_back(std::pair{queue, std::string()}); }
    void intoPdf(const std::string& path) { script_.push_back(std::pair{std::string(), path}); }
    void cancel() { script_.push_back(std::nullopt); }
    const std::vector<std::string>& openedOn() const { return openedOn_; }

    bool choose(QWidget*, PrintChoice& choice) override
    {
        openedOn_.push_back(choice.queue);
        if (script_.empty()) {
            ADD_FAILURE() << "unexpected print dialog";
            return false;
        }
        const auto answer = script_.front();  // the queue, or the PDF file
        script_.pop_front();
        if (answer && answer->second.empty())
            choice.queue = answer->first;
        else if (answer)
            choice.pdfFile = answer->second;
        return answer.has_value();
    }

private:
    std::deque<std::optional<std::pair<std::string, std::string>>> script_;
    std::vector<std::string> openedOn_;
};
