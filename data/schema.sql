-- The payroll database GZDB.mdb. The program never changes this structure; the set-up
-- tool creates a new file from it. GZB and Temp_GZB have the same columns in the same order:
-- months move between them by "select *" copies.
--
-- Money: a column whose line ends in "-- amount" holds ten-thousandths of a yuan (12.5 is
-- 125000), so sums are exact. The program binds and reads every column so marked, in any
-- table, as an amount, by its name; a name is therefore money in every table or in none. The
-- names statements give to amounts they compute, never stored, are declared here too:
-- Computed amounts: f_h, k_h, sf, sr, sqkcje, se, nzj
-- (a salary row's earnings, deductions and net pay; a stored month's taxable income,
-- deductions taken before tax, tax and year-end one-off bonus).
--
-- Names and other Chinese texts that lists are sorted by are declared COLLATE NOCASE. The
-- program replaces NOCASE on its connection by the same equality with pinyin order; any other
-- SQLite program sorts them by the built-in NOCASE. These columns therefore carry no index,
-- which would be ordered by whichever of the two built it.
--
-- Each layout version's additions follow a line "-- Version N": a file of an earlier version
-- is brought up to date by running the sections after its own, so this file stays the one
-- description of the tables.
PRAGMA user_version = 3;
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
    f1 INTEGER NOT NULL DEFAULT 0, -- amount
    f2 INTEGER NOT NULL DEFAULT 0, -- amount
    f3 INTEGER NOT NULL DEFAULT 0, -- amount
    f4 INTEGER NOT NULL DEFAULT 0, -- amount
    f5 INTEGER NOT NULL DEFAULT 0, -- amount
    f6 INTEGER NOT NULL DEFAULT 0, -- amount
    f7 INTEGER NOT NULL DEFAULT 0, -- amount
    f8 INTEGER NOT NULL DEFAULT 0, -- amount
    f9 INTEGER NOT NULL DEFAULT 0, -- amount
    f10 INTEGER NOT NULL DEFAULT 0, -- amount
    f11 INTEGER NOT NULL DEFAULT 0, -- amount
    f12 INTEGER NOT NULL DEFAULT 0, -- amount
    f13 INTEGER NOT NULL DEFAULT 0, -- amount
    f14 INTEGER NOT NULL DEFAULT 0, -- amount
    f15 INTEGER NOT NULL DEFAULT 0, -- amount
    f16 INTEGER NOT NULL DEFAULT 0, -- amount
    f17 INTEGER NOT NULL DEFAULT 0, -- amount
    f18 INTEGER NOT NULL DEFAULT 0, -- amount
    f19 INTEGER NOT NULL DEFAULT 0, -- amount
    f20 INTEGER NOT NULL DEFAULT 0, -- amount
    k1 INTEGER NOT NULL DEFAULT 0, -- amount
    k2 INTEGER NOT NULL DEFAULT 0, -- amount
    k3 INTEGER NOT NULL DEFAULT 0, -- amount
    k4 INTEGER NOT NULL DEFAULT 0, -- amount
    k5 INTEGER NOT NULL DEFAULT 0, -- amount
    k6 INTEGER NOT NULL DEFAULT 0, -- amount
    k7 INTEGER NOT NULL DEFAULT 0, -- amount
    k8 INTEGER NOT NULL DEFAULT 0, -- amount
    k9 INTEGER NOT NULL DEFAULT 0, -- amount
    k10 INTEGER NOT NULL DEFAULT 0, -- amount
    k11 INTEGER NOT NULL DEFAULT 0, -- amount
    k12 INTEGER NOT NULL DEFAULT 0, -- amount
    k13 INTEGER NOT NULL DEFAULT 0, -- amount
    k14 INTEGER NOT NULL DEFAULT 0, -- amount
    k15 INTEGER NOT NULL DEFAULT 0, -- amount
    k16 INTEGER NOT NULL DEFAULT 0, -- amount
    k17 INTEGER NOT NULL DEFAULT 0, -- amount
    k18 INTEGER NOT NULL DEFAULT 0, -- amount
    k19 INTEGER NOT NULL DEFAULT 0, -- amount
    k20 INTEGER NOT NULL DEFAULT 0 -- amount
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
    f1 INTEGER NOT NULL DEFAULT 0, -- amount
    f2 INTEGER NOT NULL DEFAULT 0, -- amount
    f3 INTEGER NOT NULL DEFAULT 0, -- amount
    f4 INTEGER NOT NULL DEFAULT 0, -- amount
    f5 INTEGER NOT NULL DEFAULT 0, -- amount
    f6 INTEGER NOT NULL DEFAULT 0, -- amount
    f7 INTEGER NOT NULL DEFAULT 0, -- amount
    f8 INTEGER NOT NULL DEFAULT 0, -- amount
    f9 INTEGER NOT NULL DEFAULT 0, -- amount
    f10 INTEGER NOT NULL DEFAULT 0, -- amount
    f11 INTEGER NOT NULL DEFAULT 0, -- amount
    f12 INTEGER NOT NULL DEFAULT 0, -- amount
    f13 INTEGER NOT NULL DEFAULT 0, -- amount
    f14 INTEGER NOT NULL DEFAULT 0, -- amount
    f15 INTEGER NOT NULL DEFAULT 0, -- amount
    f16 INTEGER NOT NULL DEFAULT 0, -- amount
    f17 INTEGER NOT NULL DEFAULT 0, -- amount
    f18 INTEGER NOT NULL DEFAULT 0, -- amount
    f19 INTEGER NOT NULL DEFAULT 0, -- amount
    f20 INTEGER NOT NULL DEFAULT 0, -- amount
    k1 INTEGER NOT NULL DEFAULT 0, -- amount
    k2 INTEGER NOT NULL DEFAULT 0, -- amount
    k3 INTEGER NOT NULL DEFAULT 0, -- amount
    k4 INTEGER NOT NULL DEFAULT 0, -- amount
    k5 INTEGER NOT NULL DEFAULT 0, -- amount
    k6 INTEGER NOT NULL DEFAULT 0, -- amount
    k7 INTEGER NOT NULL DEFAULT 0, -- amount
    k8 INTEGER NOT NULL DEFAULT 0, -- amount
    k9 INTEGER NOT NULL DEFAULT 0, -- amount
    k10 INTEGER NOT NULL DEFAULT 0, -- amount
    k11 INTEGER NOT NULL DEFAULT 0, -- amount
    k12 INTEGER NOT NULL DEFAULT 0, -- amount
    k13 INTEGER NOT NULL DEFAULT 0, -- amount
    k14 INTEGER NOT NULL DEFAULT 0, -- amount
    k15 INTEGER NOT NULL DEFAULT 0, -- amount
    k16 INTEGER NOT NULL DEFAULT 0, -- amount
    k17 INTEGER NOT NULL DEFAULT 0, -- amount
    k18 INTEGER NOT NULL DEFAULT 0, -- amount
    k19 INTEGER NOT NULL DEFAULT 0, -- amount
    k20 INTEGER NOT NULL DEFAULT 0 -- amount
) STRICT;

