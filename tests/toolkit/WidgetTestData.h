#pragma once

// Shared set-up of the toolkit tests: nine font styles in the styles singleton (their fonts need not
// load), a few texts in the global texts table, and layout files written into a temporary folder.

#include "core/Singleton.h"
#include "fixtures/TempDir.h"
#include "toolkit/utils/FontStyle.h"
#include "toolkit/utils/TextsManager.h"

#include <string>

inline void loadTestStyles(const TempDir& dir, int count = 9)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += "fonts/sans_24 0.03125 1.0 1.0 l u 255 255 255 // style " + std::to_string(i) + "\n";
    Singleton<FontStylesMgr>::get()->load(dir.write("fonts.dat", text));
}

inline void loadTestTexts(const TempDir& dir)
{
    textsManager.load(dir.write("texts.dat", "title Bank\nok OK\nname Name\nentername Enter your name\n"));
}
