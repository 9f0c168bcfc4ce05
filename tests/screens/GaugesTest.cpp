// The gauges: levels held in range, and what the level gauge and the happiness indicator draw
// where, with their banks' pictures standing in as one small test picture.

#include "HudTestSupport.h"

#include "../toolkit/DrawnQuads.h"
#include "fixtures/HeadlessEngine.h"
#include "fixtures/PngWriter.h"
#include "fixtures/TempDir.h"
#include "source_menu/Happiness.h"
#include "source_menu/Progress.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetHelper.h"

#include <algorithm>

using namespace hud;

namespace {

TEST(GaugeLevels, AreHeldInTheirRanges)
{
    WidgetHelper anchor(L"helper_a", 0.1f, 0.2f, 0.3f, 0.1f);
    Happiness happiness(&anchor);
    EXPECT_FLOAT_EQ(happiness.x, 0.1f);
    EXPECT_FLOAT_EQ(happiness.y, 0.25f);
    happiness.setLevel(-3);
    EXPECT_EQ(happiness.level, 0);
    happiness.setLevel(9);
    EXPECT_EQ(happiness.level, 4);
    Progress progress(&anchor);
    progress.setLevel(12);
    EXPECT_EQ(progress.level, 7);
    progress.setLevel(-1);
    EXPECT_EQ(progress.level, 0);
}

class GaugeDraw : public testing::Test {
protected:
    void SetUp() override
    {
        bindHudScreens();
        std::vector<unsigned char> rgba(8 * 8 * 4, 255);
        write_png(dir.file("pic.png"), 8, 8, rgba.data());
        ASSERT_TRUE(picture.load(dir.file("pic.png")));
        ProgressBar* progressBank = Singleton<ProgressBar>::get();
        progressBank->getFrameImage()->setImage(&picture);
        for (int i = 0; i < ProgressBar::kCells; ++i)
            progressBank->getLevelImage(i)->setImage(&picture);
        for (int level = 0; level <= 4; ++level)
            Singleton<HappinessBar>::get()->getLevelImage(level)->setImage(&picture);
        start();
    }
    void TearDown() override
    {
        ProgressBar* progressBank = Singleton<ProgressBar>::get();
        progressBank->getFrameImage()->setImage(nullptr);
        for (int i = 0; i < ProgressBar::kCells; ++i)
            progressBank->getLevelImage(i)->setImage(nullptr);
        for (int level = 0; level <= 4; ++level)
            Singleton<HappinessBar>::get()->getLevelImage(level)->setImage(nullptr);
    }
    void start()
    {
        engine.device.clear();
        engine.render.begin(nullptr, 0.0f, 1.3333f);
    }
    std::vector<DrawnQuad> finish()
    {
        engine.render.end(true, true, true);
        return drawnQuads(engine.device);
    }

    TempDir dir;
    HeadlessEngine engine;
    CRender::Image picture;
    WidgetHelper anchor{L"helper_a", 0.2f, 0.5f, 0.2f, 0.1f};
};

TEST_F(GaugeDraw, ALevelCoversTheCellsFromItselfOn)
{
    Progress gauge(&anchor);
    const int expected[3][2] = {{0, 8}, {6, 2}, {7, 1}};
    for (const auto& row : expected) {
        gauge.setLevel(row[0]);
        gauge.draw(1.0f, 0.0f, 0.0f);
        EXPECT_EQ(finish().size(), static_cast<size_t>(row[1])) << "level " << row[0];
        start();
    }
    finish();
}

TEST_F(GaugeDraw, TheFrameStartsAtTheAnchorAndIsCentredOnItWithTheCellsInPlace)
{
    Progress gauge(&anchor);
    gauge.setLevel(6);
    gauge.draw(1.0f, 0.05f, 0.0f);
    std::vector<DrawnQuad> quads = finish();
    ASSERT_EQ(quads.size(), 2u);
    const float4 frame = Singleton<ProgressBar>::get()->getFrameImage()->getRect();
    EXPECT_NEAR(quads[0].x0, 0.25f, 1e-5);
    EXPECT_NEAR(quads[0].x1 - quads[0].x0, frame.z, 1e-5);
    EXPECT_NEAR(0.5f * (quads[0].y0 + quads[0].y1), 0.55f, 1e-5);
    // The cell keeps its place inside the frame.
    const float4 cell = Singleton<ProgressBar>::get()->getLevelImage(6)->getRect();
    EXPECT_NEAR(quads[1].x0 - quads[0].x0, cell.x, 1e-5);
    EXPECT_GT(quads[1].x0, quads[0].x0);
    EXPECT_LT(quads[1].x1, quads[0].x1);
}

TEST_F(GaugeDraw, TheHappinessPictureIsCentredOnTheAnchor)
{
    Happiness indicator(&anchor);
    indicator.setLevel(2);
    indicator.draw(0.5f, 0.0f, 0.1f);
    std::vector<DrawnQuad> quads = finish();
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_NEAR(quads[0].x0, 0.2f, 1e-5);
    EXPECT_NEAR(0.5f * (quads[0].y0 + quads[0].y1), 0.65f, 1e-5);
}

} // namespace
