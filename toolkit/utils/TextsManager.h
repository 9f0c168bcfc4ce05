#pragma once

// The texts table: every text the player sees, looked up by a key compared in lower case.
// Loaded once at start-up from "data/dat/texts.dat" (one "key text" per line).

#include <map>
#include <string>

class TextsManager {
public:
    // Empties the table and reads the file. A non-empty line without a space, or a key that
    // occurs twice (in any case), stops the program.
    void load(const std::string& path);

    // The key's text, or "missing text". The pointer stays valid until the next load.
    const wchar_t* lookup(const wchar_t* key) const;
    const wchar_t* get(const wchar_t* key) const { return lookup(key); }
    const wchar_t* getByString(const std::wstring& key) const { return lookup(key.c_str()); }
    // True when the table holds no text (a missing or empty file).
    bool empty() const { return mTexts.empty(); }

private:
    std::map<std::wstring, std::wstring> mTexts;
};

// The program's one texts table.
extern TextsManager textsManager;
