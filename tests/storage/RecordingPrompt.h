#pragma once
// Records the storage layer's messages and answers its waiting questions.

#include "storage/files/CLocalFile.h"
#include "storage/io/FileWait.h"
#include "storage/io/UserPrompt.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class RecordingPrompt final : public UserPrompt {
public:
    RecordingPrompt() { setUserPrompt(this); }
    ~RecordingPrompt() override { setUserPrompt(nullptr); }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    bool keepWaiting(const std::string& text) override
    {
        waits.push_back(text);
        return !onWait || onWait();
    }
    bool saw(const std::string& fragment) const
    {
        for (const auto& m : messages)
            if (m.find(fragment) != std::string::npos)
                return true;
        return false;
    }
    // The messages shown since the last take.
    std::vector<std::string> take() { return std::exchange(messages, {}); }

    std::vector<std::string> messages;
    std::vector<std::string> waits;
    std::function<bool()> onWait;  // when set, answers; else the wait goes on
};

// Sets how long a wait goes on before the user is asked, for one test; the
// bound before it comes back when it ends, a failed assertion included.
struct WaitBeforeAsking {
    const int before = FileWait::waitBeforeAsking();
    explicit WaitBeforeAsking(int ms) { FileWait::setWaitBeforeAsking(ms); }
    ~WaitBeforeAsking() { FileWait::setWaitBeforeAsking(before); }
};
