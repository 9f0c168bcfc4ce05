#pragma once

// What the five kind frames (buildings purchase and care, pets intake, hosted pets, trick
// teaching) share: the frame's update gates, the close button, and the swap of its per-kind
// panel when the blue tab strip reports another tab. A frame shows the old panel's hide
// transition out and only then shows the panel of the new tab.

#include "toolkit/widgets/Container.h"

#include <string>

class KindFrame {
public:
    virtual ~KindFrame() = default;

    int prevTab = 0;
    int curTab = 0;
    int pendingTab = -1;

    // The word a frame hands to a panel for a tab ("Dog" .. "Dino"); empty for tab 5.
    static std::wstring kindWord(int tab);

protected:
    // Whether the frame stands: disabled, or the date bar is modal or paused.
    static bool isHeld(const Container& frame);
    // After the base update: the frame made visible in its first appearing update. True only
    // while the frame is shown.
    static bool isShownAfterUpdate(Container& frame);
    // The close handler: a release over the button closes every panel with "exit".
    static void closeOnRelease(int current);
    // Shows a panel with the game transition (its reset runs when it was hidden).
    static void showPanel(Container* panel);
    static void hidePanel(Container* panel, int ms);
    static bool isHidden(const Container* panel);

    // prevTab/curTab from the strip; a reported change starts hiding the old panel; once every
    // panel of the frame is hidden the pending tab's panel shows.
    void followTab();
    // At the frame's reset: strip reset, both tabs from the strip.
    void takeTabAtReset();

    virtual void hidePanelOf(int tab) = 0;
    virtual bool allPanelsHidden() const = 0;
    // The swap's rule for showing the panel of a tab (the frame's update).
    virtual void showPanelOf(int tab) = 0;
};
