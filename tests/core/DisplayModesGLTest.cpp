#include "toolkit/utils/misc.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(DisplayModes, ListsTheDisplaysModesWithTheCurrentOne)
{
    DisplayModeList modes;
    int current = -2;
    listDisplayModes(modes, current);
    ASSERT_FALSE(modes.empty());
    ASSERT_GE(current, 0);
    ASSERT_LT(current, static_cast<int>(modes.size()));
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    ASSERT_NE(info, nullptr) << "no video: " << SDL_GetError();
    EXPECT_EQ(modes[current], std::make_pair(info->current_w, info->current_h));
    EXPECT_TRUE(std::is_sorted(modes.begin(), modes.end()));
    SDL_Quit();
}

} // namespace