-- A month is read, replaced and deleted by its key; entry updates the worksheet row by row.
CREATE UNIQUE INDEX GZB_month_employee ON GZB (ny, ygh);
CREATE UNIQUE INDEX Temp_GZB_employee ON Temp_GZB (ygh);

-- Version 2: computed items. Rates are ten-thousandths of a percent (8 % is 80000).

-- How a salary item is computed; an item without a row is entered by hand. jsfs '0' by hand,
-- '1' a percentage of the employee's base named by jsjs ('1' social insurance, '2' housing
-- fund), brought up to the floor xx and down to the cap sx where given; '2' the income tax.
-- sqkc 1 marks a deduction taken before tax; bjs 1 an earning that is not taxed.
CREATE TABLE GZXMJS (
    xmbh INTEGER PRIMARY KEY,
    jsfs TEXT NOT NULL DEFAULT '0',
    bl INTEGER NOT NULL DEFAULT 0,
    jsjs TEXT NOT NULL DEFAULT '1',
    xx INTEGER, -- amount
    sx INTEGER, -- amount
    sqkc INTEGER NOT NULL DEFAULT 0,
    bjs INTEGER NOT NULL DEFAULT 0
) STRICT;

-- The income-tax withholding table, dated: the lines of the latest qsny (month key) not after
-- a month are in force in it. sx is a line's upper limit of cumulative taxable income (null
-- on the top line), sl its rate, sskcs its quick deduction.
CREATE TABLE GSSLB (
    bh INTEGER PRIMARY KEY,
    qsny TEXT NOT NULL,
    sx INTEGER, -- amount
    sl INTEGER NOT NULL,
    sskcs INTEGER NOT NULL -- amount
) STRICT;

