// The column text table: which rows get a background, which row is highlighted, what each
// label shows where, and what stays hidden between frames.

#include "core/ControlMngr.h"
#include "core/Singleton.h"
#include "fixtures/TempDir.h"
#include "render/render.h"
#include "source_menu/ScrollPopup.h"
#include "source_menu/TextTable.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/utils/MyImage.h"
#include "toolkit/utils/TextsManager.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Drawn {
    std::wstring text;
    float y;
};

// A label that records what it would draw: its text and its row offset.
class RecordingLabel : public WidgetLabel {
public:
    RecordingLabel() : WidgetLabel(L"label_x_1", 0.1f, 0.2f, 0.2f, 0.017f) {}
    void draw() override
    {
        if (isVisible())
            drawn.push_back({getText(0), getOffset().second});
    }
    std::vector<Drawn> drawn;
};

// A row background or highlight of one picture at (0.1, 0.2), 0.6 x 0.015, recording its offsets.
class RecordingStripe : public WidgetBase {
public:
    RecordingStripe() { mImages.push_back(new MyImage("", 0.1f, 0.2f, 0.6f, 0.015f, 0.1f, 0.2f, 0.6f, 0.015f)); }
    void init(const char*) override {}
    void load() override {}
    void unload() override {}
    void update() override {}
    void reset() override {}
    void onFrame() override {}
    void draw() override
    {
        if (isVisible())
            drawnAt.push_back(getOffset().second);
    }
    std::vector<float> drawnAt;
};

// One font style and two texts, before the fixture's labels are made.
struct TableTexts {
    TableTexts()
    {
        // The style's font is left unloaded (no engine while it is read), so labels draw no glyphs.
        Render* engine = Render::current();
        Render::set_current(nullptr);
        Singleton<FontStylesMgr>::get()->load(dir.write("fonts.dat", "fonts/sans_24 0.03125 1 1 l u 255 255 255\n"));
        Render::set_current(engine);
        textsManager.load(dir.write("texts.dat", "t_total Total\nt_other Other\n"));
    }
    TempDir dir;
};

class TextTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pointTo(-1.0f, -1.0f);
        Singleton<ScrollPopup>::get()->setVisible(0);
    }
    void TearDown() override { Singleton<ScrollPopup>::get()->setVisible(0); }

    static void pointTo(float x, float y)
    {
        sDevice* mouse = Singleton<ControlMngr>::get()->mPointerDevices.front();
        mouse->data[kPointerXWord].f = x;
        mouse->data[kPointerYWord].f = y;
    }
    // The pointer in the middle of row j's background.
    void pointAtRow(int j, float rowHeight = 0.017f) { pointTo(0.4f, 0.2f + 0.003f + j * rowHeight + 0.0075f); }

    TableTexts texts;
    RecordingLabel name, value;
    RecordingStripe background, highlight;
};

TEST_F(TextTableTest, AnEmptyTableDrawsNothingAndHighlightsNoRow)
{
    TextTable table({&name, &value}, &background, &highlight);
    pointAtRow(0);
    EXPECT_EQ(table.draw(), -1);
    EXPECT_TRUE(name.drawn.empty());
    EXPECT_TRUE(background.drawnAt.empty());
    EXPECT_TRUE(highlight.drawnAt.empty());
}

TEST_F(TextTableTest, EachRowMovesTheColumnLabelsDownAndTheWidgetsStayHiddenBetweenFrames)
{
    TextTable table({&name, &value}, &background, &highlight);
    EXPECT_FALSE(name.isVisible());
    EXPECT_FALSE(background.isVisible());
    table.addRow({L"Rex", L"12"});
    table.addRow({L"Luna", L"7"});
    table.draw();
    ASSERT_EQ(name.drawn.size(), 2u);
    EXPECT_EQ(name.drawn[1].text, L"Luna");
    EXPECT_FLOAT_EQ(name.drawn[1].y, 0.017f);
    ASSERT_EQ(value.drawn.size(), 2u);
    EXPECT_EQ(value.drawn[0].text, L"12");
    ASSERT_EQ(background.drawnAt.size(), 2u);
    EXPECT_FLOAT_EQ(background.drawnAt[1], 0.017f + 0.003f);
    EXPECT_FALSE(name.isVisible());
    EXPECT_FALSE(value.isVisible());
    EXPECT_FALSE(background.isVisible());
    EXPECT_FALSE(highlight.isVisible());
}

