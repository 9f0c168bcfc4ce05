#pragma once

// Screen layout files ("data/psd/<Screen>.txt"): a header "W H P", then groupBegin, groupEnd and
// layer lines. The import turns them into helper elements and widgets, picking the class from the
// name's first piece and adding behaviour extensions from the letters of its behaviour piece.

#include "toolkit/utils/misc.h"

#include <string>
#include <utility>
#include <vector>

class WidgetBase;
class WidgetBaseBase;

// One layer line, handed to the widget constructors.
struct Layer {
    std::string mPath;   // image file relative to the working directory
    std::wstring mName;  // lower-cased layer name
    float4 mRect;        // canvas fractions
    float4 mDrawRect;    // what the (power-of-two padded) texture covers
};

class PSDImport {
public:
    // The current group while reading: its name (lower-cased) and the layers not yet used.
    struct Group {
        std::wstring mKey;
        std::vector<Layer> mLayers;
    };
    // Helper elements and widgets in creation order.
    typedef std::pair<std::vector<WidgetBaseBase*>, std::vector<WidgetBase*>> Result;

    static constexpr size_t kMaxLineLength = 1000;

    // Reads "data/psd/<Screen>.txt" into helpers and widgets. Malformed files stop the program with
    // a message naming the file and line.
    Result import(const std::string& path);

    // True for a name of a group widget: first piece btn, chk, edit or label.
    bool checkWidgetName(const std::wstring& name);
    WidgetBase* endGroup(const Group& group);
    // A canvas, label or helper from a loose layer; null for other names. isHelper tells a helper.
    WidgetBaseBase* createWidget(const std::wstring& layerName, const Layer& layer, int& isHelper);
    // Input first (group widgets only), then one extension per letter of the behaviour piece.
    void addExtensions(WidgetBase* widget, const std::string& screenName, const std::wstring& name, int withInput);

    const std::wstring& getLastMessage() const { return mLastMessage; }

private:
    void log(const std::wstring& message);
    [[noreturn]] void fail(const std::string& what) const;

    std::wstring mLastMessage;
    std::string mPath;  // the file being read and its current line, for messages
    size_t mLine = 0;
};
