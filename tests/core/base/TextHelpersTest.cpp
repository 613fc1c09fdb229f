#include "core/base/Cp932.h"
#include "core/base/TextHelpers.h"

#include <gtest/gtest.h>

using namespace nuvask;

namespace {
QByteArray hex(const char *h) { return QByteArray::fromHex(h); }
} // namespace

TEST(SjisBytes, TrailDetectionFollowsTheLeadRunParity)
{
    // ソ = 83 5C: the 5C is a trail byte, not a path separator.
    EXPECT_TRUE(IsSjisTrailByte(hex("835c"), 1));
    // Two lead-range bytes before 5C: 83 83 is one character, so 5C stands alone.
    EXPECT_FALSE(IsSjisTrailByte(hex("83835c"), 2));
    EXPECT_TRUE(IsSjisTrailByte(hex("8383835c"), 3));
    // The run stops at a non-lead byte.
    EXPECT_FALSE(IsSjisTrailByte(hex("41 5c"), 1));
    EXPECT_FALSE(IsSjisTrailByte(hex("5c"), 0));
    EXPECT_TRUE(IsSjisLeadByte(0x81) && IsSjisLeadByte(0x9F) && IsSjisLeadByte(0xE0) && IsSjisLeadByte(0xFC));
    EXPECT_FALSE(IsSjisLeadByte(0x80) || IsSjisLeadByte(0xA0) || IsSjisLeadByte(0xDF) || IsSjisLeadByte(0xFD));
}

TEST(SjisBytes, AddTrailingBackslashTreatsATrailBackslashAsACharacter)
{
    EXPECT_EQ(AddTrailingBackslash(QByteArray()), QByteArray());
    EXPECT_EQ(AddTrailingBackslash(QByteArray("C:\\a")), QByteArray("C:\\a\\"));
    EXPECT_EQ(AddTrailingBackslash(QByteArray("C:\\a\\")), QByteArray("C:\\a\\"));
    // C:\ソ ends in 5C, but that byte belongs to ソ: a separator is still needed.
    EXPECT_EQ(AddTrailingBackslash(hex("433a5c835c")), hex("433a5c835c5c"));
    // At 3 bytes or fewer the trail rule does not apply (the 3-byte limit).
    EXPECT_EQ(AddTrailingBackslash(hex("41835c")), hex("41835c"));
    EXPECT_EQ(AddTrailingBackslash(QByteArray("/usr"), '/'), QByteArray("/usr/"));
}

TEST(SjisBytes, RemoveTrailingBackslashKeepsRootsAndTrailBytes)
{
    EXPECT_EQ(RemoveTrailingBackslash(QByteArray("C:\\")), QByteArray("C:\\"));
    EXPECT_EQ(RemoveTrailingBackslash(QByteArray("C:\\a\\")), QByteArray("C:\\a"));
    EXPECT_EQ(RemoveTrailingBackslash(QByteArray("C:\\ab")), QByteArray("C:\\ab"));
    EXPECT_EQ(RemoveTrailingBackslash(hex("433a5c835c")), hex("433a5c835c"));
    EXPECT_EQ(RemoveTrailingBackslash(hex("433a5c835c5c")), hex("433a5c835c"));
    EXPECT_EQ(RemoveTrailingBackslash(QByteArray("ab\\")), QByteArray("ab\\"));
}

TEST(SjisBytes, TruncateDbcsNeverSplitsACharacter)
{
    const QByteArray text = hex("41 835c 8140 42");
    EXPECT_EQ(TruncateDbcs(text, 0), QByteArray());
    EXPECT_EQ(TruncateDbcs(text, -3), QByteArray());
    EXPECT_EQ(TruncateDbcs(text, 6), text);
    EXPECT_EQ(TruncateDbcs(text, 99), text);
    EXPECT_EQ(TruncateDbcs(text, 2), hex("41"));       // would cut ソ in half
    EXPECT_EQ(TruncateDbcs(text, 3), hex("41835c"));
    EXPECT_EQ(TruncateDbcs(text, 4), hex("41835c"));   // 81 would be left alone
    // A run of lead-range bytes: 81 81 81 81 is two characters, cut at 3 keeps one.
    EXPECT_EQ(TruncateDbcs(hex("81818181"), 3), hex("8181"));
    // E0 here is the second byte of 81 E0, so cutting after it is fine.
    EXPECT_EQ(TruncateDbcs(hex("81e041"), 2), hex("81e0"));
}

