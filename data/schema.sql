-- The payroll database GZDB.mdb. The program never changes this structure; the set-up
-- tool creates a new file from it. Amount columns (f1..f20 earnings, k1..k20 deductions)
-- hold ten-thousandths of a yuan, so sums are exact. GZB and Temp_GZB have the same columns
-- in the same order: months move between them by "select *" copies.
--
-- Names and other Chinese texts that lists are sorted by are declared COLLATE NOCASE. The
-- program replaces NOCASE on its connection by the same equality with pinyin order; any other
-- SQLite program sorts them by the built-in NOCASE. These columns therefore carry no index,
-- which would be ordered by whichever of the two built it.
PRAGMA user_version = 1;
-- The mark of the program's own files ("GZDB", data/filemark.h): a file without it is never
-- compacted, backed up or written.
PRAGMA application_id = 1197098050;

-- Departments. Numbers run 1, 2, 3, ... without gaps (nothing deletes a department), and
-- employees store a department's position in that order.
CREATE TABLE BMZD (
    bh INTEGER PRIMARY KEY,
    mc TEXT COLLATE NOCASE
) STRICT;

-- Employees. Dates are the text of the date box; zt '1' active, '2' deactivated.
CREATE TABLE YGZD (
    bh INTEGER PRIMARY KEY,
    xm TEXT COLLATE NOCASE,
    xb TEXT COLLATE NOCASE,
    csrq TEXT,
    gzrq TEXT,
    bmh INTEGER,
    zw TEXT COLLATE NOCASE,
    zt TEXT DEFAULT '1'
) STRICT;

-- Salary items. S_FK '0' earning, '1' deduction; S_JC 1 carries the amount into a new month.
CREATE TABLE GZXMZD (
    bh INTEGER PRIMARY KEY,
    mc TEXT COLLATE NOCASE,
    S_JC INTEGER,
    S_FK TEXT
) STRICT;

-- Monthly salaries: one row per month key ny (yyyymm) and employee ygh, with snapshot copies
-- of the employee's data taken when the month was prepared.
CREATE TABLE GZB (
    ny TEXT,
    ygh INTEGER,
    xm TEXT COLLATE NOCASE,
    xb TEXT COLLATE NOCASE,
    csrq TEXT,
    gzrq TEXT,
    bmmc TEXT COLLATE NOCASE,
    zw TEXT COLLATE NOCASE,
    zt TEXT DEFAULT '1',
    f1 INTEGER NOT NULL DEFAULT 0,
    f2 INTEGER NOT NULL DEFAULT 0,
    f3 INTEGER NOT NULL DEFAULT 0,
    f4 INTEGER NOT NULL DEFAULT 0,
    f5 INTEGER NOT NULL DEFAULT 0,
    f6 INTEGER NOT NULL DEFAULT 0,
    f7 INTEGER NOT NULL DEFAULT 0,
    f8 INTEGER NOT NULL DEFAULT 0,
    f9 INTEGER NOT NULL DEFAULT 0,
    f10 INTEGER NOT NULL DEFAULT 0,
    f11 INTEGER NOT NULL DEFAULT 0,
    f12 INTEGER NOT NULL DEFAULT 0,
    f13 INTEGER NOT NULL DEFAULT 0,
    f14 INTEGER NOT NULL DEFAULT 0,
    f15 INTEGER NOT NULL DEFAULT 0,
    f16 INTEGER NOT NULL DEFAULT 0,
    f17 INTEGER NOT NULL DEFAULT 0,
    f18 INTEGER NOT NULL DEFAULT 0,
    f19 INTEGER NOT NULL DEFAULT 0,
    f20 INTEGER NOT NULL DEFAULT 0,
    k1 INTEGER NOT NULL DEFAULT 0,
    k2 INTEGER NOT NULL DEFAULT 0,
    k3 INTEGER NOT NULL DEFAULT 0,
    k4 INTEGER NOT NULL DEFAULT 0,
    k5 INTEGER NOT NULL DEFAULT 0,
    k6 INTEGER NOT NULL DEFAULT 0,
    k7 INTEGER NOT NULL DEFAULT 0,
    k8 INTEGER NOT NULL DEFAULT 0,
    k9 INTEGER NOT NULL DEFAULT 0,
    k10 INTEGER NOT NULL DEFAULT 0,
    k11 INTEGER NOT NULL DEFAULT 0,
    k12 INTEGER NOT NULL DEFAULT 0,
    k13 INTEGER NOT NULL DEFAULT 0,
    k14 INTEGER NOT NULL DEFAULT 0,
    k15 INTEGER NOT NULL DEFAULT 0,
    k16 INTEGER NOT NULL DEFAULT 0,
    k17 INTEGER NOT NULL DEFAULT 0,
    k18 INTEGER NOT NULL DEFAULT 0,
    k19 INTEGER NOT NULL DEFAULT 0,
    k20 INTEGER NOT NULL DEFAULT 0
) STRICT;

