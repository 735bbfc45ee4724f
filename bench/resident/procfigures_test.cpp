/*
 * The resident benchmark's counts under Wine: each object this process makes
 * shows in the figure that counts its kind, and only there, and is gone
 * from it again when released. (Under Wine the GDI and USER objects are
 * counted by the stand-ins of procfigures.cpp.)
 */
#include <gtest/gtest.h>
#include "procfigures.h"
#include "testbench/testbench.h"
#include <vector>

namespace {

RESFIGURES Now()
{
    RESFIGURES f;
    EXPECT_TRUE(MeasureProcess(GetCurrentProcess(), GetCurrentProcessId(), &f));
    return f;
}

} // namespace

TEST(ResidentFigures, EachKindOfObjectIsCountedInItsOwnFigure)
{
    /* The thread's first window brings what Wine makes once per thread. */
    HWND hwndFirst = tb::MakeWindow("first");
    tb::Pump(50);
    RESFIGURES start = Now();
    ASSERT_NE(RESIDENT_UNKNOWN, start.dwGdi);
    ASSERT_NE(RESIDENT_UNKNOWN, start.dwUser);
    EXPECT_GT(start.cbPrivate, 0u);
    EXPECT_GT(start.cbWorkingSet, 0u);
    EXPECT_GT(start.dwHandles, 0u);
    EXPECT_GE(start.dwUser, 1u);

    HBRUSH ahbr[3];
    for (int i = 0; i < 3; i++)
        ahbr[i] = CreateSolidBrush(RGB(i, 2 * i, 3 * i));
    RESFIGURES brushes = Now();
    EXPECT_EQ(start.dwGdi + 3, brushes.dwGdi);
    EXPECT_EQ(start.dwHandles, brushes.dwHandles);
    EXPECT_EQ(start.dwUser, brushes.dwUser);

    HANDLE ahEvent[4];
    for (int i = 0; i < 4; i++)
        ahEvent[i] = CreateEventA(NULL, TRUE, FALSE, NULL);
    RESFIGURES events = Now();
    EXPECT_EQ(brushes.dwHandles + 4, events.dwHandles);
    EXPECT_EQ(brushes.dwGdi, events.dwGdi);

    HWND hwndParent = tb::MakeWindow("second");
    HWND hwndChild = CreateWindowA("STATIC", "child", WS_CHILD, 0, 0, 10, 10, hwndParent, NULL,
                                   GetModuleHandleA(NULL), NULL);
    ASSERT_NE((HWND)NULL, hwndChild);
    RESFIGURES windows = Now();
    EXPECT_EQ(events.dwUser + 2, windows.dwUser) << "a top-level window and its child";

    DestroyWindow(hwndParent);
    for (HBRUSH hbr : ahbr)
        DeleteObject(hbr);
    for (HANDLE h : ahEvent)
        CloseHandle(h);
    tb::Pump(50);
    RESFIGURES end = Now();
    EXPECT_EQ(start.dwGdi, end.dwGdi);
    EXPECT_EQ(start.dwHandles, end.dwHandles);
    EXPECT_EQ(start.dwUser, end.dwUser);
    DestroyWindow(hwndFirst);
}
