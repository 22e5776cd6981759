#include "storage/io/UserPrompt.h"

#include <cstdio>

namespace {
class StderrPrompt final : public UserPrompt {
public:
    void showMessage(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    bool keepWaiting(const std::string&) override { return true; }
};

StderrPrompt fallback;
UserPrompt* installed = nullptr;
}  // namespace

void setUserPrompt(UserPrompt* prompt) { installed = prompt; }
UserPrompt& userPrompt() { return installed ? *installed : fallback; }