-- The worksheet of the month being edited.
CREATE TABLE Temp_GZB (
    ny TEXT,
    ygh INTEGER,
    xm TEXT COLLATE NOCASE,
    xb TEXT COLLATE NOCASE,
    csrq TEXT,
    gzrq TEXT,
    bmmc TEXT COLLATE NOCASE,
    zw TEXT COLLATE NOCASE,
    zt TEXT DEFAULT '1',
    f1 INTEGER NOT NULL DEFAULT 0,
    f2 INTEGER NOT NULL DEFAULT 0,
    f3 INTEGER NOT NULL DEFAULT 0,
    f4 INTEGER NOT NULL DEFAULT 0,
    f5 INTEGER NOT NULL DEFAULT 0,
    f6 INTEGER NOT NULL DEFAULT 0,
    f7 INTEGER NOT NULL DEFAULT 0,
    f8 INTEGER NOT NULL DEFAULT 0,
    f9 INTEGER NOT NULL DEFAULT 0,
    f10 INTEGER NOT NULL DEFAULT 0,
    f11 INTEGER NOT NULL DEFAULT 0,
    f12 INTEGER NOT NULL DEFAULT 0,
    f13 INTEGER NOT NULL DEFAULT 0,
    f14 INTEGER NOT NULL DEFAULT 0,
    f15 INTEGER NOT NULL DEFAULT 0,
    f16 INTEGER NOT NULL DEFAULT 0,
    f17 INTEGER NOT NULL DEFAULT 0,
    f18 INTEGER NOT NULL DEFAULT 0,
    f19 INTEGER NOT NULL DEFAULT 0,
    f20 INTEGER NOT NULL DEFAULT 0,
    k1 INTEGER NOT NULL DEFAULT 0,
    k2 INTEGER NOT NULL DEFAULT 0,
    k3 INTEGER NOT NULL DEFAULT 0,
    k4 INTEGER NOT NULL DEFAULT 0,
    k5 INTEGER NOT NULL DEFAULT 0,
    k6 INTEGER NOT NULL DEFAULT 0,
    k7 INTEGER NOT NULL DEFAULT 0,
    k8 INTEGER NOT NULL DEFAULT 0,
    k9 INTEGER NOT NULL DEFAULT 0,
    k10 INTEGER NOT NULL DEFAULT 0,
    k11 INTEGER NOT NULL DEFAULT 0,
    k12 INTEGER NOT NULL DEFAULT 0,
    k13 INTEGER NOT NULL DEFAULT 0,
    k14 INTEGER NOT NULL DEFAULT 0,
    k15 INTEGER NOT NULL DEFAULT 0,
    k16 INTEGER NOT NULL DEFAULT 0,
    k17 INTEGER NOT NULL DEFAULT 0,
    k18 INTEGER NOT NULL DEFAULT 0,
    k19 INTEGER NOT NULL DEFAULT 0,
    k20 INTEGER NOT NULL DEFAULT 0
) STRICT;

-- A month is read, replaced and deleted by its key; entry updates the worksheet row by row.
CREATE UNIQUE INDEX GZB_month_employee ON GZB (ny, ygh);
CREATE UNIQUE INDEX Temp_GZB_employee ON Temp_GZB (ygh);
