/*
 * ManagerChannel: the accelerometer manager's shared block and its named
 * mutex and events. The manager uses it in the owner role (it creates the
 * objects), the access library in the client role (it opens the block for
 * one call and closes it again).
 */
#ifndef GRAVMON_MANAGERCHANNEL_H
#define GRAVMON_MANAGERCHANNEL_H

#include <windows.h>
#include "gravmon/gravmon.h"   /* result codes, manager window, messages */

#define GRAVMON_SHAREMEMORY   "Gravmon_ShareMemory"
#define GRAVMON_ALLOWEVENT    "Gravmon_AllowEvent"
#define GRAVMON_ACCESSMUTEX   "Gravmon_AccessMutex"
#define GRAVMON_VALIDEVENT    "Gravmon_ValidEvent"
#define GRAVMON_UPDATEDEVENT  "Gravmon_UpdatedEvent"

#define GRAVMON_MUTEX_TIMEOUT 100

#pragma pack(push, 1)
typedef struct SharedBlock {
    LONG   active;          /* 0  */
    DWORD  monopolyWindow;  /* 4: 32-bit window handle */
    WORD   zeroBase[4];     /* 8: levelX, levelY, sideX, forwardY */
    WORD   newZeroBase[4];  /* 16 */
    WORD   rawX;            /* 24 */
    WORD   rawY;            /* 26 */
    float  accelX;          /* 28 */
    float  accelY;          /* 32 */
    float  angleX;          /* 36 */
    float  angleY;          /* 40 */
} SharedBlock;
#pragma pack(pop)

#ifdef __cplusplus
/* Named events, opened for one operation and closed again: a sample that is
 * TRUE only while the event exists and is non-signalled, and a set/reset. */
BOOL IsNamedEventReset(LPCSTR pszName);
BOOL SetNamedEvent(LPCSTR pszName, BOOL bSignalled);

static_assert(sizeof(SharedBlock) == 44, "the shared block is 44 bytes");

class ManagerChannel {
public:
    ManagerChannel();
    virtual ~ManagerChannel();

    BOOL Open(BOOL bReadOnly, BOOL bCreate);
    void Close();

    BOOL IsAccessAllowed();
    BOOL IsZeroBaseValid();
    HANDLE LockBlock();
    void UnlockBlock(HANDLE hMutex);
    BOOL SignalZeroBaseUpdate(BOOL bReset);

    LONG ReadActive(LONG *plActive);
    LONG ReadMonopolyWindow(HWND *phwnd);
    LONG WriteMonopolyWindow(HWND hwnd);
    LONG ReadRaw(WORD *pwX, WORD *pwY);
    LONG ReadZeroBase(WORD *pwLevelX, WORD *pwLevelY, WORD *pwSideX, WORD *pwForwardY);
    LONG WriteNewZeroBase(LONG lLevelX, LONG lLevelY, LONG lSideX, LONG lForwardY);
    LONG ReadAngle(float *pfX, float *pfY);
    LONG ReadAcceleration(float *pfX, float *pfY);

    /* Owner role: the block itself, for the manager's updates under LockBlock. */
    SharedBlock *Block() { return m_pBlock; }
    BOOL IsOwner() const { return m_hAllowEvent != NULL; }

private:
    enum { STEP_ZEROBASE = 1, STEP_ACTIVE = 2 };
    LONG Enter(const void *p1, const void *p2, const void *p3, const void *p4,
               int nSteps, HANDLE *phMutex);

    HANDLE m_hMapping;
    SharedBlock *m_pBlock;
    HANDLE m_hAllowEvent;
    HANDLE m_hAccessMutex;
    HANDLE m_hValidEvent;
    HANDLE m_hUpdatedEvent;
};
#endif

#endif