-- The monthly deduction from taxable income, dated the same way.
CREATE TABLE GSJCFY (
    qsny TEXT PRIMARY KEY,
    je INTEGER NOT NULL -- amount
) STRICT;

-- An employee's contribution bases (sbjs social insurance, gjjjs housing fund), other
-- deductions from taxable income each month (qtkc), and opening figures of the year qcnd for
-- an organisation that starts using the program during that year: income, pre-tax deductions,
-- special deductions, tax withheld and the number of months.
CREATE TABLE YGJS (
    ygh INTEGER PRIMARY KEY,
    sbjs INTEGER NOT NULL DEFAULT 0, -- amount
    gjjjs INTEGER NOT NULL DEFAULT 0, -- amount
    qtkc INTEGER NOT NULL DEFAULT 0, -- amount
    qcnd TEXT,
    qcsr INTEGER NOT NULL DEFAULT 0, -- amount
    qcsqkc INTEGER NOT NULL DEFAULT 0, -- amount
    qczxkc INTEGER NOT NULL DEFAULT 0, -- amount
    qcyjse INTEGER NOT NULL DEFAULT 0, -- amount
    qcys INTEGER NOT NULL DEFAULT 0
) STRICT;

-- Special additional deductions: a monthly amount je of kind lb from month qsny through month
-- zzny (null: still running).
CREATE TABLE YGZXKC (
    bh INTEGER PRIMARY KEY,
    ygh INTEGER NOT NULL,
    lb TEXT NOT NULL,
    je INTEGER NOT NULL, -- amount
    qsny TEXT NOT NULL,
    zzny TEXT
) STRICT;
CREATE INDEX YGZXKC_employee ON YGZXKC (ygh);

-- The law in force since January 2019.
INSERT INTO GSSLB (qsny, sx, sl, sskcs) VALUES
    ('201901', 360000000, 30000, 0),
    ('201901', 1440000000, 100000, 25200000),
    ('201901', 3000000000, 200000, 169200000),
    ('201901', 4200000000, 250000, 319200000),
    ('201901', 6600000000, 300000, 529200000),
    ('201901', 9600000000, 350000, 859200000),
    ('201901', NULL, 450000, 1819200000);
INSERT INTO GSJCFY (qsny, je) VALUES ('201901', 50000000);

-- Version 3: what a month needs to leave the program, and what it keeps of its history.

-- An employee's identity and bank account, for the tax declaration and the bank's payment file.
-- zjlx the kind of identity document, zjhm its number (one employee per number), gj the
-- nationality or region, khyh the bank, yhzh the account number (digits only), sjhm a mobile
-- number. An employee without a row has none of these yet.
CREATE TABLE YGZJ (
    ygh INTEGER PRIMARY KEY,
    zjlx TEXT NOT NULL DEFAULT '居民身份证',
    zjhm TEXT,
    gj TEXT NOT NULL DEFAULT '中国',
    khyh TEXT,
    yhzh TEXT,
    sjhm TEXT
) STRICT;
CREATE UNIQUE INDEX YGZJ_document ON YGZJ (zjhm);

