/*
 * Lockwatch's sources compiled into the test: the platform calls that Wine
 * cannot do (or that a test must count) replaced by recorders, a hidden
 * Lockwatch window on the test's thread, and the test's own view of the
 * speaker mixer (the mixer volume is per process under Wine, so only an
 * in-process check sees what Lockwatch's code set).
 */
#ifndef MOTIONLOCK_INPROC_H
#define MOTIONLOCK_INPROC_H

#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "motionlock/lockwatch.h"
#include "motionlock/alarm.h"
#include "motionlock/lockplatform.h"

namespace mltest {

struct SoundCall {
    bool bNullSound;
    std::string sound;
    HMODULE hmod;
    DWORD dwFlags;
};

/* What the replaced platform calls saw and how they answer. */
struct FakePlatform {
    int nLockCalls = 0;
    BOOL bLockResult = TRUE;

    std::vector<SoundCall> sounds;
    std::function<void(const SoundCall &)> onSound;

    std::vector<DWORD> sleeps;
    bool bRealSleep = false;

    /* Session functions: registration fails for the first nRegisterFailures
     * calls (-1: always); bHideRegister leaves the export unbound. */
    int nRegisterCalls = 0;
    int nRegisterFailures = 0;
    bool bHideRegister = false;
    int nUnregisterCalls = 0;

    /* GetAcceleration: forwarded to Gravmon unless bFakeAccel. */
    int nAccelCalls = 0;
    bool bFakeAccel = false;
    LONG lAccelResult = 0;
    float fAccelX = 0.0f, fAccelY = 0.0f;

    /* HwgateFunction: a hook around the stand-in's export (tour only). */
    std::function<DWORD(void *, PFN_HWGATEFUNCTION)> hwgateHook;
};

extern FakePlatform g_fake;

/* Resets the recorders and puts them in place of the platform calls. */
void InstallFakePlatform();
void RemoveFakePlatform();
/* All of Lockwatch's process-wide state back to its start values. */
void ResetLockwatchGlobals();

/* A Lockwatch window on the test's thread. */
class InprocLockwatch {
public:
    ~InprocLockwatch() { Close(); }
    bool Create();
    bool WaitLocked(DWORD dwTimeoutMs = 5000);
    bool WaitArmed(DWORD dwTimeoutMs = 5000);
    /* Readings taken after the present one. */
    bool WaitReadings(int nCount, DWORD dwTimeoutMs = 5000);
    bool WaitAlarm(int nSoundStarts = 1, DWORD dwTimeoutMs = 10000);
    void Unlock();
    void Power(WPARAM wEvent);
    void Close();
    HWND Window() const { return m_hwnd; }
    bool Alive() const { return m_hwnd && IsWindow(m_hwnd); }
private:
    HWND m_hwnd = NULL;
};

int SoundStarts();

/* The test's own handle on mixer device 0's speaker line. */
class TestMixer {
public:
    TestMixer();
    ~TestMixer();
    bool Ok() const { return m_ok; }
    DWORD Volume();
    void SetVolume(DWORD dw);
    DWORD Mute();
    void SetMute(DWORD dw);
    DWORD VolumeMax() const { return m_dwMax; }
private:
    DWORD Get(DWORD dwId);
    void Set(DWORD dwId, DWORD dw);
    HMIXER m_h = NULL;
    DWORD m_dwVolumeId = 0, m_dwMuteId = 0, m_dwMax = 0;
    bool m_ok = false;
};

/* Closes the first message box of this process from a helper thread. */
class BoxCloser {
public:
    BoxCloser();
    ~BoxCloser();
    std::wstring Caption();
    std::wstring Text();
    HWND Owner();
private:
    struct Impl;
    Impl *m_p;
};

/* The directory of this test program, with its backslash. */
std::string ProgramDir();

} // namespace mltest

#endif
