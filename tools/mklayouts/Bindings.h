#pragma once

// The binding table of the screens' layout bases (bindings.txt): per screen the exact widget and
// helper counts of its layout, the source line of the count check, the handler widgets, the
// bound members in declaration order and the typed lists.

#include <string>
#include <vector>

// The classes a layout element can have.
enum class ElementClass { Button, Canvas, Checkbox, Edit, Label, Helper };

const char* className(ElementClass c);

// W<index> or H<index>.
struct BoundElement {
    bool helper = false;
    int index = 0;

    std::string memberName() const;  // mWidget<j> or mHelper<j>
    bool operator==(const BoundElement& o) const { return helper == o.helper && index == o.index; }
};

struct TypedList {
    std::string name;              // mButtons0, mLabels2, ...
    ElementClass elementClass;     // from the name
    std::vector<BoundElement> entries;
};

struct ScreenBinding {
    std::string screen;
    int widgets = 0;
    int helpers = 0;
    int countLine = 0;             // the widget-count check; the helper count is on the next line
    std::vector<int> handlers;     // widget indices in slot order
    std::vector<BoundElement> members;
    std::vector<TypedList> lists;

    // The typed list holding the element, or null.
    const TypedList* listOf(const BoundElement& e) const;
    int listEntryCount() const;
};

// Reads and checks the table: members are exactly W0..W(w-1) and H0..H(m-1), each rising within
// its kind; lists hold members of their kind, no element twice, declared grouped by class and
// numbered from 0 per class. Stops with a message naming the line on any error.
std::vector<ScreenBinding> readBindings(const std::string& path);
