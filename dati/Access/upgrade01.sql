-- Catalogue schema, SQLite file catalogue.
-- Table t3 (the record of applied scripts) is created by the SDK itself
-- before any script runs, so that every script can be recorded.
-- Statements are separated by a line holding only ";;" (see README.md).
-- Keys: INTEGER PRIMARY KEY AUTOINCREMENT, so a deleted row's key is never
-- handed out again (grids and callers keep keys).
-- Sizes are 64-bit integers, dates ISO text 'YYYY-MM-DD HH:MM:SS',
-- Booleans 1/0. Every relation deletes its dependent rows (the connection
-- switches foreign keys on).

CREATE TABLE Media (
    IDMedia INTEGER PRIMARY KEY AUTOINCREMENT,
    MediaName TEXT,
    MediaSerialNumber TEXT,
    MediaisNetwork SMALLINT,
    MediaEan13 TEXT,
    MediaSize BIGINT,
    MediaUsedSpace BIGINT,
    MediaFreeSpace BIGINT,
    MediaType INTEGER,
    MediaPartitionType TEXT,
    MediaDescription TEXT,
    MediaGroup TEXT
)
;;
CREATE INDEX Media_SerialNumber ON Media (MediaSerialNumber)
;;
CREATE INDEX Media_Name ON Media (MediaName)
;;
CREATE TABLE Files (
    IDFile INTEGER PRIMARY KEY AUTOINCREMENT,
    IDMedia INTEGER NOT NULL REFERENCES Media (IDMedia) ON DELETE CASCADE,
    FolderName TEXT,
    FileName TEXT,
    FileExtension TEXT,
    FileSize BIGINT,
    FileDateCreated TEXT,
    FileDateAccessed TEXT,
    FileDateModified TEXT,
    FileProperties TEXT,
    FileDescription TEXT,
    OptionalDescription TEXT,
    Flag SMALLINT,
    FileEan13 TEXT
)
;;
CREATE INDEX Files_Media_Folder_Name ON Files (IDMedia, FolderName, FileName)
;;
CREATE TABLE FilesContained (
    IDFileContained INTEGER PRIMARY KEY AUTOINCREMENT,
    IDFile INTEGER NOT NULL REFERENCES Files (IDFile) ON DELETE CASCADE,
    FileName TEXT,
    FileExtension TEXT,
    FilePath TEXT,
    FileCompressedSize BIGINT,
    FileCompressionRatio DOUBLE PRECISION,
    FileDateLastModified TEXT,
    FileProperties TEXT,
    Comment TEXT,
    FileSize BIGINT,
    FileDateCreated TEXT,
    FileDateAccessed TEXT,
    CompressorType INTEGER,
    OptionalDescription TEXT,
    Flag SMALLINT
)
;;
CREATE INDEX FilesContained_File ON FilesContained (IDFile)
;;
CREATE TABLE Mp3TagsFile (
    IDMP3Tag INTEGER PRIMARY KEY AUTOINCREMENT,
    IDFile INTEGER NOT NULL REFERENCES Files (IDFile) ON DELETE CASCADE,
    Title TEXT,
    Artist TEXT,
    Album TEXT,
    Year TEXT,
    Comment TEXT,
    Genre TEXT,
    MPEGVersion TEXT,
    Layer TEXT,
    BitRate TEXT,
    SampleRate TEXT,
    Padding SMALLINT,
    ChannelMode TEXT,
    ModeExtension TEXT,
    Copyright SMALLINT,
    Original SMALLINT,
    Emphasis TEXT,
    FrameLength SMALLINT,
    TotalFrames INTEGER,
    PlayTime DOUBLE PRECISION
)
;;
CREATE INDEX Mp3TagsFile_File ON Mp3TagsFile (IDFile)
;;
CREATE TABLE Mp3TagsFileContained (
    IDMP3Tag INTEGER PRIMARY KEY AUTOINCREMENT,
    IDFileContained INTEGER NOT NULL
        REFERENCES FilesContained (IDFileContained) ON DELETE CASCADE,
    Title TEXT,
    Artist TEXT,
    Album TEXT,
    Year TEXT,
    Comment TEXT,
    Genre TEXT,
    MPEGVersion TEXT,
    Layer TEXT,
    BitRate TEXT,
    SampleRate TEXT,
    Padding SMALLINT,
    ChannelMode TEXT,
    ModeExtension TEXT,
    Copyright SMALLINT,
    Original SMALLINT,
    Emphasis TEXT,
    FrameLength SMALLINT,
    TotalFrames INTEGER,
    PlayTime DOUBLE PRECISION
)
;;
CREATE INDEX Mp3TagsFileContained_File ON Mp3TagsFileContained (IDFileContained)
;;
CREATE TABLE PreviewFile (
    IDFile INTEGER NOT NULL REFERENCES Files (IDFile) ON DELETE CASCADE,
    PreviewText TEXT,
    PreviewBinary BLOB,
    Type INTEGER
)
;;
CREATE INDEX PreviewFile_File_Type ON PreviewFile (IDFile, Type)
;;
CREATE TABLE PreviewFileContained (
    IDFileContained INTEGER NOT NULL
        REFERENCES FilesContained (IDFileContained) ON DELETE CASCADE,
    PreviewText TEXT,
    PreviewBinary BLOB,
    Type INTEGER
)
;;
CREATE INDEX PreviewFileContained_File_Type ON PreviewFileContained (IDFileContained, Type)
;;
CREATE TABLE Words (
    IDWord INTEGER PRIMARY KEY AUTOINCREMENT,
    Word TEXT NOT NULL
)
;;
CREATE UNIQUE INDEX Words_Word_Lower ON Words (lower(Word))
;;
CREATE TABLE WordsFileIndex (
    IDIndex INTEGER PRIMARY KEY AUTOINCREMENT,
    IDWord INTEGER NOT NULL REFERENCES Words (IDWord) ON DELETE CASCADE,
    IDFile INTEGER NOT NULL REFERENCES Files (IDFile) ON DELETE CASCADE
)
;;
CREATE UNIQUE INDEX WordsFileIndex_File_Word ON WordsFileIndex (IDFile, IDWord)
;;
CREATE INDEX WordsFileIndex_Word ON WordsFileIndex (IDWord)
;;
CREATE TABLE WordsFileContainedIndex (
    IDIndex INTEGER PRIMARY KEY AUTOINCREMENT,
    IDWord INTEGER NOT NULL REFERENCES Words (IDWord) ON DELETE CASCADE,
    IDFileContained INTEGER NOT NULL
        REFERENCES FilesContained (IDFileContained) ON DELETE CASCADE
)
;;
CREATE UNIQUE INDEX WordsFileContainedIndex_File_Word
    ON WordsFileContainedIndex (IDFileContained, IDWord)
;;
CREATE INDEX WordsFileContainedIndex_Word ON WordsFileContainedIndex (IDWord)
;;
CREATE TABLE Istanze (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Identita TEXT
)
