#pragma once

// Bracketed-key text files: the one format of the game's rules, saved games and options.
// A key line is the whole line, lower-cased (A-Z only), equal to a key such as "[cash]"; its
// value line or lines follow directly and are taken unchanged. Lines that are no key of the
// reader are ignored, so they can serve as comments.
//
// Reading walks the lines once:
//     KeyFileReader r(path);
//     for (; r.more(); r.advance()) {
//         if (r.key(L"[cash]")) r.readInt(cash);
//         if (r.key(L"[date]")) { ... r.value() ... }
//     }
// key() consumes nothing; the value accessors move onto the value lines, so the tests after a
// matched key look at its last value line. A line taken as a value is never a key, so any text
// written as a value reads back as that value (a name "[cash]" stays a name). A key whose
// value lines are cut off by the end of the file is ignored with a warning, and a malformed
// number keeps the field's value with a warning naming the file and the key; nothing throws.
//
// A reader that names all its key lines (setKeys) also finds where a section lost lines: a
// value line that is one of those keys, where no text is expected, ends the section there as
// cut short (value() and the number readers take nothing more, with a warning) and is then
// read as the key it is. text() takes any line, for values that may equal a key. A line that
// is neither key nor value but nearly a key ("[animal] ", "[animal}") is warned about.
//
// Writing builds the whole file as lines (key, values, empty line) and writes it with
// writeUtf8Lines: UTF-8 with a byte-order mark, lines joined by LF.

#include <string>
#include <vector>

enum class WriteFailure; // toolkit/utils/misc.h

class KeyFileReader {
public:
    // Reads the file's lines; a missing or empty file has none. Bytes that are not UTF-8 and a
    // read that stops short are warned about.
    explicit KeyFileReader(const std::string& path);
    KeyFileReader(const std::string& path, std::vector<std::wstring> lines);

    // The reader's key lines, compared lower-cased (keys) or unchanged (exactKeys).
    void setKeys(std::vector<std::wstring> keys, std::vector<std::wstring> exactKeys = {});

    bool more() const { return mIndex < mLines.size(); }
    // Moves to the next line.
    void advance();
    size_t index() const { return mIndex; }
    size_t lineCount() const { return mLines.size(); }
    const std::string& path() const { return mPath; }

    // True when the current line, lower-cased, equals key and the file still holds its
    // valueLines value lines; the key is then remembered for warnings. An empty current line
    // is never a key.
    bool key(const wchar_t* key, int valueLines = 1);
    // The same with the line compared unchanged (the saved game's month-record keys).
    bool exactKey(const wchar_t* key, int valueLines = 1);

    // Moves onto the next value line and returns it; once the section is cut short (the next
    // line is one of the setKeys keys) an empty line, without moving.
    const std::wstring& value();
    // The next value line whatever it holds (a text may equal a key).
    const std::wstring& text();
    // True when the next line is one of the setKeys keys.
    bool nextIsKey() const;
    // The next line, not taken (empty at the end of the file).
    const std::wstring& nextLine() const;
    // True once a value read of the current section met the next section's key.
    bool cut() const { return mCut; }
    // The key of the current section and the number of keys matched so far.
    const std::wstring& currentKey() const { return mKey; }
    int keysMatched() const { return mKeysMatched; }
    // The next value line split at spaces, empty items dropped.
    std::vector<std::wstring> items();

    // The next value line as one number; a malformed line keeps out and warns.
    bool readInt(int& out);
    bool readFloat(float& out);
    // A real stored in an integer field, truncated toward zero.
    bool readTruncated(int& out);
    // The same held within lo..hi: a number outside is held within with a warning.
    bool readInt(int& out, int lo, int hi);
    bool readFloat(float& out, float lo, float hi);
    bool readTruncated(int& out, int lo, int hi);

    // value held within lo..hi, with a warning naming the file and the key when it was outside.
    int within(int value, int lo, int hi) const;
    float within(float value, float lo, float hi) const;

    // Conversions of single items, with the same warning; out keeps its value on failure.
    bool toInt(const std::wstring& text, int& out) const;
    bool toFloat(const std::wstring& text, float& out) const;
    // A warning naming the file and the current key, or the given key.
    void warn(const char* what) const;
    void warn(const std::wstring& key, const char* what) const;
    // The number of warnings so far: a file read with warnings lost part of what it held.
    int warnings() const { return mWarnings; }

private:
    bool isKey(const std::wstring& line) const;
    // Not a key, but one once blanks around it are dropped, or but for one character.
    bool nearlyKey(const std::wstring& line) const;
    // The next value line, or null (with a warning) when there is none or it starts the next
    // section where no text is expected.
    const std::wstring* next(bool anyText);
    void lowerCurrent();
    // For a matched key: remembers it for warnings; false (with a warning) when the file ends
    // before its value lines.
    bool hasValueLines(const wchar_t* key, int valueLines);

    std::string mPath;
    std::vector<std::wstring> mLines;
    size_t mIndex = 0;
    std::wstring mLower;      // the current line lower-cased
    size_t mLowerIndex = ~size_t(0);
    std::wstring mKey;        // the last matched key, for warnings
    size_t mValueLine = ~size_t(0); // the last line taken as a value
    size_t mKeyLine = ~size_t(0);   // the last line matched as a key
    std::vector<std::wstring> mKeys, mExactKeys;
    bool mCut = false;
    int mKeysMatched = 0;
    mutable int mWarnings = 0;
};

// Numbers as text, in the forms the game writes and reads back exactly.
std::wstring intText(int value);
// "1" for any nonzero value, else "0".
std::wstring flagText(int value);
// General notation with 9 significant digits: 0.1f is "0.100000001", 2.0f is "2".
std::wstring realText(float value);

class KeyFileWriter {
public:
    // Starts a section: its key line.
    KeyFileWriter& key(const wchar_t* key);
    // One value line.
    KeyFileWriter& line(const std::wstring& text);
    // One value line of several values joined by single spaces.
    KeyFileWriter& line(const std::vector<std::wstring>& values);
    // Ends a section with its empty line.
    KeyFileWriter& end();

    const std::vector<std::wstring>& lines() const { return mLines; }
    // Writes the file (replaced as a whole); false (the kind in failure) when it could not be written.
    bool write(const std::string& path, WriteFailure* failure = nullptr) const;

private:
    std::vector<std::wstring> mLines;
};
