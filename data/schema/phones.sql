-- The phone-book database, System/tesphn.db: contact groups and contacts.
-- Built into the installed data tree by tools/dbtool. Group names compare without
-- regard to letter case (collation UNICODE_NOCASE, registered by the program's
-- connections).

CREATE TABLE db_meta (name TEXT PRIMARY KEY, value TEXT);
INSERT INTO db_meta (name, value) VALUES ('password', 'kettle_mirtolven');

-- Field 0 is addressed by position; the id comes after it.
CREATE TABLE tbl_Groupes (
    Groupe_Name TEXT NOT NULL COLLATE UNICODE_NOCASE UNIQUE,
    Groupe_ID INTEGER PRIMARY KEY AUTOINCREMENT
);

-- The column order is part of the format: code addresses columns by position.
CREATE TABLE tbl_Phones (
    Groupe_Name TEXT COLLATE UNICODE_NOCASE,
    Second_Name TEXT,
    First_Name TEXT,
    Third_Name TEXT,
    Home_Mobile TEXT,
    Home_Phone TEXT,
    Personal_Photo TEXT CHECK (length(Personal_Photo) <= 255),
    Personal_Date DATE,
    Home_Country TEXT,
    Home_Region TEXT,
    Home_City TEXT,
    Home_Index TEXT,
    Home_Fax TEXT,
    Home_Adress TEXT,
    Home_Mobile_Reserve TEXT,
    Inet_ICQ TEXT,
    Inet_MSN TEXT,
    Inet_Skype TEXT,
    Inet_Email TEXT,
    Inet_Email_2 TEXT,
    Home_Web TEXT,
    Work_Place TEXT,
    Work_Post TEXT,
    Work_Region TEXT,
    Work_City TEXT,
    Work_Adress TEXT,
    Work_Phone TEXT,
    Work_Fax TEXT,
    Personal_Sex TEXT,
    Personal_Status TEXT,
    Personal_Childrens TEXT,
    Personal_StatusDate DATE,
    Personal_MEMO TEXT,
    Reserve TEXT,
    ID INTEGER PRIMARY KEY AUTOINCREMENT
);

-- The general contact group.
INSERT INTO tbl_Groupes (Groupe_Name) VALUES ('General');
