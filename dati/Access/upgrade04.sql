-- Fast substring search of names: FTS5 trigram indexes of Files.FileName
-- and FilesContained.FileName (rowid = the row's key). Appended rows are
-- added in bulk by refresh_SearchIndex; SearchIndexState keeps the highest
-- key indexed so far, and searches read the rows above it directly.
-- Renames and deletions of indexed rows are followed by triggers.

CREATE VIRTUAL TABLE FilesNameIndex USING fts5(FileName, tokenize = 'trigram')
;;
CREATE VIRTUAL TABLE FilesContainedNameIndex USING fts5(FileName, tokenize = 'trigram')
;;
CREATE TABLE SearchIndexState (
    TableName TEXT PRIMARY KEY,
    LastID INTEGER NOT NULL
)
;;
INSERT INTO SearchIndexState (TableName, LastID) VALUES ('Files', 0)
;;
INSERT INTO SearchIndexState (TableName, LastID) VALUES ('FilesContained', 0)
;;
CREATE TRIGGER Files_NameIndex_Rename AFTER UPDATE OF FileName ON Files
WHEN old.IDFile <= (SELECT LastID FROM SearchIndexState WHERE TableName = 'Files')
BEGIN
    DELETE FROM FilesNameIndex WHERE rowid = old.IDFile;
    INSERT INTO FilesNameIndex (rowid, FileName) VALUES (new.IDFile, new.FileName);
END
;;
CREATE TRIGGER Files_NameIndex_Delete AFTER DELETE ON Files
WHEN old.IDFile <= (SELECT LastID FROM SearchIndexState WHERE TableName = 'Files')
BEGIN
    DELETE FROM FilesNameIndex WHERE rowid = old.IDFile;
END
;;
CREATE TRIGGER FilesContained_NameIndex_Rename AFTER UPDATE OF FileName ON FilesContained
WHEN old.IDFileContained <=
    (SELECT LastID FROM SearchIndexState WHERE TableName = 'FilesContained')
BEGIN
    DELETE FROM FilesContainedNameIndex WHERE rowid = old.IDFileContained;
    INSERT INTO FilesContainedNameIndex (rowid, FileName)
        VALUES (new.IDFileContained, new.FileName);
END
;;
CREATE TRIGGER FilesContained_NameIndex_Delete AFTER DELETE ON FilesContained
WHEN old.IDFileContained <=
    (SELECT LastID FROM SearchIndexState WHERE TableName = 'FilesContained')
BEGIN
    DELETE FROM FilesContainedNameIndex WHERE rowid = old.IDFileContained;
END
;;
