#include "gravmon_support.h"
#include "testbench/testbench.h"

namespace gt {

template <class T> static T Bind(HMODULE h, const char *pszName)
{
    return (T)(void (*)(void))GetProcAddress(h, pszName);
}

bool Api::Load()
{
    hLib = LoadLibraryA(tb::BinPath("Gravmon.dll").c_str());
    if (!hLib)
        return false;
    GetAcceleration = Bind<PFN_GETACCELERATION>(hLib, "GetAcceleration");
    GetAngle = Bind<PFN_GETANGLE>(hLib, "GetAngle");
    GetImmediate = Bind<PFN_GETIMMEDIATE>(hLib, "GetImmediate");
    GetZeroBase = Bind<PFN_GETZEROBASE>(hLib, "GetZeroBase");
    SetZeroBase = Bind<PFN_SETZEROBASE>(hLib, "SetZeroBase");
    Monopolize = Bind<PFN_MONOPOLIZE>(hLib, "Monopolize");
    Unmonopolize = Bind<PFN_UNMONOPOLIZE>(hLib, "Unmonopolize");
    return GetAcceleration && GetAngle && GetImmediate && GetZeroBase && SetZeroBase &&
           Monopolize && Unmonopolize;
}

Api::~Api()
{
    if (hLib)
        FreeLibrary(hLib);
}

bool SetNamedEvent(const char *pszName, bool bSignalled)
{
    HANDLE h = OpenEventA(EVENT_MODIFY_STATE, FALSE, pszName);
    if (!h)
        return false;
    BOOL b = bSignalled ? SetEvent(h) : ResetEvent(h);
    CloseHandle(h);
    return b != FALSE;
}

bool IsNamedEventSignalled(const char *pszName)
{
    HANDLE h = OpenEventA(SYNCHRONIZE, FALSE, pszName);
    if (!h)
        return false;
    bool b = WaitForSingleObject(h, 0) == WAIT_OBJECT_0;
    CloseHandle(h);
    return b;
}

void Owner::Serve(bool bValid)
{
    Block()->active = 1;
    SetNamedEvent(GRAVMON_ALLOWEVENT, false);
    SetNamedEvent(GRAVMON_VALIDEVENT, !bValid);
}

bool Objects::Create(bool bAllow, bool bMutex, bool bValid, bool bUpdated)
{
    hMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0,
                                  sizeof(SharedBlock), GRAVMON_SHAREMEMORY);
    if (!hMapping)
        return false;
    pBlock = (SharedBlock *)MapViewOfFile(hMapping, FILE_MAP_WRITE, 0, 0, 0);
    if (!pBlock)
        return false;
    ZeroMemory(pBlock, sizeof(*pBlock));
    pBlock->active = 1;
    if (bAllow && !(hAllow = CreateEventA(NULL, TRUE, FALSE, GRAVMON_ALLOWEVENT)))
        return false;
    if (bMutex && !(hMutex = CreateMutexA(NULL, FALSE, GRAVMON_ACCESSMUTEX)))
        return false;
    if (bValid && !(hValid = CreateEventA(NULL, TRUE, FALSE, GRAVMON_VALIDEVENT)))
        return false;
    if (bUpdated && !(hUpdated = CreateEventA(NULL, TRUE, TRUE, GRAVMON_UPDATEDEVENT)))
        return false;
    return true;
}

Objects::~Objects()
{
    for (HANDLE h : { hUpdated, hValid, hMutex, hAllow })
        if (h)
            CloseHandle(h);
    if (pBlock)
        UnmapViewOfFile(pBlock);
    if (hMapping)
        CloseHandle(hMapping);
}

void Churn::Start()
{
    m_bRun = true;
    m_thread = std::thread([this] {
        SharedBlock *pBlock = m_pChannel->Block();
        DWORD dwCounter = 0;
        while (m_bRun) {
            HANDLE hMutex = m_pChannel->LockBlock();
            if (hMutex) {
                volatile SharedBlock *pv = pBlock;
                float f = (float)(int)(dwCounter % 181) - 90.0f;
                pv->angleX = f;
                pv->accelX = f / 90.0f;
                pv->rawX = (WORD)(dwCounter & 0x3FF);
                for (volatile int i = 0; i < 200; i++) {
                }
                pv->angleY = f;
                pv->accelY = f / 90.0f;
                pv->rawY = (WORD)(dwCounter & 0x3FF);
                m_pChannel->UnlockBlock(hMutex);
                dwCounter++;
                m_nPasses++;
            }
            Sleep(0);
        }
    });
}

void Churn::Stop()
{
    m_bRun = false;
    if (m_thread.joinable())
        m_thread.join();
}

bool MutexHolder::Hold(DWORD dwMs, bool bAbandon)
{
    HANDLE hHeld = CreateEventA(NULL, TRUE, FALSE, NULL);
    Join();
    m_bGot = false;
    m_thread = std::thread([this, hHeld, dwMs, bAbandon] {
        std::atomic<bool> &bGot = m_bGot;
        HANDLE hMutex = OpenMutexA(SYNCHRONIZE, FALSE, GRAVMON_ACCESSMUTEX);
        if (hMutex && WaitForSingleObject(hMutex, 5000) != WAIT_TIMEOUT)
            bGot = true;
        SetEvent(hHeld);
        if (!hMutex)
            return;
        if (bGot && !bAbandon) {
            Sleep(dwMs);
            ReleaseMutex(hMutex);
        }
        CloseHandle(hMutex);   /* abandoned: the thread ends holding it */
    });
    WaitForSingleObject(hHeld, 10000);
    CloseHandle(hHeld);
    if (bAbandon)
        Join();
    return m_bGot;
}

void MutexHolder::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}

long HandleCount()
{
    typedef BOOL (WINAPI *PFN_GETPROCESSHANDLECOUNT)(HANDLE, PDWORD);
    PFN_GETPROCESSHANDLECOUNT pfn = (PFN_GETPROCESSHANDLECOUNT)(void (*)(void))
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetProcessHandleCount");
    DWORD dw = 0;
    if (!pfn || !pfn(GetCurrentProcess(), &dw) || dw == 0)
        return -1;
    return (long)dw;
}

} // namespace gt
