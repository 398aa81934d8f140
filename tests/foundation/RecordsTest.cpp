#include "foundation/Records.h"

#include <gtest/gtest.h>

using namespace QuorvaneSDK;

TEST(Records, FreshRecordsAreEmpty) {
    const FileQuorvaneCompressed c;
    EXPECT_EQ(c.id, 0);
    EXPECT_TRUE(c.Name.isEmpty());
    EXPECT_TRUE(c.DateModified.isNull());
    EXPECT_EQ(c.ParentFile.id, 0);
    EXPECT_EQ(c.ParentFile.Media.id, 0);
    EXPECT_TRUE(c.Media.Label.isEmpty());
    EXPECT_EQ(c.Media.Type, MediaType::Unknow);
    EXPECT_TRUE(c.ExtensionInfo.SmallIcon.isNull());
    EXPECT_EQ(c.Flag, 0);

    const ErrorObject e;
    EXPECT_FALSE(e.isError());
    EXPECT_TRUE(e.Description.isEmpty());
    EXPECT_TRUE(e.OccuredOn.isNull());

    const QuorvaneSDK::SetUp s; // qualified: SetUp is also a gtest member
    EXPECT_FALSE(s.ScanSubFolders);
    EXPECT_EQ(s.CreateWordMaxWords, 0);
    EXPECT_TRUE(s.LastBackupWarning.isNull());

    const JPG j;
    EXPECT_EQ(j.Original, nullptr);
    EXPECT_TRUE(j.ThumbinalJPG.isNull());

    RarFile r;
    r.CompressedFiles.append(RarFile{});
    EXPECT_EQ(r.CompressedFiles.size(), 1);
}

TEST(Records, EnumValuesAreTheStoredOnes) {
    EXPECT_EQ(static_cast<int>(SqlSyntax::Access2000), 0);
    EXPECT_EQ(static_cast<int>(SqlSyntax::SqlServer), 1);
    EXPECT_EQ(static_cast<int>(SqlSyntax::nondefinito), 99);
    EXPECT_EQ(static_cast<int>(MediaType::FixedHD), 8);
    EXPECT_EQ(static_cast<int>(MessageType::Warning), 2);
    EXPECT_EQ(static_cast<int>(UseAPIPaintPicture::APIStretchBlt), 3);
    EXPECT_EQ(static_cast<int>(SizeType::GBytes), 3);
    EXPECT_EQ(static_cast<int>(CompressorType::RAR), 1);
}
