-- The events database, System/tesryn.db: event categories and pending reminders.
-- Built into the installed data tree by tools/dbtool. Names compare without regard
-- to letter case (collation UNICODE_NOCASE, registered by the program's connections),
-- in the unique index and in every statement that compares them.

CREATE TABLE db_meta (name TEXT PRIMARY KEY, value TEXT);
INSERT INTO db_meta (name, value) VALUES ('password', 'qk_mirtolven');

-- Fields 0 and 1 are addressed by position; the id comes after them.
CREATE TABLE lst_Measures (
    Measure_Name TEXT NOT NULL COLLATE UNICODE_NOCASE UNIQUE,
    LVIcon_Path TEXT,
    Measure_ID INTEGER PRIMARY KEY AUTOINCREMENT
);

-- Step_Time holds "HH:mm" or "HH:mm:ss", or NULL for an event without a time of day.
CREATE TABLE lst_Dates (
    Measure_Name TEXT COLLATE UNICODE_NOCASE,
    Step_Name TEXT,
    Step_Date DATE,
    Step_Time TEXT,
    Step_Notes TEXT,
    Step_Rep BOOLEAN,
    Step_Numeric INTEGER PRIMARY KEY AUTOINCREMENT
);
-- The calendar reads one month at a time.
CREATE INDEX lst_Dates_Step_Date ON lst_Dates (Step_Date);
-- The event editor asks whether a title is taken (letter case counts), and a
-- category's rename moves its events; files made before these two indexes get them
-- from the program.
CREATE INDEX lst_Dates_Step_Name ON lst_Dates (Step_Name);
CREATE INDEX lst_Dates_Measure_Name ON lst_Dates (Measure_Name);

-- The registry store: one row per value, under its full key path as the program
-- writes it ("HKEY_CURRENT_USER\SOFTWARE\...\Special\12\NextType"), so that an
-- event's entries commit with its rows and travel with the file.
CREATE TABLE registry (path TEXT NOT NULL PRIMARY KEY COLLATE UNICODE_NOCASE, value TEXT NOT NULL);

-- The "System" row comes first in table order and is never listed; the built-in
-- categories follow under stored names that their own texts show differently.
INSERT INTO lst_Measures (Measure_Name, LVIcon_Path) VALUES ('System', 'System');
INSERT INTO lst_Measures (Measure_Name, LVIcon_Path) VALUES ('Birthdays', 'RES_1');
INSERT INTO lst_Measures (Measure_Name, LVIcon_Path) VALUES ('Meetings', 'RES_2');
INSERT INTO lst_Measures (Measure_Name, LVIcon_Path) VALUES ('Holidays', 'RES_3');
