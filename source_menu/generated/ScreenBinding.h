#pragma once

// What the generated layout bases (source_menu/generated/_<Screen>) share: importing the layout
// into the screen's lists, the count check, binding members by position with a class check, and
// handing a widget's layer-state pair to its handler. Written by hand; the bases are generated.

#include "core/Assert.h"
#include "core/Singleton.h"
#include "toolkit/utils/PSDImport.h"
#include "toolkit/widgets/Container.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetCheckbox.h"
#include "toolkit/widgets/WidgetEdit.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <cstddef>
#include <string>
#include <utility>

// Stops the program unless the layout holds the number of elements the base was generated for.
// The message names the generated source and the line of the check.
#define PP_REQUIRE_EXPORTED(count, expected) \
    ((count) == (expected) ? (void)0 : pp_assert_fail(__FILE__, __LINE__, "!\"plik jest niewyeksportowany!\""))

// The layout's helper elements and widgets become the screen's helper and widget lists.
inline void adoptLayout(Container& screen, const char* path)
{
    PSDImport::Result imported = Singleton<PSDImport>::get()->import(path);
    screen.mHelpers = imported.first;
    screen.mChildren = imported.second;
}

template <class T>
struct BoundClass;
template <> struct BoundClass<WidgetButton> { static constexpr const char* name = "a button (btn group)"; };
template <> struct BoundClass<WidgetCanvas> { static constexpr const char* name = "a canvas"; };
template <> struct BoundClass<WidgetCheckbox> { static constexpr const char* name = "a checkbox (chk group)"; };
template <> struct BoundClass<WidgetTextEdit> { static constexpr const char* name = "a text edit (edit group)"; };
template <> struct BoundClass<WidgetLabel> { static constexpr const char* name = "a label"; };

// Widget j of the screen's list as the class its member is declared with. A layout element of
// another class would make the screen call the wrong widget's operations, so it stops the program
// with a message naming the screen, the element and the class it should have.
template <class T>
T* bindWidget(Container& screen, size_t j)
{
    T* widget = dynamic_cast<T*>(screen.mChildren[j]);
    if (!widget) {
        const std::string message = "layout of " + screen.name + ": widget " + std::to_string(j) + " ("
                                    + screen.mChildren[j]->name + ") must be " + BoundClass<T>::name;
        pp_assert_fail(__FILE__, __LINE__, message.c_str());
    }
    return widget;
}

inline WidgetHelper* bindHelper(Container& screen, size_t j)
{
    WidgetHelper* helper = dynamic_cast<WidgetHelper*>(screen.mHelpers[j]);
    PP_ASSERT(helper != nullptr);
    return helper;
}

// True in the update in which the screen was asked to show: it is appearing and was hidden.
inline bool askedToShowThisUpdate(const WidgetBase& screen)
{
    const std::pair<int, int> states = screen.getShowStates();
    return states.first == kShowHidden && states.second == kShowAppearing;
}

// Calls the screen's handler (through its virtual table) with the widget's layer-state pair.
// A screen that has not read its layout has no widget to hand on, and no handler runs.
template <class Screen>
void dispatch(Screen* screen, void (Screen::*handler)(int, int), const WidgetBase* widget)
{
    if (!widget)
        return;
    const std::pair<int, int> states = widget->getLayerStates();
    (screen->*handler)(states.first, states.second);
}
