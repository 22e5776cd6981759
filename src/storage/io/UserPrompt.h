#pragma once
// How the storage layer reaches the user without knowing about windows: the
// application installs an implementation over its message boxes; without one,
// messages go to standard error and waits for other registers go on.

#include <string>

class UserPrompt {
public:
    virtual ~UserPrompt() = default;
    // A message with OK only.
    virtual void showMessage(const std::string& text) = 0;
    // Another register has held a file for a long time: true to keep waiting,
    // false to give up the operation.
    virtual bool keepWaiting(const std::string& text) = 0;
};

// Installs the prompt used by storage operations (nullptr restores the default).
void setUserPrompt(UserPrompt* prompt);
UserPrompt& userPrompt();
