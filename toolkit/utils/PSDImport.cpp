#include "toolkit/utils/PSDImport.h"

#include "core/Assert.h"
#include "core/Logger.h"
#include "toolkit/utils/misc.h"
#include "toolkit/widgets/Extensions.h"
#include "toolkit/widgets/WidgetButton.h"
#include "toolkit/widgets/WidgetCanvas.h"
#include "toolkit/widgets/WidgetCheckbox.h"
#include "toolkit/widgets/WidgetEdit.h"
#include "toolkit/widgets/WidgetHelper.h"
#include "toolkit/widgets/WidgetLabel.h"

#include <cstdio>
#include <ctime>

// Index: helpers - import - names and widgets - extensions

namespace {

constexpr int kFadeMs = 250;
constexpr int kGrowMs = 300;
constexpr float kGrowAmplitude = 0.25f;

// The smallest power of two not below n; 1 for n of 1 or less.
int powerOfTwo(int n)
{
    int p = 1;
    while (p < n && p < (1 << 30))
        p <<= 1;
    return p;
}

// Reads exactly `count` blank-separated integers from text; false when anything else is there.
bool readInts(const std::wstring& text, int* out, int count)
{
    std::vector<std::wstring> pieces = splitWide(text, L" \t");
    if (static_cast<int>(pieces.size()) != count)
        return false;
    for (int i = 0; i < count; ++i) {
        std::string narrow = wideToString(pieces[i]);
        char* end = nullptr;
        long value = std::strtol(narrow.c_str(), &end, 10);
        if (narrow.empty() || *end != '\0' || value < -1000000 || value > 1000000)
            return false;
        out[i] = static_cast<int>(value);
    }
    return true;
}

std::wstring firstPiece(const std::wstring& name)
{
    std::vector<std::wstring> pieces = splitWide(name, L"_");
    return pieces.empty() ? std::wstring() : pieces.front();
}

} // namespace

// ---- helpers

void PSDImport::log(const std::wstring& message)
{
    mLastMessage = message;
    Logger::get()->log(message);
}

void PSDImport::fail(const std::string& what) const
{
    std::string message = mPath + " line " + std::to_string(mLine) + ": " + what;
    pp_assert_fail(__FILE__, __LINE__, message.c_str());
}

// ---- import

PSDImport::Result PSDImport::import(const std::string& path)
{
    std::time_t now = std::time(nullptr);
    log(L"---- import file: " + stringToWide(path) + L"at date: " + stringToWide(std::asctime(std::localtime(&now)))
        + L"----");
    mPath = path;
    mLine = 1;

    Result result;
    std::vector<std::wstring> lines = readTextLines(path);
    size_t slash = path.rfind('/');
    std::string directory = slash == std::string::npos ? std::string() : path.substr(0, slash);

    int header[3] = {0, 0, 0};
    if (lines.empty() || !readInts(lines[0], header, 3))
        fail("plik layerow pochodzi ze starej wersji eksportera (brak informacji o paddingu): the header must be "
             "\"width height padding\"");
    if (header[0] <= 0 || header[1] <= 0)
        fail("the canvas width and height must be above 0");
    const float invW = 1.0f / static_cast<float>(header[0]);
    const float invH = 1.0f / static_cast<float>(header[1]);
    const bool padded = header[2] != 0;
    const std::string screenName = WidgetBase::nameFromPath(path);

    Group current;
    std::wstring currentName;
    std::vector<std::wstring> nameStack;

    for (size_t n = 1; n < lines.size(); ++n) {
        mLine = n + 1;
        const std::wstring& line = lines[n];
        if (line.size() >= kMaxLineLength)
            fail("linia jest dluzsza niz 1000 znakow");
        std::vector<std::wstring> tokens = splitWide(line, L"\"");
        if (tokens.empty())
            continue;
        const std::wstring& kind = tokens[0];

        if (kind == L"groupBegin ") {
            nameStack.push_back(currentName);
            currentName = tokens.size() > 1 ? tokens[1] : std::wstring();
            current.mKey = toLowerWide(currentName);
        } else if (kind == L"groupEnd " || kind == L"groupEnd") {
            if (nameStack.empty())
                fail("groupEnd without an open group");
            if (checkWidgetName(current.mKey)) {
                if (WidgetBase* widget = endGroup(current)) {
                    addExtensions(widget, screenName, current.mKey, 1);
                    result.second.push_back(widget);
                }
            }
            current.mLayers.clear();
            currentName = nameStack.back();
            current.mKey = toLowerWide(currentName);
            nameStack.pop_back();
        } else if (kind == L"layer ") {
            int numbers[4];
            if (tokens.size() < 5 || tokens[2].find_first_not_of(L" \t") != std::wstring::npos
                || !readInts(tokens[4], numbers, 4))
                fail("a layer line is: layer \"<image file>\" \"<layer name>\" x y w h");
            Layer layer;
            std::string file = wideToString(tokens[1]);
            std::string folder = directory;
            if (file.compare(0, 3, "../") == 0) {
                size_t cut = folder.rfind('/');
                folder = cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
                file = file.substr(3);
            }
            if (folder.empty() || folder.back() == '/')
                layer.mPath = folder + file;
            else
                layer.mPath = folder + "/" + file;
            layer.mName = toLowerWide(tokens[3]);
            const int x = numbers[0], y = numbers[1], w = numbers[2], h = numbers[3];
            layer.mRect = float4(x * invW, y * invH, w * invW, h * invH);
            if (padded)
                layer.mDrawRect = float4(x * invW, y * invH, powerOfTwo(w) * invW, powerOfTwo(h) * invH);
            else
                layer.mDrawRect = layer.mRect;
            current.mLayers.push_back(layer);

            if (!checkWidgetName(current.mKey)) {
                int isHelper = 0;
                WidgetBaseBase* made = createWidget(layer.mName, layer, isHelper);
                if (made && isHelper) {
                    result.first.push_back(made);
                } else if (made) {
                    WidgetBase* widget = static_cast<WidgetBase*>(made);
                    addExtensions(widget, screenName, layer.mName, 0);
                    result.second.push_back(widget);
                }
                if (made)
                    current.mLayers.clear();
            }
        }
    }
    mPath.clear();
    mLine = 0;
    return result;
}

