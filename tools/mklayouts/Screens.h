#pragma once

// The layouts of the game's screens, one function per screen, and the geometry they share.
// The order of the element calls in each function is the order the screen's base binds (see
// bindings.txt): mWidget<j> is the j-th widget added, mHelper<j> the j-th helper.

#include "Art.h"
#include "Layout.h"

#include <string>
#include <vector>

struct ScreenLayout {
    const char* name;
    Layout (*make)();
};

// Every screen's layout, by screen name.
const std::vector<ScreenLayout>& screenLayouts();

// Layouts of the screen flow, the HUD and the main menu, of the park view and the trick show.
Layout layoutButtonBar();
Layout layoutCredits();
Layout layoutCursors();
Layout layoutGameBackground3D();
Layout layoutHappinessBar();
Layout layoutMainMenuChooseProfile();
Layout layoutMainMenuCreateProfile();
Layout layoutMainMenuDeleteProfile();
Layout layoutMainMenuStart();
Layout layoutMenuDateBar();
Layout layoutMenuIngame();
Layout layoutMenuIngameFold1();
Layout layoutMenuIngameFold2();
Layout layoutMenuIngameFold3();
Layout layoutMenuLoading();
Layout layoutMenuOptions();
Layout layoutPopup();
Layout layoutProgressBar();
Layout layoutScrollPopup();
Layout layoutTeachTrick();
Layout layoutTutorial();

// Layouts of the management screens.
Layout layoutBuildingsDiscription();
Layout layoutMenuAchievements();
Layout layoutMenuBank();
Layout layoutMenuBlueFolds();
Layout layoutMenuBuildingBuySell();
Layout layoutMenuBuildingBuySell1();
Layout layoutMenuBuildingBuySell2();
Layout layoutMenuBuildings();
Layout layoutMenuBuildings1();
Layout layoutMenuBuildings2();
Layout layoutMenuBuyFood();
Layout layoutMenuOrange();
Layout layoutMenuOrangeFolds();
Layout layoutMenuPetBuySell();
Layout layoutMenuPetBuySell1();
Layout layoutMenuPetShowSummary();
Layout layoutMenuPetsList();
Layout layoutMenuPetsList1();
Layout layoutMenuPetsShow();
Layout layoutMenuPetsShow1();
Layout layoutMenuRanking();
Layout layoutMenuStatistics();
Layout layoutMenuTickets();

// ---- shared geometry (canvas pixels of the 1024 x 768 layout)
namespace geo {

// The management frames (orange finance frame, blue kind frames) and what sits on them. Every
// widget of theirs that takes a click lies above kFoldTop: the HUD's folds open below it, over
// the frames, and must leave their buttons free.
const Rect kFrame{96, 96, 832, 504};
const Rect kFrameClose{868, 106, 48, 48};
const Rect kFrameTitle{208, 104, 608, 48};
const Rect kFrameContent{120, 168, 784, 420};
const int kFoldTop = 604;
// The tab strips above the frames.
const int kTabTop = 50;
const int kTabHeight = 50;

// The three cards of the buildings and food panels inside a frame; they end above the browser
// of the other buildings.
inline Rect card(int k)
{
    return Rect{124 + k * 266, 172, 244, 372};
}

// Button picture sizes of the screens' code-made buttons (kinds of the button bank).
struct Kind {
    int w, h;
};
Kind buttonKind(int kind);

// A helper placed for a code-made button of the kind, its left edge at x, its centre at cy.
inline Rect buttonAt(int kind, int x, int cy)
{
    const Kind k = buttonKind(kind);
    return Rect{x, cy - k.h / 2, k.w, k.h};
}

// The tickets' Change button beside table row r (rows 23 px apart); the tutorial points at row 0's.
inline Rect changeButton(int row)
{
    return buttonAt(3, 700, 204 + row * 23 + 11);
}

// The row step of the report tables (bank, statistics, ranking, achievements): the tables step
// their rows by 0.017 of the screen height, 13 of the 768 layout pixels.
const int kReportRow = 13;

} // namespace geo

// Font styles of the labels (lines of data/dat/fonts.dat, from 1).
namespace font {
const int kBody = 1;        // white, left, top
const int kTitle = 2;       // bold gold, centred
const int kCentred = 3;     // white, centred
const int kSmall = 4;       // small white, left, top
const int kNumber = 5;      // white, right
const int kCaption = 6;     // bold dark, centred: small button captions
const int kDark = 7;        // dark, left, top: text on light boxes
const int kMenu = 8;        // bold dark, centred: big menu buttons
const int kDialog = 9;      // bold dark, centred: dialog buttons
const int kHeadline = 10;   // big white, centred
const int kLine = 11;       // white, left, vertically centred
const int kAmount = 12;     // bold gold, centred
const int kTable = 13;      // small white, left: table rows
const int kTableNumber = 14;  // small white, right: table numbers
const int kStatus = 15;       // bold light, centred: a disabled button's status in its place
const int kCardLine = 16;     // bold white, left, top: card lines that turn red for a missing requirement
const int kSmallRight = 17;   // small white, right, top: headers of number columns
const int kReport = 18;       // white, left, top: rows of the report tables
const int kReportNumber = 19; // white, right, top: their numbers and column headers
} // namespace font
