#include "inproc.h"
#include "testbench/testbench.h"
#include <mmsystem.h>
#include <string.h>
#include <atomic>
#include <mutex>
#include <thread>

namespace mltest {

FakePlatform g_fake;
static PFN_GETACCELERATION s_pfnRealGetAcceleration;
static PFN_HWGATEFUNCTION s_pfnRealHwgate;

static BOOL WINAPI FakeLockWorkStation(void)
{
    g_fake.nLockCalls++;
    return g_fake.bLockResult;
}

static BOOL WINAPI FakePlaySoundA(LPCSTR pszSound, HMODULE hmod, DWORD dwFlags)
{
    SoundCall call;
    call.bNullSound = pszSound == NULL;
    call.sound = pszSound ? pszSound : "";
    call.hmod = hmod;
    call.dwFlags = dwFlags;
    g_fake.sounds.push_back(call);
    if (g_fake.onSound)
        g_fake.onSound(call);
    return TRUE;
}

static VOID WINAPI FakeSleep(DWORD dwMs)
{
    g_fake.sleeps.push_back(dwMs);
    if (g_fake.bRealSleep)
        Sleep(dwMs);
}

static BOOL WINAPI FakeRegister(HWND hwnd, DWORD dwFlags)
{
    g_fake.nRegisterCalls++;
    if (g_fake.nRegisterFailures < 0)
        return FALSE;
    if (g_fake.nRegisterFailures > 0) {
        g_fake.nRegisterFailures--;
        return FALSE;
    }
    return dwFlags == 0 && IsWindow(hwnd);
}

static BOOL WINAPI FakeUnregister(HWND hwnd)
{
    g_fake.nUnregisterCalls++;
    return TRUE;
}

static LONG WINAPI FakeGetAcceleration(float *pfX, float *pfY, HWND hwnd)
{
    g_fake.nAccelCalls++;
    if (!g_fake.bFakeAccel)
        return s_pfnRealGetAcceleration ? s_pfnRealGetAcceleration(pfX, pfY, hwnd) : -4;
    if (g_fake.lAccelResult == 0) {
        *pfX = g_fake.fAccelX;
        *pfY = g_fake.fAccelY;
    }
    return g_fake.lAccelResult;
}

static DWORD WINAPI HookedHwgate(void *pBlock)
{
    return g_fake.hwgateHook(pBlock, s_pfnRealHwgate);
}

template <class T> static FARPROC Proc(T pfn)
{
    return (FARPROC)(void (*)(void))pfn;
}

static FARPROC WINAPI FakeGetProcAddress(HMODULE hModule, LPCSTR pszName)
{
    FARPROC pfn = GetProcAddress(hModule, pszName);
    if (HIWORD((ULONG_PTR)pszName) == 0)
        return pfn;
    if (strcmp(pszName, "GetAcceleration") == 0) {
        if (!pfn)
            return NULL;
        s_pfnRealGetAcceleration = (PFN_GETACCELERATION)(void (*)(void))pfn;
        return Proc(FakeGetAcceleration);
    }
    if (strcmp(pszName, "WTSRegisterSessionNotification") == 0)
        return g_fake.bHideRegister || !pfn ? NULL : Proc(FakeRegister);
    if (strcmp(pszName, "WTSUnRegisterSessionNotification") == 0)
        return pfn ? Proc(FakeUnregister) : NULL;
    if (strcmp(pszName, "HwgateFunction") == 0 && pfn && g_fake.hwgateHook) {
        s_pfnRealHwgate = (PFN_HWGATEFUNCTION)(void (*)(void))pfn;
        return Proc(HookedHwgate);
    }
    return pfn;
}

void InstallFakePlatform()
{
    g_fake = FakePlatform();
    s_pfnRealGetAcceleration = NULL;
    g_LockwatchPlatform.pfnLockWorkStation = FakeLockWorkStation;
    g_LockwatchPlatform.pfnPlaySoundA = FakePlaySoundA;
    g_LockwatchPlatform.pfnSleep = FakeSleep;
    g_LockwatchPlatform.pfnGetProcAddress = FakeGetProcAddress;
}

void RemoveFakePlatform()
{
    ResetLockwatchPlatform();
    g_fake.onSound = nullptr;
    g_fake.hwgateHook = nullptr;
}

void ResetLockwatchGlobals()
{
    CloseMixer();
    g_MixerState.dwVolumeMin = g_MixerState.dwVolumeMax = 0;
    g_MixerState.dwSavedMute = g_MixerState.dwSavedVolume = 0;
    g_Lockwatch = LOCKWATCHSTATE();
    g_DLGetAcceleration = NULL;
    g_nTimerInterval = 0;
}

bool InprocLockwatch::Create()
{
    m_hwnd = CreateLockwatchWindow(GetModuleHandleA(NULL));
    return m_hwnd != NULL;
}

bool InprocLockwatch::WaitLocked(DWORD dwTimeoutMs)
{
    return tb::WaitFor([] { return g_fake.nLockCalls > 0 && g_Lockwatch.bCheckTimerStarted; },
                       dwTimeoutMs);
}

bool InprocLockwatch::WaitArmed(DWORD dwTimeoutMs)
{
    return tb::WaitFor([] { return g_Lockwatch.bCheckTimerStarted && !g_Lockwatch.bBaselinePending; },
                       dwTimeoutMs);
}

bool InprocLockwatch::WaitReadings(int nCount, DWORD dwTimeoutMs)
{
    int nTarget = g_fake.nAccelCalls + nCount;
    return tb::WaitFor([&] { return g_fake.nAccelCalls >= nTarget; }, dwTimeoutMs);
}

int SoundStarts()
{
    int n = 0;
    for (const SoundCall &c : g_fake.sounds)
        if (!c.bNullSound)
            n++;
    return n;
}

bool InprocLockwatch::WaitAlarm(int nSoundStarts, DWORD dwTimeoutMs)
{
    return tb::WaitFor([&] { return SoundStarts() >= nSoundStarts && g_Lockwatch.bAlarmOn; },
                       dwTimeoutMs);
}

void InprocLockwatch::Unlock()
{
    SendMessageA(m_hwnd, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
}

void InprocLockwatch::Power(WPARAM wEvent)
{
    SendMessageA(m_hwnd, WM_POWERBROADCAST, wEvent, 0);
}

void InprocLockwatch::Close()
{
    if (m_hwnd && IsWindow(m_hwnd))
        DestroyWindow(m_hwnd);
    m_hwnd = NULL;
    /* Drain the quit message that the window's end posted. */
    tb::Pump(0);
}

/* ---- The test's mixer ------------------------------------------------------- */

TestMixer::TestMixer()
{
    if (mixerOpen(&m_h, 0, 0, 0, 0) != MMSYSERR_NOERROR) {
        m_h = NULL;
        return;
    }
    MIXERLINEA line = {};
    line.cbStruct = sizeof(line);
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    if (mixerGetLineInfoA((HMIXEROBJ)m_h, &line,
                          MIXER_GETLINEINFOF_COMPONENTTYPE | MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR)
        return;
    DWORD adwType[2] = { MIXERCONTROL_CONTROLTYPE_VOLUME, MIXERCONTROL_CONTROLTYPE_MUTE };
    for (int i = 0; i < 2; i++) {
        MIXERCONTROLA control = {};
        MIXERLINECONTROLSA controls = {};
        controls.cbStruct = sizeof(controls);
        controls.dwLineID = line.dwLineID;
        controls.dwControlType = adwType[i];
        controls.cControls = 1;
        controls.cbmxctrl = sizeof(control);
        controls.pamxctrl = &control;
        if (mixerGetLineControlsA((HMIXEROBJ)m_h, &controls,
                                  MIXER_GETLINECONTROLSF_ONEBYTYPE | MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR)
            return;
        if (i == 0) {
            m_dwVolumeId = control.dwControlID;
            m_dwMax = control.Bounds.dwMaximum;
        } else {
            m_dwMuteId = control.dwControlID;
        }
    }
    m_ok = true;
}

TestMixer::~TestMixer()
{
    if (m_h)
        mixerClose(m_h);
}

DWORD TestMixer::Get(DWORD dwId)
{
    DWORD dw = 0xDEADBEEF;
    MIXERCONTROLDETAILS d = {};
    d.cbStruct = sizeof(d);
    d.dwControlID = dwId;
    d.cChannels = 1;
    d.cbDetails = sizeof(DWORD);
    d.paDetails = &dw;
    mixerGetControlDetailsA((HMIXEROBJ)m_h, &d, MIXER_GETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER);
    return dw;
}

void TestMixer::Set(DWORD dwId, DWORD dw)
{
    MIXERCONTROLDETAILS d = {};
    d.cbStruct = sizeof(d);
    d.dwControlID = dwId;
    d.cChannels = 1;
    d.cbDetails = sizeof(DWORD);
    d.paDetails = &dw;
    mixerSetControlDetails((HMIXEROBJ)m_h, &d, MIXER_SETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER);
}

DWORD TestMixer::Volume() { return Get(m_dwVolumeId); }
void TestMixer::SetVolume(DWORD dw) { Set(m_dwVolumeId, dw); }
DWORD TestMixer::Mute() { return Get(m_dwMuteId); }
void TestMixer::SetMute(DWORD dw) { Set(m_dwMuteId, dw); }

/* ---- Message boxes of this process ------------------------------------------- */

struct BoxCloser::Impl {
    std::thread thread;
    std::mutex lock;
    std::atomic<bool> stop{ false };
    std::wstring caption, text;
    HWND hwndOwner = NULL;
};

BoxCloser::BoxCloser() : m_p(new Impl)
{
    Impl *p = m_p;
    p->thread = std::thread([p] {
        DWORD dwStart = GetTickCount();
        while (!p->stop && GetTickCount() - dwStart < 20000) {
            tb::MessageBoxInfo box = tb::WaitMessageBox(GetCurrentProcessId(), 50);
            if (!box.found())
                continue;
            {
                std::lock_guard<std::mutex> guard(p->lock);
                p->caption = box.caption;
                p->text = box.text;
                p->hwndOwner = GetWindow(box.hwnd, GW_OWNER);
            }
            tb::CloseMessageBox(box);
            break;
        }
    });
}

BoxCloser::~BoxCloser()
{
    m_p->stop = true;
    m_p->thread.join();
    delete m_p;
}

std::wstring BoxCloser::Caption()
{
    std::lock_guard<std::mutex> guard(m_p->lock);
    return m_p->caption;
}

std::wstring BoxCloser::Text()
{
    std::lock_guard<std::mutex> guard(m_p->lock);
    return m_p->text;
}

HWND BoxCloser::Owner()
{
    std::lock_guard<std::mutex> guard(m_p->lock);
    return m_p->hwndOwner;
}

std::string ProgramDir()
{
    char sz[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, sz, MAX_PATH);
    std::string s(sz, n);
    return s.substr(0, s.find_last_of("\\/") + 1);
}

} // namespace mltest