// ---- names and widgets

bool PSDImport::checkWidgetName(const std::wstring& name)
{
    std::vector<std::wstring> pieces = splitWide(name, L"_");
    if (pieces.empty())
        return false;
    const std::wstring& kind = pieces.front();
    if (kind == L"btn" || kind == L"chk" || kind == L"edit" || kind == L"label")
        return true;
    if (kind != L"canvas" && kind != L"helper")
        log(L"mo\u00bfliwa nieprawidlowa nazwa widgeta (ale moze to  byc tylko oznaczenie katalogu) " + kind);
    return false;
}

WidgetBase* PSDImport::endGroup(const Group& group)
{
    const std::wstring kind = firstPiece(group.mKey);
    if (kind == L"btn")
        return new WidgetButton(group.mKey, group.mLayers);
    if (kind == L"chk")
        return new WidgetCheckbox(group.mKey, group.mLayers);
    if (kind == L"edit")
        return new WidgetTextEdit(group.mKey, group.mLayers);
    if (kind == L"label") {
        if (group.mLayers.empty()) {
            log(L"helperowi brakuje layerow");
            fail("label group '" + wideToString(group.mKey) + "': pusty wektor layerow w konstruktorze WidgetLabel");
        }
        return new WidgetLabel(group.mLayers);
    }
    return nullptr;
}

WidgetBaseBase* PSDImport::createWidget(const std::wstring& layerName, const Layer& layer, int& isHelper)
{
    isHelper = 0;
    std::vector<std::wstring> pieces = splitWide(layerName, L"_");
    const std::wstring kind = pieces.empty() ? std::wstring() : pieces.front();
    if (kind == L"btn" || kind == L"chk" || kind == L"edit")
        return nullptr;
    if (pieces.size() < 2)
        fail("layer '" + wideToString(layerName) + "': opis warstwy musi zawierac nazwe (kind_name)");
    const float4& r = layer.mRect;
    if (kind == L"canvas")
        return new WidgetCanvas(layer.mPath, layerName, layer.mRect, layer.mDrawRect);
    if (kind == L"label")
        return new WidgetLabel(layerName, r.x, r.y, r.z, r.w);
    if (kind == L"helper") {
        isHelper = 1;
        return new WidgetHelper(layerName, r.x, r.y, r.z, r.w);
    }
    return nullptr;
}

// ---- extensions

void PSDImport::addExtensions(WidgetBase* widget, const std::string& screenName, const std::wstring& name,
                              int withInput)
{
    if (withInput)
        widget->addExtension(new ExtInput(widget, screenName), 0);
    std::vector<std::wstring> pieces = splitWide(name, L"_");
    std::wstring behaviour;
    if (pieces.size() >= 4)
        behaviour = pieces[3];
    else if (pieces.size() == 3)
        behaviour = pieces[2];
    for (wchar_t letter : behaviour) {
        switch (letter) {
        case L'<': widget->addExtension(new ExtFade(widget, ExtFade::kFromLeft, kFadeMs), 1); break;
        case L'>': widget->addExtension(new ExtFade(widget, ExtFade::kFromRight, kFadeMs), 1); break;
        case L'^': widget->addExtension(new ExtFade(widget, ExtFade::kFromAbove, kFadeMs), 1); break;
        case L'v': widget->addExtension(new ExtFade(widget, ExtFade::kFromBelow, kFadeMs), 1); break;
        case L'o': widget->addExtension(new ExtFade(widget, ExtFade::kFadeOnly, kFadeMs), 1); break;
        case L'i': widget->addExtension(new ExtIncrease(widget, kGrowMs, kGrowAmplitude), 1); break;
        default:
            log(L"nierozpoznany znak zachowania: " + name + L" " + std::wstring(1, letter));
            break;
        }
    }
}
