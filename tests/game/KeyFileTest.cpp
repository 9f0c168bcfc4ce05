#include "game/KeyFile.h"

#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

namespace {

typedef std::vector<std::wstring> Lines;

// Reads "[cash]" (int), "[name]" (text), "[pair]" (list) and "[two]" (two lines) as the game's
// readers do.
struct Sample {
    int cash = -7;
    std::wstring name = L"unset";
    std::vector<std::wstring> pair;
    int pairs = 0;
    std::wstring first, second;

    explicit Sample(const Lines& lines)
    {
        KeyFileReader r("sample.txt", lines);
        for (; r.more(); r.advance()) {
            if (r.key(L"[cash]"))
                r.readInt(cash);
            if (r.key(L"[name]"))
                name = r.value();
            if (r.key(L"[pair]")) {
                pair = r.items();
                ++pairs;
            }
            if (r.key(L"[two]", 2)) {
                first = r.value();
                second = r.value();
            }
        }
    }
};

TEST(KeyFileReader, KeyLinesAreWholeLinesComparedInLowerCase)
{
    EXPECT_EQ(Sample({L"[CASH]", L"12"}).cash, 12);
    EXPECT_EQ(Sample({L"[Cash]", L"-3"}).cash, -3);
    // A blank after the key makes it no key; its value line is then an ordinary line.
    EXPECT_EQ(Sample({L"[cash] ", L"12"}).cash, -7);
    EXPECT_EQ(Sample({L" [cash]", L"12"}).cash, -7);
    // Value lines are taken unchanged, and lines that are no key serve as comments.
    Sample s({L"# a comment", L"[name]", L"  Mixed Case  ", L"junk"});
    EXPECT_EQ(s.name, L"  Mixed Case  ");
}

TEST(KeyFileReader, RepeatedKeysKeepTheLastSingleValueAndAddListEntries)
{
    Sample s({L"[cash]", L"1", L"[pair]", L"10   20", L"", L"[cash]", L"2", L"[pair]", L" 30 "});
    EXPECT_EQ(s.cash, 2);
    EXPECT_EQ(s.pairs, 2);
    EXPECT_EQ(s.pair, (Lines{L"30"}));
    EXPECT_EQ(Sample({L"[pair]", L"10   20"}).pair, (Lines{L"10", L"20"}));
}

TEST(KeyFileReader, EmptyValueLineIsAnEmptyTextOrAMalformedNumber)
{
    EXPECT_EQ(Sample({L"[name]", L"", L"x"}).name, L"");
    testing::internal::CaptureStdout();
    EXPECT_EQ(Sample({L"[cash]", L"", L"5"}).cash, -7);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("sample.txt"), std::string::npos);
    EXPECT_NE(out.find("[cash]"), std::string::npos);
}

TEST(KeyFileReader, MalformedNumbersKeepTheFieldWithAWarning)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(Sample({L"[cash]", L"12x"}).cash, -7);
    EXPECT_EQ(Sample({L"[cash]", L" 12"}).cash, -7);
    EXPECT_EQ(Sample({L"[cash]", L"1.5"}).cash, -7);
    EXPECT_EQ(Sample({L"[cash]", L"99999999999"}).cash, -7);
    KeyFileReader r("f.txt", Lines{L"[x]", L"nan"});
    float value = 3.0f;
    EXPECT_TRUE(r.key(L"[x]"));
    EXPECT_FALSE(r.readFloat(value));
    EXPECT_EQ(value, 3.0f);
    // A real stored in an integer is truncated toward zero, and must fit one.
    KeyFileReader reals("f.txt", Lines{L"[x]", L"2.9", L"-2.9", L"1e20"});
    int truncated = 5;
    ASSERT_TRUE(reals.key(L"[x]"));
    EXPECT_TRUE(reals.readTruncated(truncated));
    EXPECT_EQ(truncated, 2);
    EXPECT_TRUE(reals.readTruncated(truncated));
    EXPECT_EQ(truncated, -2);
    EXPECT_FALSE(reals.readTruncated(truncated));
    EXPECT_EQ(truncated, -2);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Warning: sample.txt, [cash]: not an integer: \"12x\""), std::string::npos);
    EXPECT_NE(out.find("too large"), std::string::npos);
}

