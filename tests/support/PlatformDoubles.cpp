#include "PlatformDoubles.h"

#include <gtest/gtest.h>

#include <algorithm>

MessageBoxDouble::MessageBoxDouble() { MessageBox::setBackend(this); }

MessageBoxDouble::~MessageBoxDouble()
{
    MessageBox::setBackend(nullptr);
    EXPECT_TRUE(script_.empty()) << script_.size() << " scripted message-box answers were never used";
}

bool MessageBoxDouble::saw(const std::string& fragment) const
{
    return std::any_of(texts_.begin(), texts_.end(), [&](const std::string& t) { return t.find(fragment) != t.npos; });
}

MessageBox::Answer MessageBoxDouble::show(QWidget*, const QString& text, const QString&, MessageBox::Buttons buttons)
{
    texts_.push_back(text.toStdString());
    buttons_.push_back(buttons);
    if (onShow_)
        onShow_(texts_.back());
    if (script_.empty()) {
        if (allowOk_ && buttons == MessageBox::Buttons::Ok)
            return MessageBox::Answer::Ok;
        ADD_FAILURE() << "unexpected message box: " << text.toStdString();
        return buttons == MessageBox::Buttons::YesNo ? MessageBox::Answer::No
               : buttons == MessageBox::Buttons::OkCancel ? MessageBox::Answer::Cancel
                                                          : MessageBox::Answer::Ok;
    }
    const MessageBox::Answer a = script_.front();
    script_.pop_front();
    return a;
}

FileDialogDouble::FileDialogDouble() { FileDialog::setBackend(this); }

FileDialogDouble::~FileDialogDouble()
{
    FileDialog::setBackend(nullptr);
    EXPECT_TRUE(script_.empty()) << script_.size() << " scripted file names were never used";
}

std::string FileDialogDouble::choose(QWidget*, const FileDialog::Request& request)
{
    requests_.push_back(request);
    if (script_.empty()) {
        ADD_FAILURE() << "unexpected file dialog";
        return {};
    }
    std::string path = script_.front();
    script_.pop_front();
    return path;
}

ClockDouble::ClockDouble(int year, int month, int day, int hour, int minute, int second)
{
    set(year, month, day, hour, minute, second);
    Clock::setBackend(this);
}

ClockDouble::~ClockDouble() { Clock::setBackend(nullptr); }

void ClockDouble::set(int year, int month, int day, int hour, int minute, int second)
{
    OleDate::fromCalendar(year, month, day, hour, minute, second).toCalendar(now_);
}
