// The clock's offset from UTC follows the system's time zone, in minutes east of Greenwich.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "base/clock.h"

namespace {

TEST(Clock, UtcOffsetFollowsTheTimeZone) {
    const char *before = std::getenv("TZ");
    const std::string saved = before ? before : "";
    struct Case {
        const char *zone;   // POSIX form: the offset is west of Greenwich
        int minutes;
    } cases[] = {{"UTC0", 0}, {"XXX-2", 120}, {"YYY+5", -300}, {"ZZZ-5:30", 330}, {"WWW+9:30", -570}};
    for (const Case &c : cases) {
        setenv("TZ", c.zone, 1);
        tzset();
        EXPECT_EQ(rt::UtcOffsetMinutes(), c.minutes) << c.zone;
    }
    if (before)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

}   // namespace
