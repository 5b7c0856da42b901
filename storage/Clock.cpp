#include "Clock.h"

#include <utility>

namespace qv {

namespace {
constexpr double kUnixEpochDays = 25569.0;  // 1970-01-01 counted from 1899-12-30

TDateTime WallClock() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return DateTimeFromTimespec(ts);
}

TClock& CurrentClock() {
  static TClock clock = WallClock;
  return clock;
}
}  // namespace

TDateTime DateTimeFromTimespec(const timespec& ts) {
  return kUnixEpochDays + (double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9) / kSecondsPerDay;
}

TDateTime Now() {
  return CurrentClock()();
}

TClock SetClock(TClock clock) {
  TClock previous = std::move(CurrentClock());
  CurrentClock() = clock ? std::move(clock) : TClock(WallClock);
  return previous;
}

}  // namespace qv
