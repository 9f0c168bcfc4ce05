#include "toolkit/utils/misc.h"

#include "core/platform.h"

#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

typedef std::vector<std::wstring> Lines;

// ---- reading line files

TEST(LoadDatFile, SplitsAtLineFeedAndDropsBomAndOneCarriageReturn)
{
    TempDir dir;
    EXPECT_EQ(loadDatFile(dir.write("a", "\xEF\xBB\xBF" "a\r\nb")), (Lines{L"a", L"b"}));
    EXPECT_EQ(loadDatFile(dir.write("b", "a\n\nb\n")), (Lines{L"a", L"", L"b"}));
    EXPECT_EQ(loadDatFile(dir.write("c", "a\r\r\n")), (Lines{L"a\r"}));
    EXPECT_EQ(loadDatFile(dir.write("d", " x\t\n")), (Lines{L" x\t"}));
}

TEST(LoadDatFile, ShortFirstLineIsNotTestedForTheMark)
{
    TempDir dir;
    EXPECT_EQ(loadDatFile(dir.write("a", "ab")), (Lines{L"ab"}));
    EXPECT_EQ(loadDatFile(dir.write("b", "\xEF\xBB\xBF")), (Lines{L""}));
    EXPECT_EQ(loadDatFile(dir.write("c", "\xEF\xBB\xBF\n")), (Lines{L""}));
}

TEST(LoadDatFile, MissingOrEmptyFileGivesNoLines)
{
    TempDir dir;
    EXPECT_TRUE(loadDatFile(dir.write("empty", "")).empty());
    EXPECT_TRUE(loadDatFile(dir.file("missing")).empty());
}

TEST(LoadDatFile, DecodesToUtf16UnitsAndReplacesInvalidBytesWithWarning)
{
    TempDir dir;
    EXPECT_EQ(loadDatFile(dir.write("a", "\xC5\xBC\xF0\x9F\x98\x80")),
              (Lines{std::wstring{wchar_t(0x17C), wchar_t(0xD83D), wchar_t(0xDE00)}}));

    const std::string path = dir.write("bad", "ok\na\xFF" "b\xE2\x82\n\xC0\xAF");
    testing::internal::CaptureStderr();
    const Lines lines = loadDatFile(path);
    const std::string warning = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines, (Lines{L"ok", L"a\xFFFD" L"b\xFFFD", L"\xFFFD"}));
    EXPECT_NE(warning.find(path), std::string::npos);
}

TEST(LoadDatFile, ADataFileCutInsideALineIsReported)
{
    TempDir dir;
    std::string path = dir.write("cut.txt", "[cash]\n10");
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadDatFile(path), (Lines{L"[cash]", L"10"}));
    EXPECT_NE(testing::internal::GetCapturedStderr().find(path + " ends inside line 2"), std::string::npos);

    // Whole data files end with a line end; files the game writes start with a mark instead.
    testing::internal::CaptureStderr();
    loadDatFile(dir.write("whole.txt", "[cash]\n10\n"));
    loadDatFile(dir.write("written.txt", "\xEF\xBB\xBF[cash]\n10"));
    path = dir.write("layout.txt", "layer one\nlayer tw");
    EXPECT_EQ(readTextLines(dir.write("layout-whole.txt", "layer\n")), (Lines{L"layer"}));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    testing::internal::CaptureStderr();
    EXPECT_EQ(readTextLines(path), (Lines{L"layer one", L"layer tw"}));
    EXPECT_NE(testing::internal::GetCapturedStderr().find(path + " ends inside a line"), std::string::npos);
}

TEST(LoadDatFileRequiredDeathTest, MissingFileStopsTheProgram)
{
    EXPECT_DEATH(loadDatFileRequired("/nonexistent/camera.txt"), "no dat file loaded!");
}

TEST(ReadTextLines, CutsAtFirstLineBreakAndSkipsEmptyLines)
{
    TempDir dir;
    EXPECT_EQ(readTextLines(dir.write("a", "a\r\n\r\nb")), (Lines{L"a", L"b"}));
    EXPECT_EQ(readTextLines(dir.write("b", "a\rb\n")), (Lines{L"a"}));
    EXPECT_EQ(readTextLines(dir.write("c", std::string("x\n\0y\nz\n", 7))), (Lines{L"x"}));
    EXPECT_EQ(readTextLines(dir.write("d", "\xE9")), (Lines{std::wstring(1, wchar_t(-23))}));
}

