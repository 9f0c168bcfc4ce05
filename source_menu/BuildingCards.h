#pragma once

// What the four building panels (purchase and care, per kind and of no kind) share: ownership
// by name, the pointer's rest over the description areas, the description handed to
// BuildingsDiscription, the price lines and the icons drawn into a card.

#include "render/CRender.h"

#include <string>
#include <vector>

class Button;
class DataBuilding;
class Progress;
class WidgetBase;
class WidgetHelper;
class WidgetLabel;

namespace BuildingCards {

const int kCards = 3;
// A description shows once the pointer has rested in its area past this many milliseconds.
const int kDescriptionDelayMs = 1200;

// Whether the park holds a building of that name (same length, same characters).
bool isOwned(const DataBuilding* building);
// The first park entry of that name, or -1.
int parkIndexOf(const DataBuilding* building);
// The park's own record of that name and type (a loaded park holds records of its own), or null.
DataBuilding* parkBuildingOf(const DataBuilding* building);
// Buys a building through the park's rules and sends the camera to its helper (closing the
// panels) when it has one. False when the park cannot pay.
bool buyBuilding(DataBuilding* building);
// +10 ms for each description area the pointer lies strictly inside, 0 for the others.
void countHover(int hoverTime[kCards]);
// The description of building first + k of the first area k whose counter passed the delay,
// or an empty text and -1.
void handDescription(const std::vector<DataBuilding*>& buildings, int first, const int hoverTime[kCards]);
// "<cost text>: <amount> <currency>".
std::wstring costLine(int amount);
// The price lines of a card whose building the park does not own: the cost in white on line, or,
// under "Required:" on heading, the missing requirements in red.
void fillPriceLines(const DataBuilding* building, WidgetLabel* heading, WidgetLabel* line, float alpha);
// "<maintenance> <usdpermonth>".
std::wstring maintenanceLine(int maintenance);
// The alpha of a widget's colour, with which the panels draw what they draw themselves.
float alphaOf(const WidgetBase* widget);
// A picture stretched over the helper's rectangle.
void drawIcon(CRender::Image* icon, const WidgetHelper* place, float alpha);
// A care card's gauges and buttons from an owned building: levels, enabled states and texts
// ("isclean", "clean (cost)", "clean" with the cleaning service, "cleaning"; likewise repairs,
// "repairing (days)").
void fillCare(const DataBuilding* building, Progress* cleanness, Progress* condition, Button* clean, Button* repair,
              const DataBuilding* cleaningService, const DataBuilding* workshop);
// A texts table text as a string.
std::wstring text(const wchar_t* key);

} // namespace BuildingCards
