#include "toolkit/utils/TextsManager.h"

#include "core/Assert.h"
#include "toolkit/utils/misc.h"

#include <cstdio>
#include <vector>

TextsManager textsManager;

void TextsManager::load(const std::string& path)
{
    mTexts.clear();
    const std::vector<std::wstring> lines = loadDatFile(path);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::wstring& line = lines[i];
        if (line.empty())
            continue;
        const size_t space = line.find(L' ');
        if (space == std::wstring::npos) {
            std::fprintf(stderr, "%s:%zu: a text line needs a space after its key\n", path.c_str(), i + 1);
            PP_ASSERT_MSG(false, "(false)&&\"brak delimitera w tekstach\\n\"");
        }
        const std::wstring key = toLowerWide(line.substr(0, space));
        if (key.empty())
            continue;
        if (mTexts.count(key)) {
            std::fprintf(stderr, "%s:%zu: the key %s is already in the table\n", path.c_str(), i + 1,
                         wideToString(key).c_str());
            PP_ASSERT_MSG(false, "(false)&&\"takie ID ju\xBF jest\\n\"");
        }
        mTexts[key] = line.substr(space + 1);
    }
}

const wchar_t* TextsManager::lookup(const wchar_t* key) const
{
    if (!key)
        return L"missing text";
    auto found = mTexts.find(toLowerWide(key));
    if (found == mTexts.end())
        return L"missing text";
    return found->second.c_str();
}
