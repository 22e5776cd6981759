#include "platform/PromptBridge.h"

#include "platform/MessageBox.h"

void PromptBridge::showMessage(const std::string& text) { MessageBox::information(parent_, text); }
bool PromptBridge::keepWaiting(const std::string& text) { return MessageBox::askYesNo(parent_, text); }