-- Bank payment files: how each bank wants a month's net pay laid out, one profile per layout.
-- wjlx the kind of file ('xlsx', 'csv', 'txt' fixed-width text), bm the encoding of a text
-- file ('GBK', 'UTF-8'), fgf what stands between the fields of a line (a fixed-width text may
-- have none), btwb the header lines above the payments (a line feed between two lines), lbt 1
-- a line of the fields' captions under them, hjh the line with the count and the total of the
-- payments ('0' none, '1' above the payments, '2' below them).
CREATE TABLE YHDFGS (
    bh INTEGER PRIMARY KEY,
    mc TEXT NOT NULL,
    wjlx TEXT NOT NULL DEFAULT 'xlsx',
    bm TEXT NOT NULL DEFAULT 'GBK',
    fgf TEXT NOT NULL DEFAULT '',
    btwb TEXT NOT NULL DEFAULT '',
    lbt INTEGER NOT NULL DEFAULT 1,
    hjh TEXT NOT NULL DEFAULT '0'
) STRICT;
CREATE UNIQUE INDEX YHDFGS_name ON YHDFGS (mc);

-- A profile's fields in their order xh. zd is what the field holds: 账号, 户名, 金额, 开户银行,
-- 证件号码, 手机号码, 用途 or 常量; bt its caption; nr the text of 用途 or 常量; kd its width in
-- a fixed-width text, in bytes of the file's encoding; dq 'L' left or 'R' right aligned there.
CREATE TABLE YHDFZD (
    bh INTEGER PRIMARY KEY,
    gsbh INTEGER NOT NULL,
    xh INTEGER NOT NULL,
    zd TEXT NOT NULL,
    bt TEXT NOT NULL DEFAULT '',
    nr TEXT NOT NULL DEFAULT '',
    kd INTEGER NOT NULL DEFAULT 0,
    dq TEXT NOT NULL DEFAULT 'L'
) STRICT;
CREATE UNIQUE INDEX YHDFZD_profile_position ON YHDFZD (gsbh, xh);

-- Two profiles to start from: the common workbook of account, name, amount and purpose, and a
-- GBK text of fixed widths between bars with the count and total on its first line.
INSERT INTO YHDFGS (mc, wjlx, bm, fgf, btwb, lbt, hjh) VALUES
    ('通用Excel格式', 'xlsx', 'UTF-8', '', '', 1, '0'),
    ('GBK定长文本', 'txt', 'GBK', '|', '', 0, '1');
INSERT INTO YHDFZD (gsbh, xh, zd, bt, nr, kd, dq)
    SELECT bh, 1, '账号', '账号', '', 0, 'L' FROM YHDFGS WHERE mc = '通用Excel格式'
    UNION ALL SELECT bh, 2, '户名', '户名', '', 0, 'L' FROM YHDFGS WHERE mc = '通用Excel格式'
    UNION ALL SELECT bh, 3, '金额', '金额', '', 0, 'R' FROM YHDFGS WHERE mc = '通用Excel格式'
    UNION ALL SELECT bh, 4, '用途', '用途', '工资', 0, 'L' FROM YHDFGS WHERE mc = '通用Excel格式'
    UNION ALL SELECT bh, 1, '账号', '账号', '', 20, 'L' FROM YHDFGS WHERE mc = 'GBK定长文本'
    UNION ALL SELECT bh, 2, '户名', '户名', '', 20, 'L' FROM YHDFGS WHERE mc = 'GBK定长文本'
    UNION ALL SELECT bh, 3, '金额', '金额', '', 15, 'R' FROM YHDFGS WHERE mc = 'GBK定长文本'
    UNION ALL SELECT bh, 4, '用途', '用途', '工资', 10, 'L' FROM YHDFGS WHERE mc = 'GBK定长文本';

