// The facade's storage-size check.

#include "render/CRender.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

TEST(CRenderSizes, MatchingSizesPass)
{
    CRender::check_sizes(SIZEOF_RENDER, SIZEOF_OBJECT, SIZEOF_IMAGE, SIZEOF_FONT);
}

TEST(CRenderSizesDeathTest, AWrongSizePrintsTheDefinesAndStops)
{
    // The defines go to standard output; send it to standard error to see them here.
    EXPECT_DEATH(
        {
            dup2(2, 1);
            CRender::check_sizes(SIZEOF_RENDER, SIZEOF_OBJECT, SIZEOF_IMAGE + 8, SIZEOF_FONT);
        },
        "FIX THIS:\n#define SIZEOF_RENDER\t[0-9]+\t// was: [0-9]+\n"
        "#define SIZEOF_OBJECT\t[0-9]+\t// was: [0-9]+\n"
        "#define SIZEOF_IMAGE\t" + std::to_string(SIZEOF_IMAGE) + "\t// was: " +
            std::to_string(SIZEOF_IMAGE + 8) + "\n#define SIZEOF_FONT\t");
}

}  // namespace
