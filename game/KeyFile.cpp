#include "game/KeyFile.h"

#include "toolkit/utils/misc.h"

#include <boost/lexical_cast.hpp>

#include <cmath>
#include <cstdio>
#include <string>

// ---- reading

KeyFileReader::KeyFileReader(const std::string& path) : mPath(path)
{
    LineFileFaults faults;
    mLines = loadDatFile(path, &faults);
    if (faults.unreadable)
        warn(std::wstring(), "could not be read to its end");
    if (faults.notUtf8)
        warn(std::wstring(), (std::to_string(faults.notUtf8) + " line(s) from line " +
                              std::to_string(faults.firstNotUtf8) + " hold bytes that are not UTF-8, read as U+FFFD")
                                 .c_str());
}

KeyFileReader::KeyFileReader(const std::string& path, std::vector<std::wstring> lines)
    : mPath(path), mLines(std::move(lines))
{
}

void KeyFileReader::setKeys(std::vector<std::wstring> keys, std::vector<std::wstring> exactKeys)
{
    mKeys = std::move(keys);
    mExactKeys = std::move(exactKeys);
}

void KeyFileReader::advance()
{
    // A line passed over that nearly is a key is most likely a damaged key line: its section
    // is lost, which must not go unnoticed.
    if (mIndex < mLines.size() && mIndex != mValueLine && mIndex != mKeyLine && nearlyKey(mLines[mIndex]))
        warn(std::wstring(), ("line " + std::to_string(mIndex + 1) + " \"" + wideToString(mLines[mIndex]) +
                              "\" is no key line but nearly one; its section is not read")
                                 .c_str());
    ++mIndex;
}

void KeyFileReader::lowerCurrent()
{
    if (mLowerIndex != mIndex) {
        mLower = mIndex < mLines.size() ? toLowerWide(mLines[mIndex]) : std::wstring();
        mLowerIndex = mIndex;
    }
}

bool KeyFileReader::key(const wchar_t* key, int valueLines)
{
    if (mIndex >= mLines.size() || mLines[mIndex].empty() || mIndex == mValueLine)
        return false;
    lowerCurrent();
    return mLower == key && hasValueLines(key, valueLines);
}

bool KeyFileReader::exactKey(const wchar_t* key, int valueLines)
{
    return mIndex < mLines.size() && mIndex != mValueLine && mLines[mIndex] == key &&
           hasValueLines(key, valueLines);
}

bool KeyFileReader::hasValueLines(const wchar_t* key, int valueLines)
{
    mKey = key;
    mCut = false;
    if (mIndex + valueLines >= mLines.size()) {
        warn("value cut off by the end of the file, key ignored");
        return false;
    }
    mKeyLine = mIndex;
    ++mKeysMatched;
    return true;
}

bool KeyFileReader::isKey(const std::wstring& line) const
{
    if (line.empty() || line[0] != L'[')
        return false;
    for (const std::wstring& key : mExactKeys)
        if (line == key)
            return true;
    const std::wstring lower = toLowerWide(line);
    for (const std::wstring& key : mKeys)
        if (lower == key)
            return true;
    return false;
}

namespace {

// True when a and b differ by at most one character replaced, added or left out.
bool withinOneEdit(const std::wstring& a, const std::wstring& b)
{
    const std::wstring& shorter = a.size() <= b.size() ? a : b;
    const std::wstring& longer = a.size() <= b.size() ? b : a;
    if (longer.size() - shorter.size() > 1)
        return false;
    size_t i = 0;
    while (i < shorter.size() && shorter[i] == longer[i])
        ++i;
    if (shorter.size() == longer.size())
        return shorter.compare(i + (i < shorter.size()), std::wstring::npos, longer, i + (i < longer.size()),
                               std::wstring::npos) == 0;
    return shorter.compare(i, std::wstring::npos, longer, i + 1, std::wstring::npos) == 0;
}

} // namespace

bool KeyFileReader::nearlyKey(const std::wstring& line) const
{
    if (mKeys.empty() && mExactKeys.empty())
        return false;
    const size_t first = line.find_first_not_of(L" \t");
    if (first == std::wstring::npos || isKey(line))
        return false;
    const std::wstring trimmed = toLowerWide(line.substr(first, line.find_last_not_of(L" \t") + 1 - first));
    for (const std::wstring& key : mKeys)
        if (withinOneEdit(trimmed, key))
            return true;
    for (const std::wstring& key : mExactKeys)
        if (withinOneEdit(trimmed, toLowerWide(key)))
            return true;
    return false;
}

bool KeyFileReader::nextIsKey() const
{
    return mIndex + 1 < mLines.size() && isKey(mLines[mIndex + 1]);
}

const std::wstring& KeyFileReader::nextLine() const
{
    static const std::wstring empty;
    return mIndex + 1 < mLines.size() ? mLines[mIndex + 1] : empty;
}

