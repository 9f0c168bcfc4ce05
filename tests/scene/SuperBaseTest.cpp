#include "render/SuperBase.h"

#include "core/VectorMath.h"
#include "fixtures/TempDir.h"
#include "scene/FileBytes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Little-endian bytes of a word, written by hand so the expectations hold on any host.
void put32(std::vector<char>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(char((v >> (8 * i)) & 0xff));
}

void putRecord(std::vector<char>& out, const char* name, const std::vector<char>& data)
{
    put32(out, uint32_t(std::strlen(name) + 1));
    out.insert(out.end(), name, name + std::strlen(name) + 1);
    put32(out, uint32_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
}

std::vector<char> headerBytes()
{
    std::string text = "Vorlen file format, Jorek Balmun 2005";
    std::vector<char> h(text.begin(), text.end());
    for (int i = 0; i < 8; ++i) {
        h.push_back(0x0A);
        h.push_back(0x0D);
    }
    h.resize(64, 0);
    return h;
}

std::vector<char> words(std::initializer_list<uint32_t> values)
{
    std::vector<char> out;
    for (uint32_t v : values)
        put32(out, v);
    return out;
}

// A container of two structures: root with "a" (one word) and an empty structure.
std::vector<char> smallFile()
{
    std::vector<char> f = headerBytes();
    put32(f, 2);
    put32(f, 2);
    putRecord(f, "a", words({7}));
    putRecord(f, "empty", {});
    put32(f, 0);
    return f;
}

} // namespace

// ---- the file layout

TEST(SuperBaseFile, SaveWritesHeaderAndLittleEndianCountsByteForByte)
{
    TempDir dir;
    SuperBase sb;
    int root = sb.add_structure();
    sb.add_record(root, "a", "\x07\x00\x00\x00", 4);
    sb.add_record(root, "empty", nullptr, 0);
    sb.add_structure();
    ASSERT_TRUE(sb.save(dir.file("s.bin").c_str()));

    std::vector<char> bytes = readBytes(dir.file("s.bin"));
    EXPECT_EQ(bytes, smallFile());
    ASSERT_GE(bytes.size(), 64u);
    EXPECT_EQ(std::vector<char>(bytes.begin(), bytes.begin() + 64), headerBytes());
}

TEST(SuperBaseFile, SaveToAFolderThatDoesNotExistReportsFailure)
{
    TempDir dir;
    SuperBase sb;
    sb.add_structure();
    EXPECT_FALSE(sb.save(dir.file("missing/s.bin").c_str()));
}

TEST(SuperBaseFile, LoadReadsStructuresRecordsAndEmptyData)
{
    SuperBase sb;
    ASSERT_TRUE(sb.load_memory(smallFile()));
    ASSERT_EQ(sb.count(), 2);
    EXPECT_EQ(sb.structure(0).count(), 2);
    EXPECT_EQ(sb.structure(1).count(), 0);
    EXPECT_EQ(sb.get_size(0, "a"), 4);
    ASSERT_NE(sb.find(0, "empty"), nullptr);
    EXPECT_EQ(sb.get_size(0, "empty"), 0);
    std::vector<float> v = {1, 2};
    EXPECT_TRUE(sb.tget(0, "empty", v));
    EXPECT_TRUE(v.empty());
}

TEST(SuperBaseFile, LoadFromFileMatchesLoadFromMemory)
{
    TempDir dir;
    writeBytes(dir.file("s.bin"), smallFile());
    SuperBase sb;
    ASSERT_TRUE(sb.load_file(dir.file("s.bin").c_str()));
    int a = 0;
    EXPECT_TRUE(sb.tget(0, "a", a));
    EXPECT_EQ(a, 7);
    EXPECT_FALSE(sb.load_file(dir.file("none.bin").c_str()));
    EXPECT_EQ(sb.count(), 0);
}

TEST(SuperBaseFile, LoadReplacesEarlierContents)
{
    SuperBase sb;
    sb.add_structure();
    sb.add_structure();
    sb.add_structure();
    ASSERT_TRUE(sb.load_memory(smallFile()));
    EXPECT_EQ(sb.count(), 2);
}

// ---- damaged containers are refused, never read past their end

TEST(SuperBaseDamage, EveryTruncationIsRefusedAndLeavesTheContainerEmpty)
{
    std::vector<char> whole = smallFile();
    for (size_t n = 0; n < whole.size(); ++n) {
        std::vector<char> cut(whole.begin(), whole.begin() + n);
        SuperBase sb;
        std::string why;
        EXPECT_FALSE(sb.load_memory(cut, &why)) << "length " << n;
        EXPECT_EQ(sb.count(), 0);
        EXPECT_FALSE(why.empty());
    }
}

