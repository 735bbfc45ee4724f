/* ManagerChannel itself, in both roles, in one process. */
#include <gtest/gtest.h>
#include <string.h>

#include "gravmon_support.h"
#include "testbench/testbench.h"

namespace {

TEST(ManagerChannel, OwnerCreatesZeroedBlockAndRefusingObjects)
{
    /* A stale mapping with garbage: the owner takes it and zeroes it. */
    HANDLE hStale = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, 44,
                                       GRAVMON_SHAREMEMORY);
    ASSERT_TRUE(hStale);
    BYTE *pStale = (BYTE *)MapViewOfFile(hStale, FILE_MAP_WRITE, 0, 0, 0);
    memset(pStale, 0xA5, 44);

    ManagerChannel owner;
    ASSERT_TRUE(owner.Open(TRUE, TRUE));   /* the owner always writes */
    EXPECT_TRUE(owner.IsOwner());
    for (int i = 0; i < 44; i++)
        ASSERT_EQ(0, pStale[i]) << i;
    EXPECT_TRUE(gt::IsNamedEventSignalled(GRAVMON_ALLOWEVENT));
    EXPECT_TRUE(gt::IsNamedEventSignalled(GRAVMON_VALIDEVENT));
    EXPECT_TRUE(gt::IsNamedEventSignalled(GRAVMON_UPDATEDEVENT));
    HANDLE hMutex = owner.LockBlock();
    ASSERT_TRUE(hMutex);                  /* created owned, released at once */
    owner.UnlockBlock(hMutex);

    /* The owner needs neither the allow event nor `active`. */
    HWND hwnd = (HWND)(ULONG_PTR)0x1234;
    EXPECT_TRUE(owner.IsAccessAllowed());
    EXPECT_EQ(0, owner.WriteMonopolyWindow(hwnd));
    HWND hwndRead = NULL;
    EXPECT_EQ(0, owner.ReadMonopolyWindow(&hwndRead));
    EXPECT_EQ(hwnd, hwndRead);
    float fX, fY;
    EXPECT_EQ(-7, owner.ReadAngle(&fX, &fY));   /* validity is tested in both roles */

    ManagerChannel client;
    ASSERT_TRUE(client.Open(TRUE, FALSE));
    EXPECT_FALSE(client.IsOwner());
    EXPECT_FALSE(client.IsAccessAllowed());
    LONG lActive = 77;
    EXPECT_EQ(-1, client.ReadActive(&lActive));
    EXPECT_EQ(77, lActive);
    EXPECT_EQ(-7, client.ReadAngle(&fX, &fY));  /* -7 comes before -1 */
    EXPECT_EQ(-2, client.ReadAngle(NULL, &fY)); /* and -2 before that */

    UnmapViewOfFile(pStale);
    CloseHandle(hStale);
}

TEST(ManagerChannel, ClientRoleRulesForActiveAndClosedChannels)
{
    gt::Owner owner;
    ASSERT_TRUE(owner.Open());
    owner.Serve();
    owner.Block()->active = 0;

    ManagerChannel client;
    LONG lActive = 77;
    EXPECT_EQ(-2, client.ReadActive(&lActive));   /* not open */
    ASSERT_TRUE(client.Open(FALSE, FALSE));
    EXPECT_EQ(0, client.ReadActive(&lActive));
    EXPECT_EQ(0, lActive);
    HWND hwnd = NULL;
    WORD w[4];
    float fX, fY;
    EXPECT_EQ(-6, client.ReadMonopolyWindow(&hwnd));
    EXPECT_EQ(-6, client.WriteMonopolyWindow((HWND)1));
    EXPECT_EQ(-6, client.ReadRaw(&w[0], &w[1]));
    EXPECT_EQ(-6, client.ReadZeroBase(&w[0], &w[1], &w[2], &w[3]));
    EXPECT_EQ(-6, client.WriteNewZeroBase(1, 2, 3, 4));
    EXPECT_EQ(-6, client.ReadAngle(&fX, &fY));
    EXPECT_EQ(-6, client.ReadAcceleration(&fX, &fY));
    EXPECT_EQ(0u, owner.Block()->monopolyWindow);
    /* The owner role is served regardless. */
    EXPECT_EQ(0, owner.channel.ReadRaw(&w[0], &w[1]));
    EXPECT_EQ(0, owner.channel.WriteNewZeroBase(0x10001, 0x1FFFF, -2, 0));
    EXPECT_EQ(1, owner.Block()->newZeroBase[0]);
    EXPECT_EQ(0xFFFF, owner.Block()->newZeroBase[1]);
    EXPECT_EQ(0xFFFE, owner.Block()->newZeroBase[2]);

    client.Close();
    EXPECT_EQ(-2, client.ReadActive(&lActive));
    ASSERT_TRUE(client.Open(TRUE, FALSE));       /* can be opened again */
    EXPECT_EQ(0, client.ReadActive(&lActive));
    EXPECT_TRUE(client.SignalZeroBaseUpdate(TRUE));
    EXPECT_FALSE(gt::IsNamedEventSignalled(GRAVMON_UPDATEDEVENT));
    EXPECT_TRUE(client.SignalZeroBaseUpdate(FALSE));
    EXPECT_TRUE(gt::IsNamedEventSignalled(GRAVMON_UPDATEDEVENT));
}