const std::wstring* KeyFileReader::next(bool anyText)
{
    if (mCut)
        return nullptr;
    if (mIndex + 1 >= mLines.size()) {
        // Callers ask key() for the number of value lines first; this only guards misuse.
        warn("missing value line");
        return nullptr;
    }
    if (!anyText && nextIsKey()) {
        mCut = true;
        warn(("cut short: line " + std::to_string(mIndex + 2) + " starts the next section " +
              wideToString(mLines[mIndex + 1]) + "; this section is skipped")
                 .c_str());
        return nullptr;
    }
    ++mIndex;
    mValueLine = mIndex;
    return &mLines[mIndex];
}

const std::wstring& KeyFileReader::value()
{
    static const std::wstring empty;
    const std::wstring* line = next(false);
    return line ? *line : empty;
}

const std::wstring& KeyFileReader::text()
{
    static const std::wstring empty;
    const std::wstring* line = next(true);
    return line ? *line : empty;
}

std::vector<std::wstring> KeyFileReader::items()
{
    return splitWide(value(), L" ");
}

bool KeyFileReader::readInt(int& out)
{
    const std::wstring* line = next(false);
    return line && toInt(*line, out);
}

bool KeyFileReader::readFloat(float& out)
{
    const std::wstring* line = next(false);
    return line && toFloat(*line, out);
}

bool KeyFileReader::readTruncated(int& out)
{
    float f = 0.0f;
    if (!readFloat(f))
        return false;
    // Only a real whose integer part fits an int can be stored in one.
    if (!(f > -2147483648.0f && f < 2147483648.0f)) {
        warn("number too large for an integer");
        return false;
    }
    out = static_cast<int>(f);
    return true;
}

bool KeyFileReader::readInt(int& out, int lo, int hi)
{
    int n = out;
    if (!readInt(n))
        return false;
    out = within(n, lo, hi);
    return true;
}

bool KeyFileReader::readFloat(float& out, float lo, float hi)
{
    float f = out;
    if (!readFloat(f))
        return false;
    out = within(f, lo, hi);
    return true;
}

bool KeyFileReader::readTruncated(int& out, int lo, int hi)
{
    int n = out;
    if (!readTruncated(n))
        return false;
    out = within(n, lo, hi);
    return true;
}

int KeyFileReader::within(int value, int lo, int hi) const
{
    if (value >= lo && value <= hi)
        return value;
    int held = value < lo ? lo : hi;
    warn(("number " + std::to_string(value) + " outside " + std::to_string(lo) + ".." + std::to_string(hi) +
          ", taken as " + std::to_string(held))
             .c_str());
    return held;
}

float KeyFileReader::within(float value, float lo, float hi) const
{
    if (value >= lo && value <= hi)
        return value;
    float held = value > hi ? hi : lo;
    warn(("number " + std::to_string(value) + " outside " + std::to_string(lo) + ".." + std::to_string(hi) +
          ", taken as " + std::to_string(held))
             .c_str());
    return held;
}

bool KeyFileReader::toInt(const std::wstring& text, int& out) const
{
    try {
        out = boost::lexical_cast<int>(text);
        return true;
    } catch (const boost::bad_lexical_cast&) {
        warn(("not an integer: \"" + wideToString(text) + "\"").c_str());
        return false;
    }
}

bool KeyFileReader::toFloat(const std::wstring& text, float& out) const
{
    try {
        float f = boost::lexical_cast<float>(text);
        if (!std::isfinite(f)) {
            warn(("not a finite number: \"" + wideToString(text) + "\"").c_str());
            return false;
        }
        out = f;
        return true;
    } catch (const boost::bad_lexical_cast&) {
        warn(("not a number: \"" + wideToString(text) + "\"").c_str());
        return false;
    }
}

void KeyFileReader::warn(const char* what) const
{
    warn(mKey, what);
}

void KeyFileReader::warn(const std::wstring& key, const char* what) const
{
    ++mWarnings;
    if (key.empty())
        std::printf("Warning: %s: %s\n", mPath.c_str(), what);
    else
        std::printf("Warning: %s, %s: %s\n", mPath.c_str(), wideToString(key).c_str(), what);
}

// ---- number texts

std::wstring intText(int value)
{
    return boost::lexical_cast<std::wstring>(value);
}

std::wstring flagText(int value)
{
    return value ? L"1" : L"0";
}

std::wstring realText(float value)
{
    return boost::lexical_cast<std::wstring>(value);
}

// ---- writing

KeyFileWriter& KeyFileWriter::key(const wchar_t* key)
{
    mLines.emplace_back(key);
    return *this;
}

KeyFileWriter& KeyFileWriter::line(const std::wstring& text)
{
    mLines.push_back(text);
    return *this;
}

KeyFileWriter& KeyFileWriter::line(const std::vector<std::wstring>& values)
{
    std::wstring joined;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i)
            joined += L' ';
        joined += values[i];
    }
    mLines.push_back(joined);
    return *this;
}

KeyFileWriter& KeyFileWriter::end()
{
    mLines.emplace_back();
    return *this;
}

bool KeyFileWriter::write(const std::string& path, WriteFailure* failure) const
{
    return writeUtf8Lines(path, mLines, failure);
}
