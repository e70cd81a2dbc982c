#pragma once

// Whether the user's locale (LC_ALL, LC_TIME, LANG) writes the day before the month in its dates:
// the order in which the windows and the command line alike read dates that leave it open.
namespace aurelant {

bool localeWritesDayFirst();

}  // namespace aurelant
