#include "platform/Clock.h"

#include <QDateTime>

namespace {
class SystemClock final : public Clock::Backend {
public:
    CalendarTime now() override
    {
        const QDateTime t = QDateTime::currentDateTime();
        const OleDate d = OleDate::fromCalendar(t.date().year(), t.date().month(), t.date().day(), t.time().hour(),
                                                t.time().minute(), t.time().second());
        CalendarTime out;
        d.toCalendar(out);
        return out;
    }
};

SystemClock systemClock;
Clock::Backend* backend = &systemClock;
}  // namespace

CalendarTime Clock::now() { return backend->now(); }
void Clock::setBackend(Backend* b) { backend = b ? b : &systemClock; }
