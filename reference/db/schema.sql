-- The company database of the demo ERP: the tables the host's services, the application server
-- and the module read and write. Plain SQL that both SQLite and SQL Server accept. Texts are
-- stored as UTF-8; the database layer converts them to the code page of each connection.

-- Companies kept in this database.
CREATE TABLE QMXCOMPANY (
    COMPANY     VARCHAR(20)  NOT NULL PRIMARY KEY,
    NAME        VARCHAR(80)  NOT NULL,
    TAXNO       VARCHAR(20)  NOT NULL DEFAULT '',
    ADDRESS     VARCHAR(120) NOT NULL DEFAULT ''
);

-- System parameters (Sys001 date style, Sys002 date separator, QMX002 system title, SYS007 to
-- SYS010 goods category labels...). COMPANY '' holds the values every company shares; a row of
-- the company itself overrides one of the same name.
CREATE TABLE QMXPARAM (
    COMPANY     VARCHAR(20)  NOT NULL DEFAULT '',
    PARAMNAME   VARCHAR(20)  NOT NULL,
    PARAMVALUE  VARCHAR(255) NOT NULL DEFAULT '',
    REMARK      VARCHAR(80)  NOT NULL DEFAULT '',
    PRIMARY KEY (COMPANY, PARAMNAME)
);

-- Programs.
CREATE TABLE ADMMB (
    MB001       VARCHAR(10)  NOT NULL PRIMARY KEY,  -- program code
    MB002       VARCHAR(60)  NOT NULL,              -- name
    MB003       VARCHAR(10)  NOT NULL DEFAULT '',   -- subsystem
    MB004       CHAR(1)      NOT NULL DEFAULT 'N',  -- Y: runs in the background only
    MB005       CHAR(1)      NOT NULL DEFAULT 'R',  -- R report, B batch job
    MB006       VARCHAR(20)  NOT NULL DEFAULT '',   -- version of the client library
    MB007       VARCHAR(40)  NOT NULL DEFAULT '',   -- client library file
    MB008       VARCHAR(80)  NOT NULL DEFAULT ''    -- English name
);

-- Users.
CREATE TABLE QMXMA (
    MA001       VARCHAR(10)  NOT NULL PRIMARY KEY,  -- user id
    MA002       VARCHAR(30)  NOT NULL,              -- name
    MA003       VARCHAR(20)  NOT NULL DEFAULT '',   -- mobile number
    MA004       VARCHAR(60)  NOT NULL DEFAULT '',   -- e-mail address
    MA005       VARCHAR(10)  NOT NULL DEFAULT '',   -- user group
    MA006       CHAR(1)      NOT NULL DEFAULT 'Y'   -- Y: active
);

-- Rights of users on programs. MF002 '*' applies to every program without a row of its own.
-- MF004: eight flags Y/N: query, add, change, delete, print, export, lookup several rows,
-- see amounts. MF005/MF006: the lookup table whose rows the user is limited to, and the codes
-- allowed in it (comma-separated); empty: no limit.
CREATE TABLE ADMMF (
    MF001       VARCHAR(10)  NOT NULL,
    MF002       VARCHAR(10)  NOT NULL,
    MF003       VARCHAR(10)  NOT NULL DEFAULT '',
    MF004       CHAR(8)      NOT NULL DEFAULT 'YYYYYYYY',
    MF005       VARCHAR(10)  NOT NULL DEFAULT '',
    MF006       VARCHAR(255) NOT NULL DEFAULT '',
    PRIMARY KEY (MF001, MF002)
);

-- System values (MA001 name, MA003 value), e.g. 'StartupPortal' and 'Portal WS'.
CREATE TABLE QMXINTMA (
    MA001       VARCHAR(30)  NOT NULL PRIMARY KEY,
    MA002       VARCHAR(80)  NOT NULL DEFAULT '',   -- description
    MA003       VARCHAR(255) NOT NULL DEFAULT ''
);

-- Message texts of the host, by type letter and six-digit number; placeholders as %s.
CREATE TABLE QMXMSG (
    MS001       CHAR(1)      NOT NULL,              -- type letter
    MS002       CHAR(6)      NOT NULL,              -- number
    MS003       VARCHAR(255) NOT NULL,              -- Chinese text
    MS004       VARCHAR(255) NOT NULL DEFAULT '',   -- English text
    PRIMARY KEY (MS001, MS002)
);

-- Common phrases offered by the phrase window; PH001 '' is everyone's.
CREATE TABLE QMXPHRASE (
    PH001       VARCHAR(10)  NOT NULL DEFAULT '',
    PH002       INTEGER      NOT NULL,
    PH003       VARCHAR(255) NOT NULL,
    PRIMARY KEY (PH001, PH002)
);

-- Condition schemes, one per name, user and program.
CREATE TABLE GENES (
    NCONDITION  VARCHAR(20)  NOT NULL,              -- name
    SCONDITION  TEXT         NOT NULL DEFAULT '',   -- control list
    VCONDITION  TEXT         NOT NULL DEFAULT '',   -- value text
    CREATE_DATE CHAR(8)      NOT NULL,              -- yyyymmdd
    CREATOR     VARCHAR(10)  NOT NULL,
    PROGRAMME   VARCHAR(10)  NOT NULL,
    PRIMARY KEY (NCONDITION, CREATOR, PROGRAMME)
);

-- Customers.
CREATE TABLE COPMA (
    MA001       VARCHAR(10)  NOT NULL PRIMARY KEY,  -- customer number
    MA002       VARCHAR(30)  NOT NULL,              -- short name
    MA003       VARCHAR(80)  NOT NULL DEFAULT '',   -- full name
    MA004       VARCHAR(20)  NOT NULL DEFAULT '',   -- tax number
    MA005       VARCHAR(20)  NOT NULL DEFAULT '',   -- telephone
    MA006       VARCHAR(120) NOT NULL DEFAULT '',   -- address
    MA007       VARCHAR(60)  NOT NULL DEFAULT ''    -- bank and account
);

