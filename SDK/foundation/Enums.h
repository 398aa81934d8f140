#pragma once
// Enumerations shared by every class of the SDK and by the program.
// The numeric values are stored in the catalogue and must not change.

#include <QtGlobal>

namespace QuorvaneSDK {

// What an EAN-13 code is issued for.
enum class Item : qint32 { Media = 0, File = 1 };

// Kind of catalogued medium (column MediaType).
enum class MediaType : qint32 {
    Unknow = 0,
    CDRom = 1,
    NETWORK = 2,
    Removable = 3,
    PCMCIA = 4,
    AudioCD = 5,
    FloppyDisk = 6,
    SmartCard = 7,
    FixedHD = 8,
};

// Which file date a search filters on.
enum class DateType : qint32 { ModifiedDate = 0, CreatedDate = 1, AccessedDate = 2 };

// Which word index a word list belongs to.
enum class Targets : qint32 { File = 0, FileContained = 1 };

// Kind of preview.
enum class Preview : qint32 { Image = 0, Text = 1 };

// Archive format of a contained file (column CompressorType).
enum class CompressorType : qint32 { Zip = 0, RAR = 1 };

// Unit of a formatted size.
enum class SizeType : qint32 { bytes = 0, KBytes = 1, MBytes = 2, GBytes = 3 };

// How an image section copies its pixels when painted.
enum class UseAPIPaintPicture : qint32 { APIBitBlt = 0, APIStretchBlt = 3 };

// Priority of a message event.
enum class MessageType : qint32 { Normal = 0, Error = 1, Warning = 2 };

// Database dialect: Access2000 is the file catalogue (SQLite), SqlServer the
// server catalogue (PostgreSQL). 99 also means "the dialect currently chosen"
// where a method takes an optional dialect.
enum class SqlSyntax : qint32 { Access2000 = 0, SqlServer = 1, nondefinito = 99 };

} // namespace QuorvaneSDK
