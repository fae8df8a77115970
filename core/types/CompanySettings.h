#pragma once
// The company settings as the routines use them. Loaded from the settings
// table (LoadCompanySettings); logic takes a value of this type explicitly
// so it can be run and tested without the program's globals.

#include "Dates.h"

#include <QString>

namespace plax {

struct CompanySettings {
    QString CompanyName;
    int WorkDay = 2;            // first day of the work week, 1 = Sunday .. 7 = Saturday
    TimeOfDay DayStartTime;     // a work day begins at this time of day
    int DayStartHours = 0;      // whole hours of DayStartTime
    int GraceP = 0;             // grace minutes around schedule windows, 0..59
    int RoundTotal = 5;         // shift minutes are rounded to this unit; 0 = none
    bool IncludeWages = true;
    int TheClock = 0;           // 0 keyboard, 1 MSR100 reader, 2 RS2000 reader
    bool InOutList = true;      // the terminal shows its punch log

    void setDayStart(TimeOfDay t) {
        DayStartTime = t;
        DayStartHours = t.hour();
    }
};

} // namespace plax
