#include <gtest/gtest.h>
#include "testbench/testbench.h"

TEST(Smoke, RunsUnderWineAsWindowsXp)
{
    OSVERSIONINFOA v = { sizeof(v) };
    ASSERT_TRUE(GetVersionExA(&v));
    EXPECT_EQ(5u, v.dwMajorVersion);
    EXPECT_EQ(1u, v.dwMinorVersion);
    EXPECT_EQ(1251u, GetACP());
}
