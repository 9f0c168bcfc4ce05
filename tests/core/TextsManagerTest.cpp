#include "toolkit/utils/TextsManager.h"

#include "fixtures/TempDir.h"

#include <gtest/gtest.h>

namespace {

class TextsTable : public testing::Test {
protected:
    TextsManager& load(const std::string& bytes)
    {
        texts.load(dir.write("texts.dat", bytes));
        return texts;
    }

    TempDir dir;
    TextsManager texts;
};

TEST_F(TextsTable, KeysAreFoldedAndTextKeepsEverythingAfterFirstSpace)
{
    load("\xEF\xBB\xBF" "GameTitle My Park\r\n"
         "a  b\n"
         "empty \n"
         "\n"
         " skipped line\n"
         "polish Zażółć\n");
    EXPECT_STREQ(texts.get(L"GAMETITLE"), L"My Park");
    EXPECT_STREQ(texts.get(L"gametitle"), L"My Park");
    EXPECT_STREQ(texts.getByString(L"a"), L" b");
    EXPECT_STREQ(texts.get(L"empty"), L"");
    EXPECT_STREQ(texts.get(L"Polish"), L"Za\x17C\xF3\x142\x107");
    EXPECT_STREQ(texts.get(L"skipped"), L"missing text");
    EXPECT_STREQ(texts.get(L""), L"missing text");
}

TEST_F(TextsTable, MissingKeyOrFileGivesMissingText)
{
    load("gametitle Pet Park\n");
    EXPECT_STREQ(texts.get(L"nosuchkey"), L"missing text");
    texts.load(dir.file("missing.dat"));
    EXPECT_STREQ(texts.get(L"gametitle"), L"missing text");
}

TEST_F(TextsTable, LoadReplacesTheWholeTable)
{
    load("one 1\n");
    load("two 2\n");
    EXPECT_STREQ(texts.get(L"one"), L"missing text");
    EXPECT_STREQ(texts.get(L"two"), L"2");
}

TEST(TextsTableData, ShippedTableLoadsAndNamesTheGame)
{
    TextsManager texts;
    texts.load(PETPARK_SOURCE_DIR "/data/dat/texts.dat");
    EXPECT_STREQ(texts.get(L"gametitle"), L"Pet Park");
}

using TextsTableDeathTest = TextsTable;

TEST_F(TextsTableDeathTest, LineWithoutSpaceStopsTheLoad)
{
    EXPECT_DEATH(load("gametitle Pet Park\nlonely\n"),
                 "toolkit/utils/TextsManager.cpp:[0-9]+: failed assertion "
                 "`\\(false\\)&&\"brak delimitera w tekstach\\\\n\"'");
}

TEST_F(TextsTableDeathTest, KeyTwiceInAnyCaseStopsTheLoad)
{
    EXPECT_DEATH(load("Title A\ntitle B\n"),
                 "texts.dat:2: .*\n.*failed assertion `\\(false\\)&&\"takie ID ju\xBF jest\\\\n\"'");
}

} // namespace