TEST(SjisText, UnicodeWrappersCountCodePage932Bytes)
{
    const QString title = QString::fromUtf8("DORIVA SOUND ボリューム");
    EXPECT_EQ(Cp932::byteLength(title), 23);
    EXPECT_EQ(TruncateDbcs(title, 22), QString::fromUtf8("DORIVA SOUND ボリュー"));
    EXPECT_EQ(TruncateDbcs(title, 21), QString::fromUtf8("DORIVA SOUND ボリュー"));
    EXPECT_EQ(TruncateDbcs(title, 63), title);
    EXPECT_EQ(AddTrailingBackslash(QString::fromUtf8("C:\\ソ")), QString::fromUtf8("C:\\ソ\\"));
    EXPECT_EQ(RemoveTrailingBackslash(QString::fromUtf8("C:\\ソ")), QString::fromUtf8("C:\\ソ"));
    // Outside code page 932 the cut still falls between whole characters.
    EXPECT_EQ(TruncateDbcs(QString::fromUtf8("a€b"), 3), QString::fromUtf8("a"));
    // A limit the text meets exactly keeps it whole, in either measure.
    EXPECT_EQ(TruncateDbcs(QString::fromUtf8("a€"), 4), QString::fromUtf8("a€"));
    EXPECT_EQ(TruncateDbcs(QString::fromUtf8("a€"), 3), QString::fromUtf8("a"));
    EXPECT_EQ(TruncateDbcs(QString::fromUtf8("aソ"), 3), QString::fromUtf8("aソ"));
}

TEST(Cp932Codec, WindowsMappingsAndRefusal)
{
    EXPECT_EQ(Cp932::encode(QString::fromUtf8("～①ソ")), hex("8160 8740 835c"));
    EXPECT_EQ(Cp932::decode(hex("8160 8740 835c")), QString::fromUtf8("～①ソ"));
    EXPECT_FALSE(Cp932::encode(QString::fromUtf8("a€")).has_value());
    EXPECT_FALSE(Cp932::encode(QString::fromUtf8("😀")).has_value());
    EXPECT_EQ(Cp932::byteLength(QString::fromUtf8("😀")), -1);
    EXPECT_EQ(Cp932::firstUnencodable(QString::fromUtf8("ab€c😀")), QString::fromUtf8("€"));
    EXPECT_TRUE(Cp932::firstUnencodable(QString::fromUtf8("録音")).isEmpty());
    // A character outside the basic plane is named whole, not half a surrogate pair.
    EXPECT_EQ(Cp932::firstUnencodable(QString::fromUtf8("a😀")), QString::fromUtf8("😀"));
    EXPECT_EQ(Cp932::encode(QString()), QByteArray());
}

TEST(Rounding, NearestWithHalvesToEven)
{
    EXPECT_EQ(RoundDiv(65535, 256), 256);   // 255.996
    EXPECT_EQ(RoundDiv(65535, 96), 683);    // 682.66
    EXPECT_EQ(RoundDiv(65535, 8192), 8);
    EXPECT_EQ(RoundDiv(5, 2), 2);
    EXPECT_EQ(RoundDiv(7, 2), 4);
    EXPECT_EQ(RoundDiv(-5, 2), -2);
    EXPECT_EQ(RoundDiv(-7, 2), -4);
    EXPECT_EQ(RoundDiv(-1, 3), 0);
    EXPECT_EQ(RoundDiv(-2, 3), -1);
    EXPECT_EQ(RoundDiv(3, -2), -2);
    EXPECT_EQ(RoundDiv(1, 0), 0);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(1e300), INT64_MAX);
}