TEST_F(TextTableTest, AnEmptyFirstCellGetsNoBackgroundAndNoHighlightButItsOtherCellsDraw)
{
    TextTable table({&name, &value}, &background, &highlight);
    table.addRow({L"", L"0"});
    pointAtRow(0);
    EXPECT_EQ(table.draw(), -1);
    EXPECT_TRUE(name.drawn.empty());
    EXPECT_TRUE(background.drawnAt.empty());
    ASSERT_EQ(value.drawn.size(), 1u);
    EXPECT_EQ(value.drawn[0].text, L"0");
}

TEST_F(TextTableTest, AlternateRowsHaveNoBackgroundOnOddRowsYetCanBeHighlighted)
{
    TextTable table({&name, &value}, &background, &highlight);
    table.alternate = 1;
    for (int j = 0; j < 4; ++j)
        table.addRow({L"row", L"1"});
    pointAtRow(1);
    EXPECT_EQ(table.draw(), 1);
    ASSERT_EQ(background.drawnAt.size(), 2u);
    EXPECT_FLOAT_EQ(background.drawnAt[1], 2 * 0.017f + 0.003f);
    ASSERT_EQ(highlight.drawnAt.size(), 1u);
    EXPECT_FLOAT_EQ(highlight.drawnAt[0], 0.017f + 0.005f);
}

TEST_F(TextTableTest, ThePointerOnARowEdgeHighlightsNothingAndInsideHighlightsThatRow)
{
    TextTable table({&name, &value}, &background, &highlight);
    table.rowHeight = 0.03f;
    for (int j = 0; j < 3; ++j)
        table.addRow({L"row", L"1"});
    pointTo(0.1f, 0.2f + 0.003f + 0.03f + 0.005f); // left edge of row 1
    EXPECT_EQ(table.draw(), -1);
    pointTo(0.4f, 0.2f + 0.003f + 0.03f); // top edge of row 1
    EXPECT_EQ(table.draw(), -1);
    pointAtRow(2, 0.03f);
    EXPECT_EQ(table.draw(), 2);
}

TEST_F(TextTableTest, ASelectedRowIsHighlightedWhateverThePointerDoesUnlessTheValuePopupShows)
{
    TextTable table({&name, &value}, &background, &highlight);
    for (int j = 0; j < 3; ++j)
        table.addRow({L"row", L"1"});
    table.selectedRow = 2;
    pointAtRow(0);
    EXPECT_EQ(table.draw(), 2);
    Singleton<ScrollPopup>::get()->setVisible(1);
    highlight.drawnAt.clear();
    EXPECT_EQ(table.draw(), -1);
    EXPECT_TRUE(highlight.drawnAt.empty());
    table.selectedRow = -1;
    EXPECT_EQ(table.draw(), -1);
}

TEST_F(TextTableTest, OnlyCellsStartingWithTUnderscoreAreTextKeys)
{
    TextTable table({&name, &value}, &background, &highlight);
    table.addRow({L"t_Total", L"123"});
    table.addRow({L"tom's Park", L"t_other"});
    table.addRow({L"Tiny", L"_x"});
    table.draw();
    ASSERT_EQ(name.drawn.size(), 3u);
    EXPECT_EQ(name.drawn[0].text, L"Total");
    EXPECT_EQ(name.getText(1), L"t_Total");
    EXPECT_EQ(name.drawn[1].text, L"tom's Park");
    EXPECT_EQ(name.drawn[2].text, L"Tiny");
    EXPECT_EQ(value.drawn[0].text, L"123");
    EXPECT_EQ(value.drawn[1].text, L"Other");
    EXPECT_EQ(value.drawn[2].text, L"_x");
}

TEST_F(TextTableTest, ShortRowsArePaddedAndClearKeepsTheColumns)
{
    TextTable table({&name, &value}, nullptr, nullptr);
    table.addRow({L"only"});
    table.addRow({L"a", L"b", L"ignored"});
    EXPECT_EQ(table.rowCount(), 2);
    EXPECT_EQ(table.columns[1][0], L"");
    pointAtRow(0);
    EXPECT_EQ(table.draw(), -1);
    EXPECT_EQ(value.drawn.size(), 1u);
    table.clear();
    EXPECT_EQ(table.columns.size(), 2u);
    EXPECT_EQ(table.rowCount(), 0);
}

} // namespace
