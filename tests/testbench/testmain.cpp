/*
 * The entry point of every test program under Wine. Known Wine difference:
 * on a loaded machine Wine now and then never finishes tearing down a test
 * process that had windows and loaded libraries, so ctest waits for a program
 * whose tests have all reported. The results are printed and flushed by then;
 * the process ends itself with the tests' exit code, without the library
 * detach calls. Kill-on-close jobs still end every program a test started.
 */
#include <windows.h>
#include <stdio.h>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    int nResult;

    testing::InitGoogleTest(&argc, argv);
    nResult = RUN_ALL_TESTS();
    fflush(stdout);
    fflush(stderr);
    TerminateProcess(GetCurrentProcess(), (UINT)nResult);
    return nResult;
}
