-- The company database: permanent tables shared by PLAX and PLAXClk.
--
-- Text columns compare and index without regard to letter case (NOCASE).
-- Dates are ISO text "YYYY-MM-DD", times of day "HH:MM".
-- Column rules are named by kind so the engine layer can report them:
--   size_*     a value too long for the field
--   type_*     a value of the wrong type
--   required_* an empty value where one is needed

CREATE TABLE Employee (
    ID TEXT NOT NULL COLLATE NOCASE PRIMARY KEY
        CONSTRAINT size_ID CHECK (length(ID) <= 12)
        CONSTRAINT required_ID CHECK (length(ID) > 0),
    SSN TEXT COLLATE NOCASE,
    FirstName TEXT COLLATE NOCASE,
    MiddleName TEXT COLLATE NOCASE,
    LastName TEXT COLLATE NOCASE,
    Address TEXT COLLATE NOCASE,
    City TEXT COLLATE NOCASE,
    State TEXT COLLATE NOCASE,
    Zip TEXT COLLATE NOCASE,
    Phone TEXT COLLATE NOCASE,
    Rate REAL CONSTRAINT type_Rate CHECK (Rate IS NULL OR typeof(Rate) IN ('integer', 'real')),
    Position TEXT COLLATE NOCASE,
    [Hire Date] TEXT CONSTRAINT type_HireDate
        CHECK ([Hire Date] IS NULL OR [Hire Date] GLOB '[0-9][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]'),
    Notes TEXT COLLATE NOCASE,
    DepartmentNo TEXT COLLATE NOCASE,
    ScheduleNo TEXT COLLATE NOCASE DEFAULT '000'
        CONSTRAINT size_ScheduleNo CHECK (ScheduleNo IS NULL OR length(ScheduleNo) <= 3),
    MsgNo TEXT COLLATE NOCASE DEFAULT '000',
    SupervisorLevel INTEGER DEFAULT 1 CONSTRAINT type_SupervisorLevel
        CHECK (SupervisorLevel IS NULL OR (typeof(SupervisorLevel) = 'integer' AND SupervisorLevel BETWEEN 1 AND 3)),
    Status INTEGER NOT NULL DEFAULT 1 CONSTRAINT type_Status CHECK (Status IN (0, 1)),
    Rulename TEXT COLLATE NOCASE,
    [Other ID] TEXT COLLATE NOCASE
);
CREATE INDEX Employee_Department ON Employee (DepartmentNo);
CREATE INDEX Employee_Schedule ON Employee (ScheduleNo);

CREATE TABLE Department (
    DepartmentNo TEXT NOT NULL COLLATE NOCASE PRIMARY KEY
        CONSTRAINT required_DepartmentNo CHECK (length(DepartmentNo) > 0)
        CONSTRAINT type_DepartmentNo CHECK (instr(DepartmentNo, ' ') = 0),
    Description TEXT COLLATE NOCASE
);

CREATE TABLE Schedule (
    ScheduleNo TEXT NOT NULL COLLATE NOCASE PRIMARY KEY
        CONSTRAINT size_ScheduleNo CHECK (length(ScheduleNo) <= 3)
        CONSTRAINT type_ScheduleNo CHECK (ScheduleNo GLOB '[0-9][0-9][0-9]'),
    Description TEXT COLLATE NOCASE
);

CREATE TABLE [Schedule Days] (
    ScheduleNo TEXT NOT NULL COLLATE NOCASE
        CONSTRAINT size_ScheduleNo CHECK (length(ScheduleNo) <= 3),
    TheDay INTEGER NOT NULL CONSTRAINT type_TheDay CHECK (typeof(TheDay) = 'integer' AND TheDay BETWEEN 1 AND 7),
    StartTime TEXT CONSTRAINT type_StartTime CHECK (StartTime IS NULL OR StartTime GLOB '[0-2][0-9]:[0-5][0-9]'),
    EndTime TEXT CONSTRAINT type_EndTime CHECK (EndTime IS NULL OR EndTime GLOB '[0-2][0-9]:[0-5][0-9]'),
    UNIQUE (ScheduleNo, TheDay)
);

CREATE TABLE Messages (
    MessageNo TEXT NOT NULL COLLATE NOCASE PRIMARY KEY
        CONSTRAINT required_MessageNo CHECK (length(MessageNo) > 0)
        CONSTRAINT type_MessageNo CHECK (instr(MessageNo, ' ') = 0),
    Message TEXT COLLATE NOCASE
);

