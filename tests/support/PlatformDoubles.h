#pragma once
// Test doubles of the platform layer. Each installs itself on construction and
// restores the real service when it goes out of scope.

#include "platform/Clock.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

// Records every message box and answers from a script. A box that no answer
// was scripted for fails the test (an OK-only box is answered OK when
// allowUnscriptedOk is set); answers left over at the end fail it too.
class MessageBoxDouble final : public MessageBox::Backend {
public:
    MessageBoxDouble();
    ~MessageBoxDouble() override;

    void answer(MessageBox::Answer a) { script_.push_back(a); }
    void allowUnscriptedOk(bool allow = true) { allowOk_ = allow; }
    // Called with each box's text before it is answered (another register
    // letting go of a file while the question is open).
    void onShow(std::function<void(const std::string&)> act) { onShow_ = std::move(act); }

    const std::vector<std::string>& texts() const { return texts_; }
    const std::vector<MessageBox::Buttons>& buttons() const { return buttons_; }
    // True when some recorded text contains the fragment.
    bool saw(const std::string& fragment) const;
    void clear() { texts_.clear(); buttons_.clear(); }

    MessageBox::Answer show(QWidget* parent, const QString& text, const QString& caption,
                            MessageBox::Buttons buttons) override;

private:
    std::deque<MessageBox::Answer> script_;
    std::vector<std::string> texts_;
    std::vector<MessageBox::Buttons> buttons_;
    bool allowOk_ = false;
    std::function<void(const std::string&)> onShow_;
};

// Returns scripted paths; an empty one stands for Cancel. A dialog nobody
// scripted fails the test.
class FileDialogDouble final : public FileDialog::Backend {
public:
    FileDialogDouble();
    ~FileDialogDouble() override;

    void setNextFileName(const std::string& path) { script_.push_back(path); }
    const std::vector<FileDialog::Request>& requests() const { return requests_; }

    std::string choose(QWidget* parent, const FileDialog::Request& request) override;

private:
    std::deque<std::string> script_;
    std::vector<FileDialog::Request> requests_;
};

// A clock that stands still at the time set.
class ClockDouble final : public Clock::Backend {
public:
    explicit ClockDouble(int year = 2026, int month = 12, int day = 6, int hour = 12, int minute = 0, int second = 0);
    ~ClockDouble() override;

    void set(int year, int month, int day, int hour = 12, int minute = 0, int second = 0);
    CalendarTime now() override { return now_; }

private:
    CalendarTime now_;
};
