#pragma once

// What the screens of the orange finance frame share: the update gate (disabled, or a popup,
// the value popup or the tutorial open, or the game paused), the visibility of the first
// appearing update, the one update in which the screen has just become shown (when each screen
// asks for its tutorial message), the close button, and the cash and loan labels.

#include <string>

class Container;
class WidgetLabel;

namespace FinanceScreen {

// Whether the screen stands: disabled, or the date bar is modal or paused.
bool isHeld(const Container& screen);
// After the generated update: the screen and all its children made visible in the first
// appearing update. True only in the update in which the show state became shown.
bool hasJustAppeared(Container& screen);
// The close handler: a release over the button closes every panel with "exit".
void closeOnRelease(int current);
// "<amount> <currency>", the currency word from the texts table.
std::wstring money(int amount);
// The park's cash and loan in their two labels.
void showCashAndLoan(WidgetLabel* cash, WidgetLabel* loan);

} // namespace FinanceScreen
