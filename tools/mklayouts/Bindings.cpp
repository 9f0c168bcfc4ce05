#include "Bindings.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

namespace {

struct ListKind {
    const char* prefix;
    ElementClass elementClass;
};

// Declaration order of the typed lists: buttons, canvases, checkboxes, helpers, labels.
const ListKind kListKinds[] = {
    {"mButtons", ElementClass::Button},     {"mCanvases", ElementClass::Canvas},
    {"mCheckboxes", ElementClass::Checkbox}, {"mHelpers", ElementClass::Helper},
    {"mLabels", ElementClass::Label},
};

[[noreturn]] void fail(const std::string& path, int line, const std::string& what)
{
    std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), line, what.c_str());
    std::exit(1);
}

bool parseInt(const std::string& text, int& value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 6)
        return false;
    value = std::atoi(text.c_str());
    return true;
}

bool parseElement(const std::string& text, BoundElement& e)
{
    if (text.size() < 2 || (text[0] != 'W' && text[0] != 'H'))
        return false;
    e.helper = text[0] == 'H';
    return parseInt(text.substr(1), e.index);
}

// "W3" or "W3-W7" appended to out.
bool parseElements(const std::string& token, std::vector<BoundElement>& out)
{
    const size_t dash = token.find('-');
    BoundElement first;
    if (dash == std::string::npos) {
        if (!parseElement(token, first))
            return false;
        out.push_back(first);
        return true;
    }
    BoundElement last;
    if (!parseElement(token.substr(0, dash), first) || !parseElement(token.substr(dash + 1), last)
        || first.helper != last.helper || last.index < first.index)
        return false;
    for (int i = first.index; i <= last.index; ++i)
        out.push_back(BoundElement{first.helper, i});
    return true;
}

void check(ScreenBinding& s, const std::string& path, int line)
{
    int w = 0, h = 0;
    for (const BoundElement& e : s.members) {
        int& next = e.helper ? h : w;
        if (e.index != next)
            fail(path, line, s.screen + ": members must name every widget and helper once, rising: " + e.memberName());
        ++next;
    }
    if (w != s.widgets || h != s.helpers)
        fail(path, line, s.screen + ": the members do not match the counts");
    for (int j : s.handlers)
        if (j < 0 || j >= s.widgets)
            fail(path, line, s.screen + ": handler widget out of range");

    std::set<std::string> seen;
    size_t kind = 0;
    int number = 0;
    for (TypedList& list : s.lists) {
        while (kind < std::size(kListKinds) && list.name.compare(0, std::string(kListKinds[kind].prefix).size(),
                                                                  kListKinds[kind].prefix) != 0) {
            ++kind;
            number = 0;
        }
        if (kind == std::size(kListKinds) || list.name != kListKinds[kind].prefix + std::to_string(number))
            fail(path, line, s.screen + ": typed lists are declared by class and numbered from 0: " + list.name);
        ++number;
        list.elementClass = kListKinds[kind].elementClass;
        for (const BoundElement& e : list.entries) {
            if (e.helper != (list.elementClass == ElementClass::Helper))
                fail(path, line, s.screen + ": " + list.name + " holds " + e.memberName());
            if ((e.helper ? e.index >= s.helpers : e.index >= s.widgets) || !seen.insert(e.memberName()).second)
                fail(path, line, s.screen + ": " + e.memberName() + " is out of range or in two lists");
        }
    }
}

} // namespace

const char* className(ElementClass c)
{
    switch (c) {
    case ElementClass::Button: return "WidgetButton";
    case ElementClass::Canvas: return "WidgetCanvas";
    case ElementClass::Checkbox: return "WidgetCheckbox";
    case ElementClass::Edit: return "WidgetTextEdit";
    case ElementClass::Label: return "WidgetLabel";
    case ElementClass::Helper: return "WidgetHelper";
    }
    return "?";
}

std::string BoundElement::memberName() const
{
    return (helper ? "mHelper" : "mWidget") + std::to_string(index);
}

const TypedList* ScreenBinding::listOf(const BoundElement& e) const
{
    for (const TypedList& list : lists)
        for (const BoundElement& entry : list.entries)
            if (entry == e)
                return &list;
    return nullptr;
}

int ScreenBinding::listEntryCount() const
{
    int n = 0;
    for (const TypedList& list : lists)
        n += static_cast<int>(list.entries.size());
    return n;
}

std::vector<ScreenBinding> readBindings(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        fail(path, 0, "cannot read the binding table");
    std::vector<ScreenBinding> screens;
    std::string text;
    int line = 0;
    int screenLine = 0;
    while (std::getline(file, text)) {
        ++line;
        if (text.empty() || text[0] == '#')
            continue;
        std::istringstream words(text);
        std::string keyword;
        words >> keyword;
        std::vector<std::string> tokens;
        for (std::string t; words >> t;)
            tokens.push_back(t);

        if (keyword == "screen") {
            if (!screens.empty())
                check(screens.back(), path, screenLine);
            ScreenBinding s;
            if (tokens.size() != 4 || !parseInt(tokens[1], s.widgets) || !parseInt(tokens[2], s.helpers)
                || !parseInt(tokens[3], s.countLine))
                fail(path, line, "screen <name> <widgets> <helpers> <line>");
            s.screen = tokens[0];
            screens.push_back(s);
            screenLine = line;
            continue;
        }
        if (screens.empty())
            fail(path, line, "a screen line must come first");
        ScreenBinding& s = screens.back();
        std::vector<BoundElement> elements;
        const size_t first = keyword == "list" ? 1 : 0;
        if (keyword == "list" && tokens.empty())
            fail(path, line, "list <name> <elements>");
        for (size_t i = first; i < tokens.size(); ++i)
            if (!parseElements(tokens[i], elements))
                fail(path, line, "not an element or a range: " + tokens[i]);
        if (keyword == "handlers") {
            for (const BoundElement& e : elements) {
                if (e.helper)
                    fail(path, line, "a handler serves a widget");
                s.handlers.push_back(e.index);
            }
        } else if (keyword == "members") {
            s.members.insert(s.members.end(), elements.begin(), elements.end());
        } else if (keyword == "list") {
            s.lists.push_back(TypedList{tokens[0], ElementClass::Canvas, elements});
        } else {
            fail(path, line, "unknown keyword " + keyword);
        }
    }
    if (!screens.empty())
        check(screens.back(), path, screenLine);
    return screens;
}
