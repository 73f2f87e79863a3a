-- The history table as both programs expect it. Text columns compare without
-- regard to case (the programs register a NOCASE that folds umlauts too), so
-- "c:\dokumente\übersicht" and "C:\Dokumente\Übersicht" are the same folder.
PRAGMA page_size = 4096;
CREATE TABLE FoldersProtocol (
    FolderPath TEXT COLLATE NOCASE NOT NULL CHECK (length(FolderPath) BETWEEN 1 AND 32767),
    FolderName TEXT COLLATE NOCASE NOT NULL CHECK (length(FolderName) <= 32767),
    DateUsed   DATETIME NOT NULL
);
-- Last used: newest first.
CREATE INDEX FoldersProtocol_DateUsed ON FoldersProtocol (DateUsed);
-- Most used (grouped by path and name) and deletes by path. DateUsed rides
-- along so that a time frame is read from the index alone instead of one
-- table lookup per visit.
CREATE INDEX FoldersProtocol_PathName ON FoldersProtocol (FolderPath, FolderName, DateUsed);
