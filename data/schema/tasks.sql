-- The task database, System/tesbus.db: the task list.
-- Built into the installed data tree by tools/dbtool.

CREATE TABLE db_meta (name TEXT PRIMARY KEY, value TEXT);
INSERT INTO db_meta (name, value) VALUES ('password', 'qk_lam');

-- bsn_Status is true for a task that is done.
CREATE TABLE tbl_Business (
    bsn_Date DATE,
    bsn_Text TEXT,
    bsn_Status BOOLEAN,
    bsn_ID INTEGER PRIMARY KEY AUTOINCREMENT
);
