#pragma once
// The print dialog double: answers from a script (OK on a named queue, or
// Cancel) and records the printer each dialog opened on. A dialog nobody
// scripted fails the test.

#include "platform/PrintFrame.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

class PrintDialogDouble final : public PrintDialog::Backend {
public:
    PrintDialogDouble() { PrintDialog::setBackend(this); }
    ~PrintDialogDouble() override
    {
        PrintDialog::setBackend(nullptr);
        EXPECT_TRUE(script_.empty()) << script_.size() << " scripted print dialogs never opened";
    }

    void chooseQueue(const std::string& queue) { script_.push_back(queue); }
    void cancel() { script_.push_back(std::nullopt); }
    // OK with a PDF file chosen as the printer.
    void intoPdf(const std::string& path) { script_.push_back(kPdf + path); }
    const std::vector<std::string>& openedOn() const { return openedOn_; }

    bool choose(QWidget*, PrintChoice& choice) override
    {
        openedOn_.push_back(choice.queue);
        if (script_.empty()) {
            ADD_FAILURE() << "unexpected print dialog";
            return false;
        }
        const std::optional<std::string> answer = script_.front();
        script_.pop_front();
        if (!answer)
            return false;
        if (answer->rfind(kPdf, 0) == 0)
            choice.pdfFile = answer->substr(kPdf.size());
        else
            choice.queue = *answer;
        return true;
    }

private:
    inline static const std::string kPdf = "pdf:";
    std::deque<std::optional<std::string>> script_;
    std::vector<std::string> openedOn_;
};
