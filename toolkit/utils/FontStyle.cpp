#include "toolkit/utils/FontStyle.h"

#include "core/Assert.h"
#include "toolkit/utils/misc.h"

#include <boost/lexical_cast.hpp>

#include <cmath>
#include <cstdio>

namespace {

constexpr size_t kTokensPerStyle = 9;
constexpr float kByteToUnit = 0.003921569f;  // 1/255
constexpr float kMaxFactor = 100.0f;         // the largest width or advance factor taken
constexpr float kFallbackSize = 0.03125f;    // the body text's size

// A wide token (UTF-16 units) as UTF-8 for the narrow trace; a lone surrogate becomes U+FFFD.
std::string toUtf8(const std::wstring& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned long c = static_cast<unsigned long>(text[i]) & 0xFFFFFFFFul;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            unsigned long low = static_cast<unsigned long>(text[i + 1]) & 0xFFFFFFFFul;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

[[noreturn]] void badLine(const std::string& path, size_t line, const std::string& what)
{
    std::string message = path + " line " + std::to_string(line) + ": " + what;
    pp_assert_fail(__FILE__, __LINE__, message.c_str());
}

template <class T>
T number(const std::wstring& token, const std::string& path, size_t line)
{
    try {
        return boost::lexical_cast<T>(token);
    } catch (const boost::bad_lexical_cast&) {
        badLine(path, line, "'" + toUtf8(token) + "' is not a number");
    }
}

int alignment(const std::wstring& token, const wchar_t* letters, const std::string& path, size_t line)
{
    std::wstring lower = toLowerWide(token);
    for (int k = 0; k < 3; ++k)
        if (lower.size() == 1 && lower[0] == letters[k])
            return k;
    badLine(path, line, "alignment '" + toUtf8(token) + "' is not one of " + toUtf8(letters));
}

} // namespace

FontStylesMgr::~FontStylesMgr()
{
    clear();
}

void FontStylesMgr::clear()
{
    for (auto& entry : mFonts)
        delete entry.second;
    mFonts.clear();
    mStyles.clear();
}

void FontStylesMgr::load(const std::string& path)
{
    clear();
    std::vector<std::wstring> lines = loadDatFileRequired(path);
    for (size_t n = 0; n < lines.size(); ++n) {
        size_t lineNumber = n + 1;
        std::vector<std::wstring> tokens = splitWide(lines[n], L" ");
        // The trace goes out narrow: a wide print would fix stdout's orientation and lose later output.
        for (const std::wstring& token : tokens)
            std::printf("%s \n", toUtf8(token).c_str());

        size_t count = 0;
        while (count < tokens.size() && tokens[count].compare(0, 2, L"//") != 0)
            ++count;
        if (count != kTokensPerStyle)
            badLine(path, lineNumber, "w czcionce brakuje parametrow");

        FontStyle style;
        style.mFontPath = "data/" + wideToString(tokens[0]) + ".png";
        style.mSize = number<float>(tokens[1], path, lineNumber);
        style.mWidthFactor = number<float>(tokens[2], path, lineNumber);
        style.mAdvanceFactor = number<float>(tokens[3], path, lineNumber);
        style.mHAlign = alignment(tokens[4], L"lcr", path, lineNumber);
        style.mVAlign = alignment(tokens[5], L"ucd", path, lineNumber);
        // A size or factor that is not a finite number above 0 draws nothing or garbage.
        float* factors[3] = {&style.mSize, &style.mWidthFactor, &style.mAdvanceFactor};
        const char* factorNames[3] = {"size", "width factor", "advance factor"};
        const float largest[3] = {1.0f, kMaxFactor, kMaxFactor};   // a size is a share of the screen height
        const float fallback[3] = {kFallbackSize, 1.0f, 1.0f};
        for (int k = 0; k < 3; ++k) {
            if (!(std::isfinite(*factors[k]) && *factors[k] > 0.0f && *factors[k] <= largest[k])) {
                std::printf("Warning: %s line %zu: font %s is not a number above 0 and up to %g, taken as %g\n",
                            path.c_str(), lineNumber, factorNames[k], static_cast<double>(largest[k]),
                            static_cast<double>(fallback[k]));
                *factors[k] = fallback[k];
            }
        }
        int rgb[3];
        for (int k = 0; k < 3; ++k) {
            rgb[k] = number<int>(tokens[6 + k], path, lineNumber);
            if (rgb[k] < 0 || rgb[k] > 255) {
                int held = rgb[k] < 0 ? 0 : 255;
                std::printf("Warning: %s line %zu: colour %d outside 0..255, taken as %d\n", path.c_str(), lineNumber,
                            rgb[k], held);
                rgb[k] = held;
            }
        }
        int red = rgb[0], green = rgb[1], blue = rgb[2];
        style.mColor = float4(static_cast<float>(red) * kByteToUnit, static_cast<float>(green) * kByteToUnit,
                              static_cast<float>(blue) * kByteToUnit, 1.0f);

        auto found = mFonts.find(style.mFontPath);
        if (found == mFonts.end()) {
            CRender::Font* font = new CRender::Font();
            font->load(style.mFontPath);
            if (!font->is_loaded())
                std::fprintf(stderr, "Warning: font %s (%s line %zu) did not load; its texts stay empty\n",
                             style.mFontPath.c_str(), path.c_str(), lineNumber);
            found = mFonts.emplace(style.mFontPath, font).first;
        }
        PP_ASSERT_MSG(found->second != nullptr, "brak pliku czcionki");
        mStyles.push_back(style);
    }
}

const FontStylesMgr::FontStyle& FontStylesMgr::getStyle(int number) const
{
    PP_ASSERT_MSG(hasStyle(number), "font style number out of range");
    return mStyles[number - 1];
}

CRender::Font* FontStylesMgr::getFont(const FontStyle& style) const
{
    auto found = mFonts.find(style.mFontPath);
    return found == mFonts.end() ? nullptr : found->second;
}