CREATE TABLE Holidays (
    HolidayName TEXT COLLATE NOCASE,
    TDate TEXT NOT NULL UNIQUE CONSTRAINT type_TDate CHECK (TDate GLOB '[0-9][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]'),
    Week INTEGER CONSTRAINT type_Week CHECK (Week IS NULL OR typeof(Week) = 'integer')
);

CREATE TABLE Absence (
    EmpID TEXT NOT NULL COLLATE NOCASE CONSTRAINT size_EmpID CHECK (length(EmpID) <= 12),
    TDate TEXT NOT NULL CONSTRAINT type_TDate CHECK (TDate GLOB '[0-9][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]'),
    Week INTEGER CONSTRAINT type_Week CHECK (Week IS NULL OR typeof(Week) = 'integer'),
    Reason TEXT COLLATE NOCASE,
    [Hours Paid] REAL CONSTRAINT type_HoursPaid
        CHECK ([Hours Paid] IS NULL OR typeof([Hours Paid]) IN ('integer', 'real')),
    UNIQUE (EmpID, TDate)
);

CREATE TABLE Registry (
    RegKey TEXT NOT NULL COLLATE NOCASE,
    RegField TEXT NOT NULL COLLATE NOCASE,
    RegValue TEXT
);
-- Not unique: one row per key and field is kept by the update-or-insert write.
CREATE INDEX Registry_Key ON Registry (RegKey, RegField);

CREATE TABLE [Time Attendance] (
    EmpID TEXT NOT NULL COLLATE NOCASE CONSTRAINT size_EmpID CHECK (length(EmpID) <= 12),
    TDate TEXT NOT NULL CONSTRAINT type_TDate CHECK (TDate GLOB '[0-9][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]'),
    Week INTEGER CONSTRAINT type_Week CHECK (Week IS NULL OR typeof(Week) = 'integer'),
    ClockIn TEXT NOT NULL CONSTRAINT type_ClockIn CHECK (ClockIn GLOB '[0-2][0-9]:[0-5][0-9]'),
    DateOut TEXT CONSTRAINT type_DateOut
        CHECK (DateOut IS NULL OR DateOut GLOB '[0-9][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]'),
    ClockOut TEXT CONSTRAINT type_ClockOut CHECK (ClockOut IS NULL OR ClockOut GLOB '[0-2][0-9]:[0-5][0-9]'),
    TotalHrs INTEGER NOT NULL DEFAULT 0 CONSTRAINT type_TotalHrs CHECK (typeof(TotalHrs) = 'integer'),
    TotalMin INTEGER NOT NULL DEFAULT 0 CONSTRAINT type_TotalMin CHECK (typeof(TotalMin) = 'integer'),
    Recalculate INTEGER NOT NULL DEFAULT 1 CONSTRAINT type_Recalculate CHECK (Recalculate IN (0, 1)),
    UNIQUE (EmpID, TDate, ClockIn)
);
-- The hours engine looks for flagged rows; most rows are not flagged.
CREATE INDEX TimeAttendance_Flagged ON [Time Attendance] (EmpID, TDate, ClockIn) WHERE Recalculate <> 0;
CREATE INDEX TimeAttendance_Week ON [Time Attendance] (EmpID, Week, TDate);
-- Punch pairing: is there a clock-out of this employee at this date and minute?
CREATE INDEX TimeAttendance_Out ON [Time Attendance] (EmpID, DateOut, ClockOut);

CREATE TABLE [Hours Worked] (
    EmpID TEXT NOT NULL COLLATE NOCASE CONSTRAINT size_EmpID CHECK (length(EmpID) <= 12),
    TDate TEXT NOT NULL CONSTRAINT type_TDate CHECK (TDate GLOB '[0-9][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]'),
    Week INTEGER NOT NULL CONSTRAINT type_Week CHECK (typeof(Week) = 'integer'),
    [Straight Hrs] REAL NOT NULL DEFAULT 0,
    [OT Hrs] REAL NOT NULL DEFAULT 0,
    [DT Hrs] REAL NOT NULL DEFAULT 0,
    UNIQUE (EmpID, TDate, Week)
);

PRAGMA user_version = 2;