TEST(SuperBaseDamage, HugeOrNegativeCountsAndSizesAreRefused)
{
    // Offsets of the words in smallFile(): structure count 64, first record count 68,
    // name size 72, data size 78, second structure's count at the end.
    const size_t offsets[] = {64, 68, 72, 78};
    const uint32_t values[] = {0x7fffffffu, 0xffffffffu, 0x80000000u, 1000000u};
    for (size_t off : offsets) {
        for (uint32_t v : values) {
            std::vector<char> f = smallFile();
            for (int i = 0; i < 4; ++i)
                f[off + i] = char((v >> (8 * i)) & 0xff);
            SuperBase sb;
            EXPECT_FALSE(sb.load_memory(f)) << "offset " << off << " value " << v;
        }
    }
}

TEST(SuperBaseDamage, ANameWithoutItsTerminatingZeroIsRefused)
{
    std::vector<char> f = smallFile();
    f[77] = 'x'; // the NUL of the name "a"
    SuperBase sb;
    EXPECT_FALSE(sb.load_memory(f));
}

// ---- records by name

TEST(SuperBaseRecords, OfTwoRecordsWithOneNameTheFirstIsFoundAfterLoad)
{
    std::vector<char> f = headerBytes();
    put32(f, 1);
    put32(f, 3);
    putRecord(f, "x", words({1}));
    putRecord(f, "y", words({5}));
    putRecord(f, "x", words({2, 3}));
    SuperBase sb;
    ASSERT_TRUE(sb.load_memory(f));
    int x = 0;
    sb.tget(0, "x", x);
    EXPECT_EQ(x, 1);
    std::vector<int32_t> v;
    sb.tget(0, "x", v);
    EXPECT_EQ(v, std::vector<int32_t>({1}));
    EXPECT_EQ(sb.get_size(0, "x"), 4);
}

TEST(SuperBaseRecords, RecordsAddedInMemoryAreFoundFirstWins)
{
    SuperBase sb;
    int s = sb.add_structure();
    int one = 1, two = 2;
    sb.add_record(s, "k", &one, 4);
    sb.add_record(s, "k", &two, 4);
    for (int i = 0; i < 50; ++i) // growth must keep the index valid
        sb.add_record(s, ("r" + std::to_string(i)).c_str(), &i, 4);
    for (int i = 0; i < 30; ++i)
        sb.add_structure();
    int k = 0;
    EXPECT_TRUE(sb.tget(s, "k", k));
    EXPECT_EQ(k, 1);
    int r = 0;
    EXPECT_TRUE(sb.tget(s, "r49", r));
    EXPECT_EQ(r, 49);
}

TEST(SuperBaseRecords, SetRecordReplacesTheFirstOfThatNameOrAppends)
{
    SuperBase sb;
    int s = sb.add_structure();
    int one = 1, two = 2, three = 3;
    sb.add_record(s, "k", &one, 4);
    sb.add_record(s, "k", &two, 4);
    sb.set_record(s, "k", &three, 4);
    ASSERT_EQ(sb.structure(s).count(), 2);
    EXPECT_EQ(decode_le32(sb.structure(s).records[0].data.data()), 3u);
    EXPECT_EQ(decode_le32(sb.structure(s).records[1].data.data()), 2u);
    sb.set_record(s, "new", &one, 4);
    EXPECT_EQ(sb.structure(s).count(), 3);
}

TEST(SuperBaseRecords, StructureIndexOutOfRangeDoesNothing)
{
    SuperBase sb;
    int v = 5;
    sb.add_record(0, "k", &v, 4);
    sb.set_record(-1, "k", &v, 4);
    EXPECT_EQ(sb.count(), 0);
    EXPECT_EQ(sb.find(3, "k"), nullptr);
    EXPECT_EQ(sb.get_size(3, "k"), 0);
    char buf[4] = {9, 9, 9, 9};
    EXPECT_EQ(sb.get_data(3, "k", buf, 4), 0);
    EXPECT_EQ(buf[0], 9);
}

// ---- typed getters

TEST(SuperBaseGetters, OneValueGetterFillsConsecutiveWordsFromLittleEndian)
{
    std::vector<char> f = headerBytes();
    put32(f, 1);
    put32(f, 1);
    float one = 1.0f, two = 2.0f, three = 3.0f;
    uint32_t w1, w2, w3;
    std::memcpy(&w1, &one, 4);
    std::memcpy(&w2, &two, 4);
    std::memcpy(&w3, &three, 4);
    putRecord(f, "p", words({w1, w2, w3}));
    SuperBase sb;
    ASSERT_TRUE(sb.load_memory(f));

    float3 p;
    EXPECT_TRUE(sb.tget(0, "p", p));
    EXPECT_EQ(p.x, 1.0f);
    EXPECT_EQ(p.y, 2.0f);
    EXPECT_EQ(p.z, 3.0f);

    // A destination smaller than the record takes only what fits.
    struct {
        float value = 0;
        float guard[2] = {-1, -1};
    } small;
    sb.tget(0, "p", small.value);
    EXPECT_EQ(small.value, 1.0f);
    EXPECT_EQ(small.guard[0], -1.0f);

    // A missing record leaves the destination unchanged.
    float3 q(4, 5, 6);
    EXPECT_FALSE(sb.tget(0, "none", q));
    EXPECT_EQ(q.x, 4.0f);
    EXPECT_EQ(q.z, 6.0f);
}

