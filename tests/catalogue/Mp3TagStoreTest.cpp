#include "CatalogueFixture.h"

#include "catalogue/Mp3TagStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace QuorvaneSDK;
using namespace QuorvaneTest;

namespace {

// Ten 417-byte MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz, stereo) and
// an ID3v1 tag whose fields are padded with NUL bytes.
QByteArray mp3Bytes(const QByteArray& title, const QByteArray& artist) {
    QByteArray data;
    for (int i = 0; i < 10; ++i) {
        QByteArray frame(417, '\0');
        frame[0] = char(0xFF);
        frame[1] = char(0xFB);
        frame[2] = char(0x90);
        frame[3] = char(0x00);
        data += frame;
    }
    auto field = [](const QByteArray& text, int size) {
        return text.left(size) + QByteArray(size - qMin<int>(size, text.size()), '\0');
    };
    data += "TAG" + field(title, 30) + field(artist, 30) + field("Album", 30) + field("1999", 4) +
            field("Note", 30) + char(17);
    return data;
}

class Mp3TagStoreTest : public CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(folder.isValid());
        media = addMedia(QStringLiteral("Music"));
    }

    QString writeMp3(const QByteArray& title, const QByteArray& artist = "Artist") {
        const QString path = folder.filePath(QStringLiteral("song.mp3"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(mp3Bytes(title, artist));
        return path;
    }

    static MP3Tags sample(qint32 id, const QString& title) {
        MP3Tags t;
        t.IDFile = id;
        t.Title = title;
        t.Artist = QStringLiteral("Guns N' Roses");
        t.Album = QStringLiteral("Album");
        t.Year = QStringLiteral("1999");
        t.Comment = QStringLiteral("c");
        t.Genre = QStringLiteral("Rock");
        t.MPEGVersion = QStringLiteral("1.0");
        t.Layer = QStringLiteral("3");
        t.BitRate = QStringLiteral("128");
        t.SampleRate = QStringLiteral("44100");
        t.Padding = 1;
        t.ChannelMode = QStringLiteral("Stereo");
        t.ModeExtension = QStringLiteral("00");
        t.Copyright = true;
        t.Original = false;
        t.Emphasis = QStringLiteral("None");
        t.FrameLength = 418;
        t.TotalFrames = 9570;
        t.PlayTime = 250.05f;
        return t;
    }

    QTemporaryDir folder;
    qint32 media = 0;
};

TEST(Mp3TagCleanUp, DeletesControlCodesAndEveryPairOfBlanks) {
    const struct {
        QString in;
        QString out;
    } cases[] = {
        {QStringLiteral("Hello  World"), QStringLiteral("HelloWorld")},
        {QStringLiteral("Hello   World"), QStringLiteral("Hello World")},
        {QStringLiteral("Hello    World"), QStringLiteral("HelloWorld")},
        {QStringLiteral("  Title\u0000\u0000"), QStringLiteral("Title")},
        {QStringLiteral("A\u0001B"), QStringLiteral("AB")},
        {QStringLiteral(" x \u0000 "), QStringLiteral("x")},
        {QString(), QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Mp3TagStore::cleanTag(c.in), c.out) << c.in.toStdString();
}

TEST_P(Mp3TagStoreTest, DetailsOfTheFileJustAppendedRoundTrip) {
    const qint32 file = addFile(media, QStringLiteral("/m/"), QStringLiteral("song.mp3"));
    MP3Tags tags = main().get_MP3Details(writeMp3("Hello  World", "It's me"));
    EXPECT_EQ(tags.IDFile, file);
    EXPECT_EQ(tags.Title, QStringLiteral("HelloWorld"));
    EXPECT_EQ(tags.Artist, QStringLiteral("It's me"));
    EXPECT_EQ(tags.Album, QStringLiteral("Album"));
    EXPECT_EQ(tags.Year, QStringLiteral("1999"));
    EXPECT_EQ(tags.BitRate, QStringLiteral("128"));
    EXPECT_EQ(tags.SampleRate, QStringLiteral("44100"));
    EXPECT_EQ(tags.FrameLength, 417);
    EXPECT_GT(tags.PlayTime, 0.0f);
    EXPECT_FALSE(tags.Genre.isEmpty());
    EXPECT_FALSE(main().get_FileHasMP3Info(file, 0));

    main().set_Mp3Tags(tags);
    EXPECT_TRUE(main().get_FileHasMP3Info(file, 0));
    const MP3Tags back = main().get_FileMP3Info(file, 0);
    MP3Tags expected = tags;
    expected.FullName.clear(); // never stored
    EXPECT_EQ(back, expected);
}

TEST_P(Mp3TagStoreTest, EveryStoredFieldComesBack) {
    const qint32 file = addFile(media, QStringLiteral("/m/"), QStringLiteral("a.mp3"));
    MP3Tags tags = sample(file, QStringLiteral("Title"));
    main().set_Mp3Tags(tags);
    EXPECT_EQ(main().get_FileMP3Info(file, 0), tags);
}

TEST_P(Mp3TagStoreTest, ContainedFileTagsGoToTheirOwnTable) {
    const qint32 archive = addFile(media, QStringLiteral("/m/"), QStringLiteral("songs.zip"));
    const qint32 entry = addEntry(archive, QStringLiteral("inner.mp3"));
    MP3Tags tags = sample(entry, QStringLiteral("Inner"));
    main().set_Mp3Tags(tags, Targets::FileContained);

    EXPECT_TRUE(main().get_FileHasMP3Info(-1, entry));
    EXPECT_EQ(main().get_FileMP3Info(-1, entry), tags);
    // The archive itself does not claim to be an MP3.
    EXPECT_FALSE(main().get_FileHasMP3Info(archive, 0));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from Mp3TagsFile")), 0);
    EXPECT_EQ(scalar(QStringLiteral("select IDFileContained from Mp3TagsFileContained")), entry);
}

TEST_P(Mp3TagStoreTest, FileKeyTakesPrecedenceAndZeroKeysAskNothing) {
    const qint32 file = addFile(media, QStringLiteral("/m/"), QStringLiteral("a.mp3"));
    const qint32 entry = addEntry(file, QStringLiteral("b.mp3"));
    MP3Tags own = sample(file, QStringLiteral("Own"));
    MP3Tags inner = sample(entry, QStringLiteral("Inner"));
    main().set_Mp3Tags(own);
    main().set_Mp3Tags(inner, Targets::FileContained);
    EXPECT_EQ(main().get_FileMP3Info(file, entry).Title, QStringLiteral("Own"));
    EXPECT_EQ(main().get_FileMP3Info(0, entry).Title, QStringLiteral("Inner"));

    dropTable(QStringLiteral("Mp3TagsFile"));
    dropTable(QStringLiteral("Mp3TagsFileContained"));
    EXPECT_EQ(main().get_FileMP3Info(0, 0), MP3Tags{});
    EXPECT_FALSE(main().get_FileHasMP3Info(0, 0));
    // With a key the query runs, and its failure reaches the caller.
    EXPECT_THROW(main().get_FileMP3Info(file, 0), CatalogueError);
    EXPECT_THROW(main().get_FileHasMP3Info(0, entry), CatalogueError);
}

TEST_P(Mp3TagStoreTest, TwoRowsOfOneFileReadTheFirst) {
    const qint32 file = addFile(media, QStringLiteral("/m/"), QStringLiteral("a.mp3"));
    MP3Tags first = sample(file, QStringLiteral("First"));
    MP3Tags second = sample(file, QStringLiteral("Second"));
    main().set_Mp3Tags(first);
    main().set_Mp3Tags(second);
    EXPECT_TRUE(main().get_FileHasMP3Info(file, 0));
    EXPECT_EQ(main().get_FileMP3Info(file, 0).Title, QStringLiteral("First"));
}

TEST_P(Mp3TagStoreTest, OwnerNotStoredAppendsNothing) {
    MP3Tags tags = sample(0, QStringLiteral("Orphan"));
    main().set_Mp3Tags(tags);
    main().set_Mp3Tags(tags, Targets::FileContained);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from Mp3TagsFile")), 0);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from Mp3TagsFileContained")), 0);
}

TEST_P(Mp3TagStoreTest, EmptyResultForAFileThatIsNoMp3) {
    addFile(media, QStringLiteral("/m/"), QStringLiteral("x.mp3"));
    const QString path = folder.filePath(QStringLiteral("zeros.mp3"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(70000, '\0'));
    file.close();
    const MP3Tags tags = main().get_MP3Details(path);
    EXPECT_TRUE(tags.Title.isEmpty());
    EXPECT_TRUE(tags.BitRate.isEmpty());
    EXPECT_EQ(main().get_MP3Details(folder.filePath(QStringLiteral("missing.mp3"))).Title,
              QString());
}

QUORVANE_ENGINE_TEST_SUITE(Mp3TagStoreTest);

} // namespace
