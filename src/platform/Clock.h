#pragma once
// The local date and time. Sale dating, log-in times and period reports read
// the clock through here so tests can set the time.

#include "storage/records/OleDate.h"

class Clock {
public:
    class Backend {
    public:
        virtual ~Backend() = default;
        virtual CalendarTime now() = 0;
    };

    static CalendarTime now();
    static OleDate nowOle() { return OleDate::fromCalendar(now()); }
    static void setBackend(Backend* backend);  // nullptr restores the system clock
};