-- Settings kept from a month on: a change adds a row and overwrites nothing. The values in
-- the undated tables are those in force before an employee's or item's first row, as they
-- were for every month stored before settings had dates.

-- An employee's contribution bases (sbjs, gjjjs) and other monthly deductions (qtkc) in force
-- from month qsny until the employee's next row; YGJS's are those before the first row.
CREATE TABLE YGJSBD (
    bh INTEGER PRIMARY KEY,
    ygh INTEGER NOT NULL,
    qsny TEXT NOT NULL,
    sbjs INTEGER NOT NULL, -- amount
    gjjjs INTEGER NOT NULL, -- amount
    qtkc INTEGER NOT NULL -- amount
) STRICT;
CREATE UNIQUE INDEX YGJSBD_employee_month ON YGJSBD (ygh, qsny);

-- A percentage item's rate bl, floor xx and cap sx in force from month qsny until the item's
-- next row; GZXMJS's are those in force before the first row.
CREATE TABLE GZXMJSBD (
    bh INTEGER PRIMARY KEY,
    xmbh INTEGER NOT NULL,
    qsny TEXT NOT NULL,
    bl INTEGER NOT NULL,
    xx INTEGER, -- amount
    sx INTEGER -- amount
) STRICT;
CREATE UNIQUE INDEX GZXMJSBD_item_month ON GZXMJSBD (xmbh, qsny);

-- Closing months, and the trail a month's changes leave.

-- A closed month (结账): its salaries are final; GZB refuses any change to its rows until it is
-- reopened. When and by whom the audit trail (SJJL) says.
CREATE TABLE GZJZ (
    ny TEXT PRIMARY KEY
) STRICT;

-- The database itself refuses, so that no copy of the program and no other tool gets round a
-- closed month. A trigger here only refuses: WHEN its condition holds it raises its message.
CREATE TRIGGER GZB_closed_insert BEFORE INSERT ON GZB
WHEN EXISTS (SELECT 1 FROM GZJZ WHERE ny = NEW.ny)
BEGIN SELECT RAISE(ABORT, '该月工资已结账，不能更改，须先反结账。'); END;
CREATE TRIGGER GZB_closed_update BEFORE UPDATE ON GZB
WHEN EXISTS (SELECT 1 FROM GZJZ WHERE ny = OLD.ny OR ny = NEW.ny)
BEGIN SELECT RAISE(ABORT, '该月工资已结账，不能更改，须先反结账。'); END;
CREATE TRIGGER GZB_closed_delete BEFORE DELETE ON GZB
WHEN EXISTS (SELECT 1 FROM GZJZ WHERE ny = OLD.ny)
BEGIN SELECT RAISE(ABORT, '该月工资已结账，不能更改，须先反结账。'); END;

-- The audit trail: one row for every change, close, reopen and export of month ny, written in
-- the same transaction as the change; dz says which, in the clerk's words ("保存", "调整",
-- "删除", "重算个税", "结账", "反结账", "导出"). sj when (local time, "yyyy-MM-dd hh:mm:ss"), czy who (the
-- operating-system user on a file, the database role on a server). The month's row count and
-- totals of earnings, deductions and net pay before (qts, qfh, qkh, qsf) and after (hts, hfh,
-- hkh, hsf). An export names its file (wjm) and the file's SHA-256 in hex (sha); a reopen its
-- reason (yy). Rows are only ever added.
CREATE TABLE SJJL (
    bh INTEGER PRIMARY KEY,
    sj TEXT NOT NULL,
    czy TEXT NOT NULL,
    ny TEXT NOT NULL,
    dz TEXT NOT NULL,
    qts INTEGER NOT NULL,
    qfh INTEGER NOT NULL, -- amount
    qkh INTEGER NOT NULL, -- amount
    qsf INTEGER NOT NULL, -- amount
    hts INTEGER NOT NULL,
    hfh INTEGER NOT NULL, -- amount
    hkh INTEGER NOT NULL, -- amount
    hsf INTEGER NOT NULL, -- amount
    wjm TEXT,
    sha TEXT,
    yy TEXT
) STRICT;
CREATE INDEX SJJL_month ON SJJL (ny);
CREATE TRIGGER SJJL_no_update BEFORE UPDATE ON SJJL
BEGIN SELECT RAISE(ABORT, '审计记录只能添加，不能修改或删除。'); END;
CREATE TRIGGER SJJL_no_delete BEFORE DELETE ON SJJL
BEGIN SELECT RAISE(ABORT, '审计记录只能添加，不能修改或删除。'); END;

