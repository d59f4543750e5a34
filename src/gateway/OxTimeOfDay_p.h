#ifndef OXTIMEOFDAY_P_H
#define OXTIMEOFDAY_P_H

#include <climits>
#include <ctime>

namespace quillmark::detail {

// Milliseconds since local midnight, the number QTime(0, 0).msecsTo(QTime::currentTime()) gives,
// at a fraction of its cost: asking the time zone (tzset, localtime_r) takes microseconds, so the
// zone's offset from UTC is asked once a minute and added to the UTC clock in between.
//
// A zone changes its offset (daylight saving time) only at whole minutes, so an offset read
// within the minute holds for all of it and the result is the slow way's, millisecond for
// millisecond. A host that changes its time zone (TZ, /etc/localtime) is followed within a
// minute.
//
// Use: millisecondsOfDay(now in ms since the epoch, UTC) for every stamp. One clock serves one
// thread; localTimeOfDay keeps one per thread.
class LocalDayClock
{
public:
    int millisecondsOfDay(long long utcMs)
    {
        const long long minute = floorDiv(utcMs, kMsPerMinute);
        if (minute != offsetMinute) {
            offsetMs = zoneOffsetMs(minute * 60);
            offsetMinute = minute;
        }
        const long long local = (utcMs + offsetMs) % kMsPerDay;
        return int(local < 0 ? local + kMsPerDay : local);
    }

private:
    static constexpr long long kMsPerMinute = 60 * 1000;
    static constexpr long long kMsPerDay = 24 * 60 * kMsPerMinute;

    static long long floorDiv(long long a, long long b)
    {
        return a / b - (a % b < 0 ? 1 : 0);
    }
    // The local zone's offset from UTC at the second utcSeconds, as localtime_r sees it after
    // tzset reads the zone again (as Qt does before it); 0 where it cannot tell.
    static long long zoneOffsetMs(long long utcSeconds)
    {
        tzset();
        const time_t t = time_t(utcSeconds);
        struct tm local = {};
        if (!localtime_r(&t, &local))
            return 0;
        return (long long)local.tm_gmtoff * 1000;
    }

    long long offsetMinute = LLONG_MIN;   // the UTC minute offsetMs was read for
    long long offsetMs = 0;
};

// Now, in milliseconds since local midnight.
inline int localTimeOfDay()
{
    thread_local LocalDayClock clock;
    struct timespec now = {};
    clock_gettime(CLOCK_REALTIME, &now);
    return clock.millisecondsOfDay((long long)now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

} // namespace quillmark::detail

#endif
