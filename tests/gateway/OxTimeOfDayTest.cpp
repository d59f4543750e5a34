// The gateway's clock gives the milliseconds of the local day that the time zone gives, also
// across daylight saving changes and local midnight, though it asks the zone once a minute.

#include "OxTimeOfDay_p.h"

#include <QTime>
#include <gtest/gtest.h>
#include <cstdlib>
#include <string>

namespace {
using quillmark::detail::LocalDayClock;

// The slow way: the zone asked for the very instant.
int zoneMillisecondsOfDay(long long utcMs)
{
    const time_t t = time_t(utcMs / 1000);
    struct tm local = {};
    localtime_r(&t, &local);
    return ((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 1000 + int(utcMs % 1000);
}

// Sets TZ for the life of the object (POSIX rules, which need no zone files).
class ZoneScope
{
public:
    explicit ZoneScope(const char *zone)
    {
        if (const char *old = std::getenv("TZ")) {
            saved = old;
            hadZone = true;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneScope()
    {
        if (hadZone)
            setenv("TZ", saved.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::string saved;
    bool hadZone = false;
};

// One clock walked forward over [fromMs, toMs) in steps of stepMs, each instant checked.
void expectSameAsZone(long long fromMs, long long toMs, long long stepMs)
{
    LocalDayClock clock;
    for (long long ms = fromMs; ms < toMs; ms += stepMs)
        ASSERT_EQ(clock.millisecondsOfDay(ms), zoneMillisecondsOfDay(ms)) << "at " << ms;
}
} // namespace

TEST(OxTimeOfDay, FollowsDaylightSavingChangesAndMidnight)
{
    // 2024-03-31 01:00 UTC and 2024-10-27 01:00 UTC: central Europe changes its clocks.
    const long long spring = 1711846800000LL, autumn = 1729990800000LL;
    const long long hour = 3600 * 1000LL;
    {
        ZoneScope zone("CET-1CEST,M3.5.0,M10.5.0/3");
        expectSameAsZone(spring - 2 * hour, spring + 2 * hour, 7919);   // not a divisor of a minute
        expectSameAsZone(autumn - 2 * hour, autumn + 2 * hour, 7919);
    }
    {
        // West of UTC the local day ends after the UTC day: 2024-03-10 and 2024-03-11 00:00 UTC
        // fall on the evening before, one either side of the change to daylight time.
        ZoneScope zone("EST5EDT,M3.2.0,M11.1.0");
        expectSameAsZone(1710028800000LL - 6 * hour, 1710115200000LL + 6 * hour, 60013);
    }
    {
        ZoneScope zone("IST-5:30");   // an offset of half an hour
        expectSameAsZone(spring - hour, spring + hour, 12347);
    }
}

TEST(OxTimeOfDay, NowIsQTimesNow)
{
    for (int i = 0; i < 1000; ++i) {
        const int before = QTime(0, 0).msecsTo(QTime::currentTime());
        const int now = quillmark::detail::localTimeOfDay();
        const int after = QTime(0, 0).msecsTo(QTime::currentTime());
        if (after < before)
            continue;   // midnight passed
        ASSERT_LE(before, now);
        ASSERT_LE(now, after);
    }
}
