/*
 * The tour's look at motion security. First Lockwatch.exe itself, which
 * under Wine stops at the workstation lock (Wine cannot lock) with its
 * message; then Lockwatch's own logic in this process with the lock
 * replaced, against the running manager stand-in and the Hwgate stand-in,
 * printing every output step as it happens.
 */
#include <stdio.h>
#include <math.h>
#include "testbench/testbench.h"
#include "testbench/manager.h"
#include "gravmon/gravmon.h"
#include "standins/gravmgr/gravmgr_ctl.h"
#include "hwgate_standin.h"
#include "inproc.h"

using namespace mltest;

static void ShowMixer(const char *pszWhen)
{
    TestMixer mixer;
    if (mixer.Ok())
        tb::Say("  mixer %s: mute %lu, volume %lu of %lu", pszWhen, mixer.Mute(), mixer.Volume(),
            mixer.VolumeMax());
}

static DWORD HwgateLogger(void *pBlock, PFN_HWGATEFUNCTION pfnReal)
{
    HWGATEREGS *pRegs = (HWGATEREGS *)pBlock;
    DWORD dwCode = pRegs->dwEax, dwNumber = pRegs->dwEbx, dwValue = pRegs->dwEcx;
    DWORD dwResult = pfnReal(pBlock);
    if (dwCode == HWGATE_FN_WRITE)
        tb::Say("  Hwgate: setting 0x%02lX <- %lu (%s), status %lu", dwNumber, dwValue,
            dwValue ? "on" : "off", (DWORD)((pRegs->dwEax >> 8) & 0xFF));
    else
        tb::Say("  Hwgate: setting 0x%02lX reads %lu, status %lu", dwNumber, (DWORD)pRegs->dwEcx,
            (DWORD)((pRegs->dwEax >> 8) & 0xFF));
    return dwResult;
}

static BOOL WINAPI TourLockWorkStation(void)
{
    g_fake.nLockCalls++;
    tb::Say("  LockWorkStation(): the workstation is locked (simulated)");
    return TRUE;
}

/* The real sound call (Wine plays into ALSA's null device), printed. */
static BOOL WINAPI TourPlaySoundA(LPCSTR pszSound, HMODULE hmod, DWORD dwFlags)
{
    BOOL bResult = PlaySoundA(pszSound, hmod, dwFlags);
    if (pszSound == NULL)
        tb::Say("  sound: PlaySoundA(NULL, 0x%05lX) stops the loop -> %d", dwFlags, bResult);
    else
        tb::Say("  sound: PlaySoundA(\"%s\", 0x%05lX) loops the alarm -> %d", pszSound, dwFlags, bResult);
    return bResult;
}

static void RunProgram()
{
    tb::Say("Lockwatch.exe starts: it asks the manager for the readings, then locks the workstation");
    tb::Process proc;
    if (!proc.Start(tb::BinPath("Lockwatch.exe"))) {
        tb::Say("could not start Lockwatch.exe");
        return;
    }
    tb::MessageBoxInfo box = tb::WaitMessageBox(proc.Pid(), 10000);
    if (box.found()) {
        tb::Say("Wine cannot lock the workstation, so Lockwatch gives the readings back and says:");
        tb::Say("  \"%s\" - \"%s\"", tb::Utf8(box.caption).c_str(), tb::Utf8(box.text).c_str());
        tb::CloseMessageBox(box);
    }
    tb::Say("Lockwatch.exe ended with exit code %ld", proc.Wait(5000));
}

static void RunGuard(HWND hwndManager)
{
    tb::Say("Now Lockwatch's own code in this process, with the lock simulated");
    HwgateReset();
    InstallFakePlatform();
    ResetLockwatchGlobals();
    {
        TestMixer mixer;
        if (mixer.Ok()) {
            mixer.SetMute(1);
            mixer.SetVolume(30000);
        }
    }
    ShowMixer("before the lock");

    g_LockwatchPlatform.pfnLockWorkStation = TourLockWorkStation;
    g_LockwatchPlatform.pfnPlaySoundA = TourPlaySoundA;
    g_fake.hwgateHook = HwgateLogger;

    InprocLockwatch lw;
    if (!lw.Create() || !lw.WaitLocked()) {
        tb::Say("the lock did not start");
        RemoveFakePlatform();
        return;
    }
    tb::Say("  the manager granted the override to window %p", (void *)tb::ManagerCommand(hwndManager, "get override"));
    if (!lw.WaitArmed()) {
        tb::Say("no reading came");
        RemoveFakePlatform();
        return;
    }
    tb::Say("armed: baseline acceleration X %.4f, Y %.4f; checked every %u ms",
        g_Lockwatch.fBaselineX, g_Lockwatch.fBaselineY, g_nTimerInterval);
    tb::Pump(1000);
    tb::Say("the computer stays still: %d readings, no alarm", g_fake.nAccelCalls);

    tb::Say("the manager stand-in moves the computer");
    tb::ManagerCommand(hwndManager, "move");
    if (tb::WaitFor([] { return g_Lockwatch.bAlarmOn != FALSE; }, 10000))
        tb::Say("ALARM: a reading differed from the baseline; saved for the unlock: mute %lu, volume %lu %%",
            g_MixerState.dwSavedMute, g_MixerState.dwSavedVolume);
    ShowMixer("during the alarm");
    tb::Pump(1500);

    tb::Say("the user unlocks the session (WTS_SESSION_UNLOCK)");
    lw.Unlock();
    ShowMixer("after the unlock");
    tb::Say("  the manager's override is now %ld (released); Lockwatch ended: %s",
        (long)tb::ManagerCommand(hwndManager, "get override"), lw.Alive() ? "no" : "yes");
    RemoveFakePlatform();
    ResetLockwatchGlobals();
}

int main()
{
    HWND hwndManager = FindWindowA(GRAVMON_WINDOWCLASS, GRAVMON_WINDOWNAME);
    if (hwndManager == NULL) {
        tb::Say("the accelerometer manager stand-in is not running");
        return 1;
    }
    RunProgram();
    RunGuard(hwndManager);
    return 0;
}