TEST(ManagerChannel, SecondOwnerFailsAndLeavesTheFirstServing)
{
    tb::ResetRegistry();
    gt::Api api;
    ASSERT_TRUE(api.Load());
    HWND hwnd = tb::MakeWindow();
    gt::Owner first;
    ASSERT_TRUE(first.Open());
    first.Serve();
    first.Block()->angleX = 3.0f;

    ManagerChannel second;
    EXPECT_FALSE(second.Open(FALSE, TRUE));
    EXPECT_FALSE(second.IsOwner());
    second.Close();
    /* The failed owner neither zeroed the block nor shut the clients out. */
    EXPECT_FALSE(gt::IsNamedEventSignalled(GRAVMON_ALLOWEVENT));
    float fX = 0, fY = 0;
    EXPECT_EQ(0, api.GetAngle(&fX, &fY, hwnd));
    EXPECT_EQ(3.0f, fX);

    /* Once the first owner is gone a new one can start. */
    first.Close();
    EXPECT_EQ(-4, api.GetAngle(&fX, &fY, hwnd));
    ManagerChannel third;
    EXPECT_TRUE(third.Open(FALSE, TRUE));
    DestroyWindow(hwnd);
}

TEST(ManagerChannel, ClientOutlivingTheOwnerIsRefused)
{
    tb::ResetRegistry();
    gt::Api api;
    ASSERT_TRUE(api.Load());
    HWND hwnd = tb::MakeWindow();
    gt::Owner owner;
    ASSERT_TRUE(owner.Open());
    owner.Serve();
    owner.Block()->active = 1;

    ManagerChannel client;
    ASSERT_TRUE(client.Open(FALSE, FALSE));
    WORD w[4];
    float fX, fY;
    ASSERT_EQ(0, client.ReadRaw(&w[0], &w[1]));

    owner.Close();
    LONG lActive;
    HWND hwndHolder;
    EXPECT_EQ(-1, client.ReadActive(&lActive));
    EXPECT_EQ(-1, client.ReadMonopolyWindow(&hwndHolder));
    EXPECT_EQ(-1, client.WriteMonopolyWindow(hwnd));
    EXPECT_EQ(-1, client.ReadRaw(&w[0], &w[1]));
    EXPECT_EQ(-1, client.WriteNewZeroBase(1, 2, 3, 4));
    /* The valid event went with the owner: -7 first. */
    EXPECT_EQ(-7, client.ReadZeroBase(&w[0], &w[1], &w[2], &w[3]));
    EXPECT_EQ(-7, client.ReadAngle(&fX, &fY));
    EXPECT_EQ(-7, client.ReadAcceleration(&fX, &fY));
    /* The mapping lives while the client holds it: the exports get -1. */
    EXPECT_EQ(-1, api.GetAngle(&fX, &fY, hwnd));
    EXPECT_EQ(-1, api.Monopolize(hwnd));
    client.Close();
    EXPECT_EQ(-4, api.GetAngle(&fX, &fY, hwnd));
    DestroyWindow(hwnd);
}

} // namespace
