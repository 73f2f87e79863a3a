-- The history table as both programs expect it. Text columns compare without
-- regard to case under the programs' own comparison PFADWERK_NOCASE (which
-- folds umlauts too), so "c:\dokumente\übersicht" and
-- "C:\Dokumente\Übersicht" are the same folder. A tool that does not know
-- the comparison can read the file but cannot write it, so it can never
-- leave the indexes ordered by another rule than the table.
-- user_version counts the schema's versions: a history of an earlier build
-- (0: the comparison under SQLite's name NOCASE) is rebuilt once on opening.
PRAGMA page_size = 4096;
PRAGMA user_version = 1;
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
