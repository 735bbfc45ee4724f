/* Joltrun.exe under a storm of notifications. */
#include "jolt_fixture.h"

#include <algorithm>

using namespace jt;

TEST_F(JoltrunTest, StormGivesOneActionPerIdlePeriodAndStaysResponsive)
{
    const DWORD dwIdle = 300;
    JoltValues v;
    v.dwVAction = 2;
    v.dwIdle = dwIdle;
    WriteValues(v);
    ASSERT_TRUE(StartRuntime());
    MakeKeyWindow();

    /* Thousands of posted notifications within about 1.5 seconds. */
    DWORD dwStart = GetTickCount();
    int nPosted = 0;
    while (GetTickCount() - dwStart < 1500) {
        for (int i = 0; i < 50; i++, nPosted++)
            PostMessageA(m_hwnd, m_uMsgNotify, kVertical, 0);
        tb::Pump(0);
        Sleep(1);
    }
    EXPECT_GT(nPosted, 3000);

    /* The runtime answers at once after the storm. */
    DWORD dwAsk = GetTickCount();
    DWORD_PTR dw;
    ASSERT_TRUE(SendMessageTimeoutA(m_hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &dw));
    EXPECT_LT(GetTickCount() - dwAsk, 250u);
    tb::Pump(dwIdle + 100);

    /* The posted queue has drained: a notification after the idle period acts promptly.
     * On a loaded machine the last queued notifications may still act during the pump
     * above, so wait until a whole idle period passes without a key. */
    size_t nKeys = Keys().size();
    for (int nRound = 0; nRound < 10; nRound++) {
        tb::Pump(dwIdle + 100);
        size_t nNow = Keys().size();
        if (nNow == nKeys)
            break;
        nKeys = nNow;
    }

    std::vector<DWORD> downs;
    for (const KeyEvent &k : Keys())
        if (k.vk == VK_ESCAPE && (k.uMsg == WM_KEYDOWN || k.uMsg == WM_SYSKEYDOWN))
            downs.push_back(k.dwTime);
    /* At most one action per idle period (the posting itself takes the time), and the
     * runtime re-arms during the storm. How many periods a storm stretches depends on
     * how fast the queue drains, since timer messages wait for an empty queue. */
    DWORD dwSpan = GetTickCount() - dwStart;
    ASSERT_GE(downs.size(), 2u);
    EXPECT_LE(downs.size(), (size_t)(dwSpan / dwIdle + 1));
    for (size_t i = 1; i < downs.size(); i++) {
        SCOPED_TRACE(i);
        EXPECT_GE((long)(downs[i] - downs[i - 1]), (long)dwIdle - 20);
    }

    DWORD dwPost = GetTickCount();
    PostNotify(kVertical);
    ASSERT_TRUE(tb::WaitFor([&] { return Keys().size() >= nKeys + 4; }, 2000));
    EXPECT_LT(GetTickCount() - dwPost, 300u);
    EXPECT_TRUE(m_runtime.Running());
}

TEST_F(JoltrunTest, SynchronousStormIsAnsweredPromptlyEveryTime)
{
    JoltValues v;
    v.dwVAction = 7; /* only the idle period */
    v.dwIdle = 200;
    WriteValues(v);
    ASSERT_TRUE(StartRuntime());

    DWORD dwStart = GetTickCount();
    DWORD dwWorst = 0;
    int n = 0;
    while (GetTickCount() - dwStart < 1000) {
        DWORD dwSend = GetTickCount();
        ASSERT_TRUE(Notify(kVertical));
        dwWorst = std::max(dwWorst, (DWORD)(GetTickCount() - dwSend));
        n++;
    }
    EXPECT_GT(n, 1000);
    EXPECT_LT(dwWorst, 200u);
    EXPECT_EQ(0, tb::CountDialogs(m_runtime.Pid()));
}
