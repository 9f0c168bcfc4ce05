#include "core/platform.h"

#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

namespace {

TEST(WildcardMatch, StarTakesAnyRunCaseInsensitively)
{
    EXPECT_TRUE(FindMatch("*.txt", "profile1.txt"));
    EXPECT_TRUE(FindMatch("*.txt", "A.TXT"));
    EXPECT_TRUE(FindMatch("*.txt", "a.txt.txt"));
    EXPECT_FALSE(FindMatch("*.txt", "a.txt.bak"));
    EXPECT_TRUE(FindMatch("a*b*c", "axxbyyc"));
    EXPECT_TRUE(FindMatch("a*b*c", "abc"));
    EXPECT_FALSE(FindMatch("a*b*c", "acb"));
    EXPECT_TRUE(FindMatch("a**c", "abc"));
    EXPECT_TRUE(FindMatch("ab*", "ab"));
    EXPECT_FALSE(FindMatch("*abc", "ab"));
}

TEST(WildcardMatch, QuestionMarkTakesExactlyOneCharacter)
{
    EXPECT_TRUE(FindMatch("profile?.txt", "profile1.txt"));
    EXPECT_FALSE(FindMatch("profile?.txt", "profile10.txt"));
    EXPECT_FALSE(FindMatch("profile?.txt", "profile.txt"));
    EXPECT_TRUE(FindMatch("*?", "x"));
    EXPECT_FALSE(FindMatch("*?", ""));
}

TEST(WildcardMatch, LiteralPatternsAndEdges)
{
    EXPECT_TRUE(FindMatch("*", "."));
    EXPECT_TRUE(FindMatch("*", ".."));
    EXPECT_TRUE(FindMatch("*", ""));
    EXPECT_TRUE(FindMatch("", ""));
    EXPECT_FALSE(FindMatch("", "a"));
    EXPECT_TRUE(FindMatch("abc", "ABC"));
    EXPECT_FALSE(FindMatch("ab", "abc"));
    EXPECT_FALSE(FindMatch("abcd", "abc"));
    EXPECT_TRUE(FindMatch("\xC9t\xE9", "\xC9T\xE9")); // bytes above 127 compare as they are
}

std::set<std::string> collect(const std::string& pattern)
{
    std::set<std::string> names;
    std::string name;
    FindHandle* handle = FindFirst(pattern.c_str(), name);
    if (handle) {
        do
            names.insert(name);
        while (FindNext(handle, name));
    }
    FindClose(handle);
    return names;
}

TEST(DirectorySearch, FindsEveryMatchOnceAndSplitsAtEitherSeparator)
{
    TempDir dir;
    dir.write("a.txt", "");
    dir.write("B.TXT", "");
    dir.write("c.png", "");
    EXPECT_EQ(collect(dir.path() + "/*.txt"), (std::set<std::string>{"a.txt", "B.TXT"}));
    EXPECT_EQ(collect(dir.path() + "\\*.png"), (std::set<std::string>{"c.png"}));
    EXPECT_EQ(collect(dir.path() + "/*"), (std::set<std::string>{".", "..", "a.txt", "B.TXT", "c.png"}));
}

TEST(DirectorySearch, NothingFoundGivesNullAndNextAfterLastGivesZero)
{
    TempDir dir;
    dir.write("only.txt", "");
    std::string name = "unchanged";
    EXPECT_EQ(FindFirst((dir.path() + "/*.bmp").c_str(), name), nullptr);
    EXPECT_EQ(FindFirst((dir.path() + "/missing/*").c_str(), name), nullptr);
    EXPECT_EQ(name, "unchanged");
    EXPECT_EQ(FindNext(nullptr, name), 0);
    FindClose(nullptr);

    FindHandle* handle = FindFirst((dir.path() + "/only.*").c_str(), name);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(name, "only.txt");
    EXPECT_EQ(FindNext(handle, name), 0);
    EXPECT_EQ(FindNext(handle, name), 0);
    FindClose(handle);
}

TEST(DirectorySearch, LongPatternsAndNamesDoNotOverrun)
{
    TempDir dir;
    const std::string longName(255, 'n');
    dir.write(longName, "");
    std::string name;
    FindHandle* handle = FindFirst((dir.path() + "/n*").c_str(), name);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(name, longName);
    FindClose(handle);
    EXPECT_EQ(FindFirst((dir.path() + "/" + std::string(5000, 'x') + "/*").c_str(), name), nullptr);
}

TEST(Files, SizeAndExistence)
{
    TempDir dir;
    const std::string path = dir.write("f", "12345");
    EXPECT_EQ(file_size(path.c_str()), 5);
    EXPECT_TRUE(file_exists(path.c_str()));
    EXPECT_TRUE(file_exists(dir.path().c_str()));
    EXPECT_EQ(file_size(dir.file("none").c_str()), 0);
    EXPECT_FALSE(file_exists(dir.file("none").c_str()));
}

TEST(Clock, DifferencesAreExactAcrossTheWrap)
{
    EXPECT_EQ(time_diff_ms(1000, 0), 1000);
    EXPECT_EQ(time_diff_ms(INT32_MIN + 499, INT32_MAX - 500), 1000);
    EXPECT_EQ(time_diff_ms(INT32_MAX - 500, INT32_MIN + 499), -1000);
    EXPECT_EQ(time_add_ms(INT32_MAX, 10), INT32_MIN + 9);
    EXPECT_EQ(time_diff_ms(time_add_ms(-5, 10), -5), 10);
}

TEST(Clock, MillisecondsFollowMicrosecondsAndSleep)
{
    const int64_t us0 = get_time_us();
    const int ms0 = get_time_ms();
    sleep_ms(30);
    const int elapsed = time_diff_ms(get_time_ms(), ms0);
    const int64_t elapsedUs = get_time_us() - us0;
    EXPECT_GE(elapsed, 29);
    EXPECT_LT(elapsed, 1000);
    EXPECT_GE(elapsedUs, 30000);
    // The millisecond clock is the microsecond clock cut to 32 bits.
    const int64_t us = get_time_us();
    const int ms = get_time_ms();
    EXPECT_LE(time_diff_ms(ms, static_cast<int>(static_cast<uint32_t>(us / 1000))), 1);
}

TEST(ExeDir, IsTheFolderOfThisProgram)
{
    const std::string dirName = get_exe_dir();
    ASSERT_FALSE(dirName.empty());
    EXPECT_EQ(dirName.back() == '/', false);
    EXPECT_TRUE(file_exists((dirName + "/core_tests").c_str()));
}

// A copy of this program in a folder whose path is far longer than a thousand bytes still
// finds its whole folder (the test above, run in the copy) and overruns nothing.
TEST(ExeDir, LongFolderComesBackWhole)
{
    TempDir dir;
    std::string folder = dir.path();
    while (folder.size() < 1500)
        folder += "/" + std::string(200, 'd');
    std::filesystem::create_directories(folder);
    const std::string copy = folder + "/core_tests";
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
    std::error_code linked;
    std::filesystem::create_hard_link(self, copy, linked);
    if (linked)
        std::filesystem::copy_file(self, copy);
    const std::string command = copy + " --gtest_filter=ExeDir.IsTheFolderOfThisProgram >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
}

} // namespace