-- Sales-invoice drafts of the tax-control interface (header).
CREATE TABLE TISTA (
    TA001       VARCHAR(20)  NOT NULL PRIMARY KEY,  -- draft number
    TA002       CHAR(8)      NOT NULL,              -- source date yyyymmdd
    TA003       VARCHAR(10)  NOT NULL,              -- customer (COPMA)
    TA004       CHAR(1)      NOT NULL DEFAULT 'A',  -- invoice kind: A special, B plain VAT invoice
    TA005       DECIMAL(16,2) NOT NULL DEFAULT 0,   -- amount without tax
    TA006       DECIMAL(16,2) NOT NULL DEFAULT 0,   -- tax
    TA007       DECIMAL(16,2) NOT NULL DEFAULT 0,   -- total
    TA008       CHAR(1)      NOT NULL DEFAULT 'N',  -- Y: exported
    TA009       VARCHAR(20)  NOT NULL DEFAULT '',   -- source document (sales order, delivery)
    TA010       VARCHAR(120) NOT NULL DEFAULT ''    -- remark
);

-- Sales-invoice draft lines.
CREATE TABLE TISTB (
    TB001       VARCHAR(20)  NOT NULL,              -- draft number
    TB002       CHAR(4)      NOT NULL,              -- line number
    TB003       VARCHAR(20)  NOT NULL,              -- item number
    TB004       VARCHAR(60)  NOT NULL,              -- item name
    TB005       VARCHAR(60)  NOT NULL DEFAULT '',   -- size or model
    TB006       VARCHAR(6)   NOT NULL DEFAULT '',   -- unit
    TB007       DECIMAL(16,3) NOT NULL DEFAULT 0,   -- quantity
    TB008       DECIMAL(16,6) NOT NULL DEFAULT 0,   -- unit price without tax
    TB009       DECIMAL(16,2) NOT NULL DEFAULT 0,   -- amount without tax
    TB010       DECIMAL(5,4)  NOT NULL DEFAULT 0,   -- tax rate
    TB011       DECIMAL(16,2) NOT NULL DEFAULT 0,   -- tax
    PRIMARY KEY (TB001, TB002)
);

-- Notification settings per program (header and lines). MD004 is the event ('6': a job run
-- directly has ended); MD007 holds the receivers document, the text and the title.
CREATE TABLE TMCMC (
    MC001       VARCHAR(10)  NOT NULL,
    MC002       VARCHAR(10)  NOT NULL,
    MC003       VARCHAR(60)  NOT NULL DEFAULT '',   -- name
    MC004       VARCHAR(10)  NOT NULL DEFAULT '',   -- subsystem
    MC005       VARCHAR(10)  NOT NULL,              -- program code
    PRIMARY KEY (MC001, MC002)
);

CREATE TABLE TMCMD (
    MD001       VARCHAR(10)  NOT NULL,
    MD002       VARCHAR(10)  NOT NULL,
    MD003       CHAR(4)      NOT NULL,              -- line number
    MD004       CHAR(1)      NOT NULL,              -- event
    MD005       VARCHAR(60)  NOT NULL DEFAULT '',   -- description
    MD006       CHAR(1)      NOT NULL DEFAULT 'Y',  -- Y: active
    MD007       TEXT,                               -- setting: receivers||text||title text
    PRIMARY KEY (MD001, MD002, MD003)
);

-- Messages to users: ADMTC unread, ADMTD read (moved there by the message center). The number
-- is the day yyyymmdd followed by a six-digit sequence of that day across both tables.
CREATE TABLE ADMTC (
    TC001       CHAR(14)     NOT NULL PRIMARY KEY,
    TC002       VARCHAR(10)  NOT NULL DEFAULT '',   -- sender
    TC003       TEXT,                               -- receivers document
    TC004       CHAR(17)     NOT NULL,              -- time stamp yyyymmddhhnnsszzz
    TC005       CHAR(1)      NOT NULL DEFAULT 'N',  -- Y: delivered
    TC006       VARCHAR(120) NOT NULL DEFAULT '',   -- title
    TC007       TEXT,
    TC008       TEXT,
    TC009       CHAR(1)      NOT NULL DEFAULT '',   -- kind
    COMPANY     VARCHAR(20)  NOT NULL DEFAULT '',
    CREATOR     VARCHAR(10)  NOT NULL DEFAULT '',
    CREATE_DATE VARCHAR(17)  NOT NULL DEFAULT '',
    FLAG        INTEGER      NOT NULL DEFAULT 0
);

CREATE TABLE ADMTD (
    TD001       CHAR(14)     NOT NULL PRIMARY KEY,
    TD002       VARCHAR(10)  NOT NULL DEFAULT '',
    TD003       TEXT,
    TD004       CHAR(17)     NOT NULL,
    TD005       CHAR(1)      NOT NULL DEFAULT 'Y',
    TD006       VARCHAR(120) NOT NULL DEFAULT '',
    TD007       TEXT,
    TD008       TEXT,
    TD009       CHAR(1)      NOT NULL DEFAULT '',
    COMPANY     VARCHAR(20)  NOT NULL DEFAULT '',
    CREATOR     VARCHAR(10)  NOT NULL DEFAULT '',
    CREATE_DATE VARCHAR(17)  NOT NULL DEFAULT '',
    FLAG        INTEGER      NOT NULL DEFAULT 0
);