TEST(KeyFileReader, KeysCutOffByTheEndOfTheFileAreIgnored)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(Sample({L"[cash]", L"4", L"[cash]"}).cash, 4);
    Sample s({L"[two]", L"only one"});
    EXPECT_EQ(s.first, L"");
    EXPECT_NE(testing::internal::GetCapturedStdout().find("cut off"), std::string::npos);
}

TEST(KeyFileReader, AValueLineIsNeverAKey)
{
    // "[name]"'s value is itself the key "[cash]": it stays the name, so what was written as a
    // value reads back as that value.
    KeyFileReader r("f.txt", Lines{L"[name]", L"[cash]", L"5"});
    std::wstring name;
    int cash = 0;
    for (; r.more(); r.advance()) {
        if (r.key(L"[name]"))
            name = r.value();
        if (r.key(L"[cash]"))
            r.readInt(cash);
    }
    EXPECT_EQ(name, L"[cash]");
    EXPECT_EQ(cash, 0);
}

TEST(KeyFileReader, MonthKeysCompareExactly)
{
    KeyFileReader r("f.txt", Lines{L"[mbalancethismonth]", L"1", L"[mBalanceThisMonth]", L"2"});
    int hits = 0;
    for (; r.more(); r.advance())
        if (r.exactKey(L"[mBalanceThisMonth]")) {
            ++hits;
            EXPECT_EQ(r.value(), L"2");
        }
    EXPECT_EQ(hits, 1);
}

TEST(KeyFileWriter, WritesKeyValuesAndEmptyLineAsUtf8WithMark)
{
    TempDir dir;
    KeyFileWriter w;
    w.key(L"[name]").line(L"Zo\u00eb").end();
    w.key(L"[date]").line({L"5", L"9", L"2010"}).end();
    w.key(L"[last]").line(L"x");
    ASSERT_TRUE(w.write(dir.file("out.txt")));
    EXPECT_EQ(dir.read("out.txt"), "\xEF\xBB\xBF[name]\nZo\xC3\xAB\n\n[date]\n5 9 2010\n\n[last]\nx");

    KeyFileReader r(dir.file("out.txt"));
    std::wstring name;
    std::vector<std::wstring> date;
    for (; r.more(); r.advance()) {
        if (r.key(L"[name]"))
            name = r.value();
        if (r.key(L"[date]"))
            date = r.items();
    }
    EXPECT_EQ(name, L"Zo\u00eb");
    EXPECT_EQ(date, (Lines{L"5", L"9", L"2010"}));
}

TEST(KeyFileWriter, NumbersReadBackExactly)
{
    EXPECT_EQ(intText(-42), L"-42");
    EXPECT_EQ(flagText(5), L"1");
    EXPECT_EQ(flagText(0), L"0");
    EXPECT_EQ(realText(0.1f), L"0.100000001");
    EXPECT_EQ(realText(2.0f), L"2");
    EXPECT_EQ(realText(0.0f), L"0");
    EXPECT_EQ(realText(1.5f), L"1.5");
    std::wstring tiny = realText(1e-5f);
    EXPECT_NE(tiny.find(L'e'), std::wstring::npos);

    for (float value : {0.1f, 2.0f, 1e-5f, 0.35f * 1.2345f, -3.75e7f}) {
        KeyFileReader r("f.txt", Lines{L"[x]", realText(value)});
        float back = 0.0f;
        ASSERT_TRUE(r.key(L"[x]"));
        ASSERT_TRUE(r.readFloat(back));
        EXPECT_EQ(back, value);
    }
}

} // namespace