TEST(SuperBaseGetters, VectorGettersResizeToWholeElements)
{
    std::vector<char> f = headerBytes();
    put32(f, 1);
    put32(f, 2);
    putRecord(f, "v", words({1, 2, 3, 4, 5, 6, 7}));
    putRecord(f, "bytes", {'a', 'b', 0, 'c'});
    SuperBase sb;
    ASSERT_TRUE(sb.load_memory(f));

    std::vector<float3> v3(9);
    sb.tget(0, "v", v3);
    EXPECT_EQ(v3.size(), 2u);
    std::vector<int32_t> vi;
    sb.tget(0, "v", vi);
    EXPECT_EQ(vi, std::vector<int32_t>({1, 2, 3, 4, 5, 6, 7}));
    std::vector<float4x4> vm;
    sb.tget(0, "v", vm);
    EXPECT_TRUE(vm.empty());
    std::vector<char> raw;
    sb.tget(0, "bytes", raw);
    EXPECT_EQ(raw, std::vector<char>({'a', 'b', 0, 'c'}));
}

TEST(SuperBaseGetters, GetDataCopiesAtMostTheDestinationSize)
{
    SuperBase sb;
    int s = sb.add_structure();
    sb.add_record(s, "t", "abcdef", 6);
    char buf[4] = {};
    EXPECT_EQ(sb.get_data(s, "t", buf, 3), 3);
    EXPECT_EQ(std::string(buf, 4), std::string("abc\0", 4));
}

// ---- the byte stream

TEST(ByteStreamMemory, AReadEndingAtTheEndCopiesAllThenNothingMore)
{
    const char block[6] = {1, 2, 3, 4, 5, 6};
    ByteStream bs;
    EXPECT_EQ(bs.set_memory(block, 6), ByteStream::mode_memory);
    char out[6] = {};
    EXPECT_EQ(bs.read(out, 2), 2u);
    EXPECT_EQ(bs.eof(), 0);
    EXPECT_EQ(bs.read(out, 4), 4u);
    EXPECT_EQ(out[3], 6);
    EXPECT_EQ(bs.eof(), 1);
    char more[2] = {9, 9};
    EXPECT_EQ(bs.read(more, 2), 0u);
    EXPECT_EQ(more[0], 9);
    EXPECT_EQ(bs.getc(), -1);
}

TEST(ByteStreamMemory, AReadPastTheEndTakesTheRestAndExhausts)
{
    const char block[3] = {1, 2, 3};
    ByteStream bs;
    bs.set_memory(block, 3);
    EXPECT_EQ(bs.getc(), 1);
    char out[8] = {};
    EXPECT_EQ(bs.read(out, 8), 2u);
    EXPECT_EQ(out[1], 3);
    EXPECT_EQ(bs.position(), 3);
    EXPECT_EQ(bs.size(), 3);
}

TEST(ByteStreamFiles, APipeNameStaysClosedForReadingButIsCreatedForWriting)
{
    TempDir dir;
    std::string name = dir.file("a|b");
    ByteStream bs;
    EXPECT_EQ(bs.open(name.c_str(), "r"), ByteStream::mode_closed);
    EXPECT_EQ(bs.open(name.c_str(), "w"), ByteStream::mode_write_file);
    bs.putc('z');
    bs.close();
    EXPECT_EQ(readBytes(name), std::vector<char>({'z'}));
    EXPECT_EQ(bs.open("", "r"), 0);
    EXPECT_EQ(bs.open(nullptr, "r"), 0);
    EXPECT_EQ(bs.open(name.c_str(), nullptr), 0);
}

TEST(ByteStreamFiles, WordsSizeAndReopen)
{
    TempDir dir;
    std::string name = dir.file("w.bin");
    ByteStreamHandle out;
    ASSERT_EQ(out.create_open(name.c_str(), "w"), ByteStream::mode_write_file);
    EXPECT_TRUE(write_int32_le(out, -2));
    out.destroy();
    EXPECT_EQ(readBytes(name), std::vector<char>({'\xfe', '\xff', '\xff', '\xff'}));

    ByteStreamHandle in;
    ASSERT_EQ(in.create_open(name.c_str(), "r"), ByteStream::mode_read_file);
    EXPECT_EQ(in.size(), 4);
    EXPECT_EQ(read_int32_le(in), -2);
    in.reopen();
    EXPECT_EQ(in.position(), 0);
    EXPECT_EQ(in.getc(), 0xfe);

    char buf[4] = {};
    EXPECT_EQ(read_file_bytes(name.c_str(), buf, 4), ByteStream::mode_read_file);
    EXPECT_EQ(buf[1], '\xff');
    EXPECT_EQ(write_file_bytes(dir.file("x").c_str(), "ab", 2), ByteStream::mode_write_file);
    EXPECT_EQ(readBytes(dir.file("x")), std::vector<char>({'a', 'b'}));
}
