#include "core/Assert.h"
#include "core/Singleton.h"

#include <gtest/gtest.h>

namespace {

struct Counter {
    int value = 0;
};

TEST(SingletonTest, GetReturnsOneObjectCreatedOnFirstUse)
{
    Counter* first = Singleton<Counter>::get();
    first->value = 7;
    EXPECT_EQ(Singleton<Counter>::get(), first);
    EXPECT_EQ(Singleton<Counter>::get()->value, 7);
}

TEST(AssertDeathTest, PrintsSourceBelowProjectLineAndExpression)
{
    EXPECT_DEATH(PP_ASSERT(1 + 1 == 3),
                 "^tests/core/AssertTest.cpp:[0-9]+: failed assertion `1 \\+ 1 == 3'\n");
}

TEST(AssertDeathTest, MessageFormKeepsPolishTextByteExact)
{
    EXPECT_DEATH(PP_ASSERT_MSG(false, "plik jest niewyeksportowany!"),
                 "failed assertion `plik jest niewyeksportowany!'");
}

} // namespace
