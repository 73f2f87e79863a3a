-- The history table as both programs expect it. Text columns compare without
-- regard to case under the programs' own comparison PFADWERK_NOCASE (which
-- folds umlauts too), so "c:\dokumente\übersicht" and
-- "C:\Dokumente\Übersicht" are the same folder. A tool that does not know
-- the comparison can read the file but cannot write it, so it can never
-- leave the indexes ordered by another rule than the table.
-- user_version counts the schema's versions: a history of an earlier build
-- (0: the comparison under SQLite's name NOCASE; 1: no FolderDays) is
-- rebuilt once on opening.
PRAGMA page_size = 4096;
PRAGMA user_version = 2;
CREATE TABLE FoldersProtocol (
    FolderPath TEXT COLLATE PFADWERK_NOCASE NOT NULL CHECK (length(FolderPath) BETWEEN 1 AND 32767),
    FolderName TEXT COLLATE PFADWERK_NOCASE NOT NULL CHECK (length(FolderName) <= 32767),
    DateUsed   DATETIME NOT NULL
);
-- Last used: newest first.
CREATE INDEX FoldersProtocol_DateUsed ON FoldersProtocol (DateUsed);
-- Most used (grouped by path and name) and deletes by path. DateUsed rides
-- along so that a time frame is read from the index alone instead of one
-- table lookup per visit.
CREATE INDEX FoldersProtocol_PathName ON FoldersProtocol (FolderPath, FolderName, DateUsed);
-- One row per folder and name as the most-used list groups them (under the
-- same comparison), kept up to date by the triggers below: how many visits
-- it has, and its newest visit (the row that a last-used list shows for it).
-- The lists read this instead of every visit; it always holds exactly what
-- grouping FoldersProtocol would give.
CREATE TABLE FolderSummary (
    FolderPath TEXT COLLATE PFADWERK_NOCASE NOT NULL,
    FolderName TEXT COLLATE PFADWERK_NOCASE NOT NULL,
    UsageCount INTEGER NOT NULL,
    LastUsed   DATETIME NOT NULL,
    LastRowid  INTEGER NOT NULL,
    LastPath   TEXT NOT NULL,
    LastName   TEXT NOT NULL,
    PRIMARY KEY (FolderPath, FolderName)
) WITHOUT ROWID;
CREATE INDEX FolderSummary_LastUsed ON FolderSummary (LastUsed, LastRowid);
CREATE INDEX FolderSummary_UsageCount ON FolderSummary (UsageCount);
-- The visits of each folder and name per day (the date part of DateUsed),
-- kept by the same triggers: a time frame of the most-used list adds up its
-- whole days here and counts single visits only on the day it begins in,
-- instead of counting every visit within it.
CREATE TABLE FolderDays (
    FolderPath TEXT COLLATE PFADWERK_NOCASE NOT NULL,
    FolderName TEXT COLLATE PFADWERK_NOCASE NOT NULL,
    Day        TEXT NOT NULL,
    Visits     INTEGER NOT NULL,
    PRIMARY KEY (FolderPath, FolderName, Day)
) WITHOUT ROWID;
CREATE TRIGGER FoldersProtocol_Insert AFTER INSERT ON FoldersProtocol BEGIN
    INSERT INTO FolderSummary VALUES (new.FolderPath, new.FolderName, 1, new.DateUsed, new.rowid,
                                      new.FolderPath, new.FolderName)
        ON CONFLICT (FolderPath, FolderName) DO UPDATE SET UsageCount = UsageCount + 1;
    UPDATE FolderSummary
        SET LastUsed = new.DateUsed, LastRowid = new.rowid, LastPath = new.FolderPath, LastName = new.FolderName
        WHERE FolderPath = new.FolderPath AND FolderName = new.FolderName
          AND (LastUsed < new.DateUsed OR (LastUsed = new.DateUsed AND LastRowid < new.rowid));
    INSERT INTO FolderDays VALUES (new.FolderPath, new.FolderName, substr(new.DateUsed, 1, 10), 1)
        ON CONFLICT (FolderPath, FolderName, Day) DO UPDATE SET Visits = Visits + 1;
END;
CREATE TRIGGER FoldersProtocol_Delete AFTER DELETE ON FoldersProtocol BEGIN
    DELETE FROM FolderSummary
        WHERE FolderPath = old.FolderPath AND FolderName = old.FolderName AND UsageCount <= 1;
    UPDATE FolderSummary SET UsageCount = UsageCount - 1
        WHERE FolderPath = old.FolderPath AND FolderName = old.FolderName;
    UPDATE FolderSummary
        SET (LastUsed, LastRowid, LastPath, LastName) =
            (SELECT DateUsed, rowid, FolderPath, FolderName FROM FoldersProtocol
                WHERE FolderPath = old.FolderPath AND FolderName = old.FolderName
                ORDER BY DateUsed DESC, rowid DESC LIMIT 1)
        WHERE FolderPath = old.FolderPath AND FolderName = old.FolderName AND LastRowid = old.rowid;
    DELETE FROM FolderDays
        WHERE FolderPath = old.FolderPath AND FolderName = old.FolderName AND Day = substr(old.DateUsed, 1, 10)
          AND Visits <= 1;
    UPDATE FolderDays SET Visits = Visits - 1
        WHERE FolderPath = old.FolderPath AND FolderName = old.FolderName AND Day = substr(old.DateUsed, 1, 10);
END;
-- Visits are only ever appended and deleted; a change in place would leave
-- the summary wrong.
CREATE TRIGGER FoldersProtocol_Update BEFORE UPDATE ON FoldersProtocol BEGIN
    SELECT RAISE(ABORT, 'visits are not changed in place');
END;
