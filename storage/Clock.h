// Date-times as the documents keep them: days since 1899-12-30 as a double, on the wall
// clock's scale (seconds since the Unix epoch / 86400 + 25569, so that file times and the
// current time never jump with daylight saving). The clock can be replaced for tests.
#pragma once

#include <ctime>
#include <functional>

namespace qv {

using TDateTime = double;
using TClock = std::function<TDateTime()>;

constexpr double kSecondsPerDay = 86400.0;

TDateTime Now();
// Installs clock (an empty one restores the wall clock); answers the previous one.
TClock SetClock(TClock clock);

TDateTime DateTimeFromTimespec(const timespec& ts);

}  // namespace qv
