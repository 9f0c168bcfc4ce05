#pragma once

// The loading screen: a background picture and a progress bar. The screen loader shows it
// first; in the update in which it starts to show it asks every screen to load, and its
// bar shows how far the screens and the park's two large scenes have come. When its hide
// after the loading has ended, its pictures are dropped: it is never shown again.

#include "core/Singleton.h"
#include "source_menu/generated/_MenuLoading.h"

class MenuLoading : public Singleton<MenuLoading>, public _MenuLoading {
public:
    static constexpr float kScreensWeight = 0.34f;
    static constexpr float kSceneWeight = 0.42f;

    MenuLoading() = default;

    void init(const char* path) override;
    void update() override;
    void draw() override;

    // 0.34 x the share of loaded screens + 0.42 x the loaded share of each park scene; above 1
    // once everything is loaded (the bar is then full).
    static float progress();

private:
    // Unloads the screen and drops its pictures from the loader's cache (once its hide ended).
    void dropPictures();
};
