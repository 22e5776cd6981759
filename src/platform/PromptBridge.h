#pragma once
// Routes the storage layer's messages and waiting questions to message boxes.

#include "storage/io/UserPrompt.h"

class QWidget;

class PromptBridge final : public UserPrompt {
public:
    explicit PromptBridge(QWidget* parent = nullptr) : parent_(parent) {}
    void showMessage(const std::string& text) override;
    bool keepWaiting(const std::string& text) override;
    void setParent(QWidget* parent) { parent_ = parent; }

private:
    QWidget* parent_;
};
