// The one clock of the program. Every date and time the system reads ("now") comes
// from here, so tests can put the PC clock anywhere. No Qt: the pure modules use it.
#pragma once

namespace rt {

// A local calendar time of the PC (no time zone, no daylight-saving handling).
struct LocalTime {
    int year = 2000;   // e.g. 2026
    int month = 1;     // 1..12
    int day = 1;       // 1..31
    int hour = 0;      // 0..23
    int minute = 0;    // 0..59
    int second = 0;    // 0..59
};

// The PC's local time now: the system clock, or the time a test has set.
LocalTime Now();

// The PC's offset from UTC now, in minutes east of Greenwich (60 for Central European Time,
// -300 for US Eastern Standard Time), as the time zone of the system says.
int UtcOffsetMinutes();

// Freeze the clock at t (tests, demos). Delay() advances a frozen clock instead of sleeping.
void SetClock(const LocalTime &t);
// Let the clock follow the system clock again.
void ClearClock();
// True while the clock is frozen by SetClock.
bool ClockIsSet();
// Advance a frozen clock by whole seconds (no effect on the system clock).
void AdvanceClock(int seconds);

}   // namespace rt