TEST(ReadTextLines, VeryLongLineComesInPieces)
{
    TempDir dir;
    const Lines lines = readTextLines(dir.write("a", std::string(150000, 'x') + "\n"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 99999u);
    EXPECT_EQ(lines[1].size(), 50001u);
}

TEST(ReadTextLinesDeathTest, MissingFileStopsTheProgram)
{
    EXPECT_DEATH(readTextLines("/nonexistent/MenuBank.txt"), "failed assertion");
}

// ---- writing line files

TEST(WriteUtf8Lines, WritesBomAndLineFeedsBetweenLinesOnly)
{
    TempDir dir;
    EXPECT_TRUE(writeUtf8Lines(dir.file("a"), {L"a", L"b"}));
    EXPECT_EQ(dir.read("a"), "\xEF\xBB\xBF" "a\nb");
    EXPECT_TRUE(writeUtf8Lines(dir.file("b"), {}));
    EXPECT_EQ(dir.read("b"), "\xEF\xBB\xBF");
    EXPECT_FALSE(file_exists(dir.file("a.tmp").c_str()));
}

TEST(WriteUtf8Lines, RoundTripsThroughLoadDatFile)
{
    TempDir dir;
    const Lines lines{L"[cash]", L"", L"1000 -5", std::wstring{L'\x17C', wchar_t(0xD83D), wchar_t(0xDE00)}, L" "};
    ASSERT_TRUE(writeUtf8Lines(dir.file("save.txt"), lines));
    EXPECT_EQ(loadDatFile(dir.file("save.txt")), lines);
}

TEST(WriteUtf8Lines, ReplacesExistingFileWhole)
{
    TempDir dir;
    dir.write("save.txt", "old old old old old old");
    ASSERT_TRUE(writeUtf8Lines(dir.file("save.txt"), {L"new"}));
    EXPECT_EQ(dir.read("save.txt"), "\xEF\xBB\xBF" "new");

    // Nothing standing at the temporary name is written through: a link to a file elsewhere
    // leaves it as it was, a link to a missing file makes none, and the saved file is plain.
    TempDir outside;
    outside.write("theirs", "theirs");
    for (const char* target : {"theirs", "missing"}) {
        ASSERT_EQ(symlink(outside.file(target).c_str(), dir.file("save.txt.tmp").c_str()), 0);
        ASSERT_TRUE(writeUtf8Lines(dir.file("save.txt"), {L"again"}));
        struct stat st;
        EXPECT_TRUE(lstat(dir.file("save.txt").c_str(), &st) == 0 && S_ISREG(st.st_mode));
    }
    EXPECT_EQ(outside.read("theirs"), "theirs");
    EXPECT_FALSE(file_exists(outside.file("missing").c_str()));
}

TEST(WriteUtf8Lines, FailureIsReportedAndKeepsTheOldFile)
{
    TempDir dir;
    WriteFailure kind = WriteFailure::None;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(writeUtf8Lines(dir.file("missing/save.txt"), {L"a"}, &kind));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Could not open " + dir.file("missing/save.txt") + "\n");
    EXPECT_EQ(kind, WriteFailure::Open);

    // The temporary file cannot be made (a folder stands where it would go, which stops root
    // too): the old file stays as it was, and the failure is told by that cause.
    dir.write("save.txt", "old");
    mkdir(dir.file("save.txt.tmp").c_str(), 0700);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(writeUtf8Lines(dir.file("save.txt"), {L"new"}, &kind));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(dir.read("save.txt"), "old");
    EXPECT_EQ(kind, WriteFailure::Occupied);
    rmdir(dir.file("save.txt.tmp").c_str());

    // A temporary file left by a kill, in a folder that turned read-only since (here one without
    // write rights, written by a child that is not root): told by the folder's cause.
    dir.write("save.txt.tmp", "cut");
    chmod(dir.path().c_str(), 0555);
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        if (geteuid() == 0 && setuid(65534) != 0)
            _exit(100);
        writeUtf8Lines(dir.file("save.txt"), {L"new"}, &kind);
        _exit(static_cast<int>(kind));
    }
    int status = -1;
    waitpid(child, &status, 0);
    chmod(dir.path().c_str(), 0700);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == static_cast<int>(WriteFailure::Open)) << status;
    EXPECT_EQ(dir.read("save.txt"), "old");
    unlink(dir.file("save.txt.tmp").c_str());

    // The new file cannot replace the target (a folder holding a file): failure is reported,
    // the target stays and no temporary file is left behind.
    mkdir(dir.file("profile").c_str(), 0700);
    dir.write("profile/keep", "kept");
    testing::internal::CaptureStdout();
    EXPECT_FALSE(writeUtf8Lines(dir.file("profile"), {L"new"}));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Could not open " + dir.file("profile") + "\n");
    EXPECT_EQ(dir.read("profile/keep"), "kept");
    EXPECT_FALSE(file_exists(dir.file("profile.tmp").c_str()));
}