-- Which salary item feeds which column of the tax client's declaration workbook: lm is the
-- column's heading, '' an item that is not declared. An item without a row is guessed from its
-- name and how it is computed until the clerk sets it.
CREATE TABLE GSSBXM (
    xmbh INTEGER PRIMARY KEY,
    lm TEXT NOT NULL
) STRICT;

-- The income-tax law beyond the cumulative withholding: the year-end one-off bonus taxed
-- apart, each employee's choices for a year, and tax relief.

-- The year-end one-off bonus taxed apart from the cumulative withholding: the monthly table
-- that a twelfth of the bonus is looked up in, dated like GSSLB from qsny and in force through
-- zzny (null: no end). A later law is a new set of lines from its own month. sx is a line's
-- upper limit of a twelfth of the bonus (null on the top line), sl its rate, sskcs its quick
-- deduction, taken once from the whole bonus's tax.
CREATE TABLE NZJSLB (
    bh INTEGER PRIMARY KEY,
    qsny TEXT NOT NULL,
    zzny TEXT,
    sx INTEGER, -- amount
    sl INTEGER NOT NULL,
    sskcs INTEGER NOT NULL -- amount
) STRICT;
INSERT INTO NZJSLB (qsny, zzny, sx, sl, sskcs) VALUES
    ('201901', '202712', 30000000, 30000, 0),
    ('201901', '202712', 120000000, 100000, 2100000),
    ('201901', '202712', 250000000, 200000, 14100000),
    ('201901', '202712', 350000000, 250000, 26600000),
    ('201901', '202712', 550000000, 300000, 44100000),
    ('201901', '202712', 800000000, 350000, 71600000),
    ('201901', '202712', NULL, 450000, 151600000);

-- What the clerk sets for one employee and one year nd of the tax law's choices: nzjhb 1 has
-- the year-end bonus taxed with the pay instead of apart; qnjc 1 takes the whole year's basic
-- deduction from January (the previous year's pay at this employer, every month of it, was at
-- most 60,000.00); ljjc 1 takes the basic deduction of every month since January in the month
-- of the year's first pay. An employee without a row for a year has none of these.
CREATE TABLE YGNDSZ (
    bh INTEGER PRIMARY KEY,
    ygh INTEGER NOT NULL,
    nd TEXT NOT NULL,
    nzjhb INTEGER NOT NULL DEFAULT 0,
    qnjc INTEGER NOT NULL DEFAULT 0,
    ljjc INTEGER NOT NULL DEFAULT 0
) STRICT;
CREATE UNIQUE INDEX YGNDSZ_employee_year ON YGNDSZ (ygh, nd);

-- Tax relief (减免税额) of an employee in month ny: the amount je the year's withholding is
-- lowered by from that month on.
CREATE TABLE YGJMSE (
    bh INTEGER PRIMARY KEY,
    ygh INTEGER NOT NULL,
    ny TEXT NOT NULL,
    je INTEGER NOT NULL -- amount
) STRICT;
CREATE UNIQUE INDEX YGJMSE_employee_month ON YGJMSE (ygh, ny);
