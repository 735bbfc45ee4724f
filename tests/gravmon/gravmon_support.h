/*
 * Helpers of the Gravmon tests: the library bound by name, an owner of the
 * block inside the test process, named objects made one by one, a writer
 * that rewrites X == Y pairs at a high rate, and the process handle count.
 */
#ifndef TESTS_GRAVMON_SUPPORT_H
#define TESTS_GRAVMON_SUPPORT_H

#include <windows.h>
#include <atomic>
#include <thread>

#include "gravmon/ManagerChannel.h"
#include "gravmon/gravmon.h"

namespace gt {

/* Gravmon.dll of the build, loaded with LoadLibrary and bound by name. */
struct Api {
    HMODULE hLib = NULL;
    PFN_GETACCELERATION GetAcceleration = nullptr;
    PFN_GETANGLE GetAngle = nullptr;
    PFN_GETIMMEDIATE GetImmediate = nullptr;
    PFN_GETZEROBASE GetZeroBase = nullptr;
    PFN_SETZEROBASE SetZeroBase = nullptr;
    PFN_MONOPOLIZE Monopolize = nullptr;
    PFN_UNMONOPOLIZE Unmonopolize = nullptr;
    bool Load();
    ~Api();
};

/* Sets or resets a named event of the owner by name; false when it is missing. */
bool SetNamedEvent(const char *pszName, bool bSignalled);
/* true while the named event exists and is signalled. */
bool IsNamedEventSignalled(const char *pszName);

/* The owner role inside the test process. */
struct Owner {
    ManagerChannel channel;
    /* Creates the objects; Serve() then lets clients in the way a manager does. */
    bool Open() { return channel.Open(FALSE, TRUE) != FALSE; }
    void Serve(bool bValid = true);
    SharedBlock *Block() { return channel.Block(); }
    void Close() { channel.Close(); }
};

/* Named objects created one by one, for owners that lack some of them. */
struct Objects {
    HANDLE hMapping = NULL;
    SharedBlock *pBlock = NULL;
    HANDLE hAllow = NULL, hMutex = NULL, hValid = NULL, hUpdated = NULL;
    /* Each flag creates that object non-signalled (the mutex: not owned). */
    bool Create(bool bAllow, bool bMutex, bool bValid, bool bUpdated);
    ~Objects();
};

/* Rewrites angle, acceleration and raw pairs with X == Y under the mutex. */
class Churn {
public:
    explicit Churn(ManagerChannel *pChannel) : m_pChannel(pChannel) {}
    ~Churn() { Stop(); }
    void Start();
    void Stop();
    long Passes() const { return m_nPasses; }

private:
    ManagerChannel *m_pChannel;
    std::atomic<bool> m_bRun{false};
    std::atomic<long> m_nPasses{0};
    std::thread m_thread;
};

/* Holds the access mutex on a thread of its own for dwMs (returns when held). */
class MutexHolder {
public:
    ~MutexHolder() { Join(); }
    bool Hold(DWORD dwMs, bool bAbandon = false);
    void Join();

private:
    std::thread m_thread;
    std::atomic<bool> m_bGot{false};
};

/* Handles open in this process (GetProcessHandleCount), or -1 if unknown. */
long HandleCount();

} // namespace gt

#endif