TEST(WriteUtf8Lines, InvalidUtf16IsWrittenAsReplacementCharacter)
{
    TempDir dir;
    testing::internal::CaptureStderr();
    ASSERT_TRUE(writeUtf8Lines(dir.file("a"), {std::wstring{L'a', wchar_t(0xD800), L'b'}}));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Warning"), std::string::npos);
    EXPECT_EQ(dir.read("a"), "\xEF\xBB\xBF" "a\xEF\xBF\xBD" "b");
}

// ---- case folding, conversion and splitting

TEST(CaseFolding, FoldsOnlyAsciiCapitals)
{
    EXPECT_EQ(toLowerWide(L"\xC4" L"B"), L"\xC4" L"b");
    EXPECT_EQ(toLowerWide(L"[Game Speed] Z@["), L"[game speed] z@[");
    // Values outside unsigned char (negative from stringToWide, or above 255) stay.
    const std::wstring odd{wchar_t(-23), wchar_t(0x141), wchar_t(0x10041)};
    EXPECT_EQ(toLowerWide(odd), odd);
    EXPECT_EQ(toLowerString("Profile1.TXT \xC9"), "profile1.txt \xC9");
}

TEST(NarrowWide, BytesWidenAsSignedAndComeBack)
{
    EXPECT_EQ(stringToWide("\xE9"), std::wstring(1, wchar_t(-23)));
    EXPECT_EQ(wideToString(std::wstring(1, wchar_t(-23))), "\xE9");
    const std::string all = [] {
        std::string s;
        for (int c = 0; c < 256; ++c)
            s.push_back(static_cast<char>(c));
        return s;
    }();
    EXPECT_EQ(wideToString(stringToWide(all)), all);
    EXPECT_EQ(wideToString(std::wstring(1, wchar_t(0x141))), "\x41");
}

