/*
 * The tour's look at the launcher menu: the host stand-in installed with
 * Quadlock.dll and Lockwatch.exe in one folder, its tray menu opened as a
 * click on the icon opens it (screenshot), the motion-security item picked,
 * and Lockwatch.exe starting from that folder and asking the manager
 * stand-in for the readings. Wine cannot lock the workstation, so the run
 * then ends with Lockwatch's message (the armed guard itself is the
 * previous part of the tour).
 *
 *   quadrix_tour.exe INSTALLFOLDER SCREENSHOTFOLDER
 */
#include <stdio.h>
#include "testbench/testbench.h"
#include <psapi.h>
#include "testbench/capture.h"
#include "testbench/manager.h"
#include "gravmon/gravmon.h"
#include "standins/gravmgr/gravmgr_ctl.h"
#include "motionlock/lockwatch.h"
#include "standins/quadrix/quadrix.h"

static std::string ProcessPath(DWORD dwPid)
{
    char sz[MAX_PATH] = "";
    HANDLE hProcess = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, dwPid);
    if (hProcess != NULL) {
        GetModuleFileNameExA(hProcess, NULL, sz, MAX_PATH);
        CloseHandle(hProcess);
    }
    return sz;
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        printf("usage: quadrix_tour INSTALLFOLDER SCREENSHOTFOLDER\n");
        return 2;
    }
    std::string folder = argv[1], shots = argv[2];
    LRESULT lOverridesBefore = tb::ManagerCommand(NULL, "get overrides");

    tb::Say("the launcher host starts from %s", folder.c_str());
    tb::Process host;
    if (!host.Start(folder + "\\Quadrix.exe")) {
        tb::Say("could not start Quadrix.exe");
        return 1;
    }
    HWND hwnd = tb::WaitWindow(QUADRIX_CLASS, QUADRIX_TITLE, 10000, host.Pid());
    if (hwnd == NULL) {
        tb::Say("the host's window did not come");
        return 1;
    }
    tb::Pump(500);
    tb::Say("the user clicks the host's tray icon");
    PostMessageA(hwnd, QUADRIX_WM_TRAY, QUADRIX_TRAY_ID, WM_LBUTTONUP);
    HWND hwndMenu = tb::WaitWindow("#32768", NULL, 5000, host.Pid());
    if (hwndMenu == NULL || !tb::WaitFor([&] { return IsWindowVisible(hwndMenu) != FALSE; })) {
        tb::Say("the menu did not open");
        return 1;
    }
    PostMessageA(hwndMenu, WM_KEYDOWN, VK_DOWN, 0);
    tb::Pump(300);
    std::string shot = tb::SaveScreenshot(hwndMenu, shots, "quadrix-menu");
    tb::Say("the menu shows the motion-security item with its icon: %s", shot.empty() ? "(no screenshot)" : shot.c_str());
    shot = tb::SaveScreenshot(NULL, shots, "quadrix-screen");
    if (!shot.empty())
        tb::Say("  the whole screen: %s", shot.c_str());

    tb::Say("the user picks \"%s\"", u8"Программа Lockwatch");
    PostMessageA(hwndMenu, WM_KEYDOWN, VK_RETURN, 0);
    HWND hwndLock = tb::WaitWindow(LOCKWATCH_CLASS, LOCKWATCH_TITLE, 10000);
    if (hwndLock == NULL) {
        tb::Say("Lockwatch did not start");
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        host.Wait(5000);
        return 1;
    }
    DWORD dwPid = 0;
    GetWindowThreadProcessId(hwndLock, &dwPid);
    tb::Say("Lockwatch runs: %s", ProcessPath(dwPid).c_str());
    tb::MessageBoxInfo box = tb::WaitMessageBox(dwPid, 10000);
    LRESULT lOverrides = tb::ManagerCommand(NULL, "get overrides") - lOverridesBefore;
    tb::Say("it asked the manager for the readings and was granted them %ld time(s)", (long)lOverrides);
    if (box.found()) {
        tb::Say("Wine cannot lock the workstation, so Lockwatch gives the readings back and says:");
        tb::Say("  \"%s\" - \"%s\"", tb::Utf8(box.caption).c_str(), tb::Utf8(box.text).c_str());
        tb::CloseMessageBox(box);
    }
    tb::Say("the manager's override is now %ld (released)", (long)tb::ManagerCommand(NULL, "get override"));
    if (tb::WaitWindowGone(hwndLock, 5000))
        tb::Say("Lockwatch ended");

    tb::Say("the host is closed");
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    tb::Say("the host ended with exit code %ld", host.Wait(5000));
    return 0;
}