TEST(Split, DropsEmptyTokensAndKeepsCharacters)
{
    EXPECT_EQ(splitWide(L"  10   20 ", L" "), (Lines{L"10", L"20"}));
    EXPECT_TRUE(splitWide(L"", L" ").empty());
    EXPECT_TRUE(splitWide(L" \t ", L" \t").empty());
    EXPECT_EQ(splitWide(L"a,b;;C d", L",;", 0), (Lines{L"a", L"b", L"C d"}));
    EXPECT_EQ(splitNarrow("x\ty  z", " \t", 0), (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(splitNarrow("solo", " "), std::vector<std::string>{"solo"});
}

// ---- directories

TEST(ListDirectory, ReturnsMatchingNamesInNaturalOrder)
{
    TempDir dir;
    for (const char* name : {"profile10.txt", "profile2.txt", "Profile1.TXT", "profile1.bak", "notes"})
        dir.write(name, "");
    EXPECT_EQ(listDirectory(dir.path() + "/", "*.txt"),
              (Lines{L"Profile1.TXT", L"profile2.txt", L"profile10.txt"}));
    EXPECT_EQ(listDirectory(dir.path() + "/", "profile?.txt"), (Lines{L"Profile1.TXT", L"profile2.txt"}));
    EXPECT_EQ(listDirectory(dir.path() + "/", "*").size(), 7u); // "." and ".." take part
    EXPECT_TRUE(listDirectory(dir.path() + "/", "*.png").empty());
    EXPECT_TRUE(listDirectory(dir.path() + "/missing/", "*").empty());
}

TEST(ListDirectory, NaturalOrderComparesDigitRunsAsNumbers)
{
    EXPECT_TRUE(naturalLess(L"profile9.txt", L"profile10.txt"));
    EXPECT_FALSE(naturalLess(L"profile10.txt", L"profile9.txt"));
    EXPECT_TRUE(naturalLess(L"a2b3", L"a2b12"));
    EXPECT_TRUE(naturalLess(L"Apple", L"banana"));
    EXPECT_TRUE(naturalLess(L"file", L"file1"));
    EXPECT_NE(naturalLess(L"a01", L"a1"), naturalLess(L"a1", L"a01"));
    EXPECT_FALSE(naturalLess(L"same", L"same"));
}

// ---- display modes

DisplayModeInfo mode(int w, int h, int bpp = 32, bool safe = true, bool stretched = false)
{
    DisplayModeInfo m;
    m.width = w;
    m.height = h;
    m.bitsPerPixel = bpp;
    m.safe = safe;
    m.stretched = stretched;
    return m;
}

TEST(DisplayModes, CurrentModeInListKeepsSystemOrder)
{
    DisplayModeList modes{{1, 1}};
    int current = 99;
    filterDisplayModes({mode(640, 480), mode(1024, 768), mode(800, 600)}, mode(1024, 768), modes, current);
    EXPECT_EQ(modes, (DisplayModeList{{1024, 768}, {800, 600}}));
    EXPECT_EQ(current, 0);
}

TEST(DisplayModes, MissingCurrentModeIsAddedAndListSorted)
{
    DisplayModeList modes;
    int current = -1;
    filterDisplayModes({mode(640, 480), mode(1024, 768), mode(800, 600)}, mode(1280, 1024), modes, current);
    EXPECT_EQ(modes, (DisplayModeList{{800, 600}, {1024, 768}, {1280, 1024}}));
    EXPECT_EQ(current, 2);
}

TEST(DisplayModes, FilterDropsOtherDepthUnsafeStretchedSmallAndDuplicates)
{
    DisplayModeList modes;
    int current = -1;
    filterDisplayModes({mode(1024, 768, 16), mode(1152, 864, 32, false), mode(1280, 720, 32, true, true),
                        mode(799, 599), mode(640, 600), mode(800, 480), mode(1024, 768), mode(1024, 768)},
                       mode(1024, 768), modes, current);
    EXPECT_EQ(modes, (DisplayModeList{{640, 600}, {800, 480}, {1024, 768}}));
    EXPECT_EQ(current, 2);

    filterDisplayModes({}, mode(1280, 1024), modes, current);
    EXPECT_EQ(modes, (DisplayModeList{{1280, 1024}}));
    EXPECT_EQ(current, 0);
}

} // namespace

namespace {

// ---- vectors

void expectNear(float3 a, float3 b)
{
    EXPECT_NEAR(a.x, b.x, 1e-5f);
    EXPECT_NEAR(a.y, b.y, 1e-5f);
    EXPECT_NEAR(a.z, b.z, 1e-5f);
}

TEST(Vectors, CrossNormalizeAndPlanes)
{
    expectNear(crossProduct(float3(1, 0, 0), float3(0, 1, 0)), float3(0, 0, 1));
    expectNear(normalize(float3(3, 0, 4)), float3(0.6f, 0, 0.8f));
    const float3 zero = normalize(float3(0, 0, 0));
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_EQ(zero.z, 0.0f);
    EXPECT_FLOAT_EQ(planeSide(float4(0, 2, 0, -2), float3(5, 4, 1)), 9.0f);
    EXPECT_FLOAT_EQ(planeSide(float4(0, 2, 0, -2), float3(5, -2, 1)), -9.0f);
    EXPECT_EQ(planeSide(float4(0, 1, 0, 0), float3(5, 0, 1)), 0.0f);
    expectNear(planeGeometry(float3(1, 2, 3), float3(0, 0, 5)), float3(1, 2, 0));
    expectNear(planeGeometry(float3(1, 2, -3), float3(0, 0, 5)), float3(1, 2, 0));
}

TEST(Vectors, CameraRayThroughCentreAndEdges)
{
    const float3 eye(1, 10, 20), target(1, 0, 0), up(0, 1, 0);
    const float3 centre = cameraRay(0.5f, 0.5f, eye, target, up, 60.0f, 1.3333f);
    EXPECT_EQ(centre.x, 0.0f);
    EXPECT_EQ(centre.y, -10.0f);
    EXPECT_EQ(centre.z, -20.0f);

    // Looking down -z from the origin: the top edge is tan(fov/2) * distance above the target,
    // the left edge aspect times that to the left.
    const float3 top = cameraRay(0.5f, 0.0f, float3(0, 0, 0), float3(0, 0, -10), up, 90.0f, 2.0f);
    expectNear(top, float3(0, 10, -10));
    const float3 left = cameraRay(0.0f, 0.5f, float3(0, 0, 0), float3(0, 0, -10), up, 90.0f, 2.0f);
    expectNear(left, float3(-20, 0, -10));
}

} // namespace
