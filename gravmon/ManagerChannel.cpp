#include "gravmon/ManagerChannel.h"

static const DWORD BLOCK_SIZE = sizeof(SharedBlock);

ManagerChannel::ManagerChannel()
    : m_hMapping(NULL), m_pBlock(NULL), m_hAllowEvent(NULL),
      m_hAccessMutex(NULL), m_hValidEvent(NULL), m_hUpdatedEvent(NULL)
{
}

ManagerChannel::~ManagerChannel()
{
    Close();
}

/*
 * A named object created by the owner must be new: a second owner fails.
 * A handle to an object that existed already belongs to the first owner's
 * world and is closed at once, so that the failed owner's Close cannot
 * signal the first owner's allow event and shut its clients out.
 */
static HANDLE KeepIfFresh(HANDLE h)
{
    if (h != NULL && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(h);
        return NULL;
    }
    return h;
}

BOOL ManagerChannel::Open(BOOL bReadOnly, BOOL bCreate)
{
    if (!bCreate) {
        DWORD dwAccess = bReadOnly ? FILE_MAP_READ : FILE_MAP_WRITE;
        m_hMapping = OpenFileMappingA(dwAccess, FALSE, GRAVMON_SHAREMEMORY);
        if (m_hMapping == NULL)
            return FALSE;
        m_pBlock = (SharedBlock *)MapViewOfFile(m_hMapping, dwAccess, 0, 0, 0);
        return m_pBlock != NULL;
    }

    m_hMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE,
                                    0, BLOCK_SIZE, GRAVMON_SHAREMEMORY);
    if (m_hMapping == NULL)
        return FALSE;

    m_hAllowEvent = KeepIfFresh(CreateEventA(NULL, TRUE, TRUE, GRAVMON_ALLOWEVENT));
    if (m_hAllowEvent == NULL)
        return FALSE;

    m_hAccessMutex = KeepIfFresh(CreateMutexA(NULL, TRUE, GRAVMON_ACCESSMUTEX));
    if (m_hAccessMutex == NULL)
        return FALSE;
    ReleaseMutex(m_hAccessMutex);

    m_hValidEvent = KeepIfFresh(CreateEventA(NULL, TRUE, TRUE, GRAVMON_VALIDEVENT));
    if (m_hValidEvent == NULL)
        return FALSE;

    m_hUpdatedEvent = KeepIfFresh(CreateEventA(NULL, TRUE, TRUE, GRAVMON_UPDATEDEVENT));
    if (m_hUpdatedEvent == NULL)
        return FALSE;

    m_pBlock = (SharedBlock *)MapViewOfFile(m_hMapping, FILE_MAP_WRITE, 0, 0, 0);
    if (m_pBlock == NULL)
        return FALSE;

    ZeroMemory(m_pBlock, BLOCK_SIZE);
    return TRUE;
}

void ManagerChannel::Close()
{
    if (m_hUpdatedEvent) {
        CloseHandle(m_hUpdatedEvent);
        m_hUpdatedEvent = NULL;
    }
    if (m_hValidEvent) {
        CloseHandle(m_hValidEvent);
        m_hValidEvent = NULL;
    }
    if (m_hAccessMutex) {
        CloseHandle(m_hAccessMutex);
        m_hAccessMutex = NULL;
    }
    if (m_hAllowEvent) {
        /* From here on clients are refused. */
        SetEvent(m_hAllowEvent);
        CloseHandle(m_hAllowEvent);
        m_hAllowEvent = NULL;
    }
    if (m_pBlock) {
        UnmapViewOfFile(m_pBlock);
        m_pBlock = NULL;
    }
    if (m_hMapping) {
        CloseHandle(m_hMapping);
        m_hMapping = NULL;
    }
}

BOOL IsNamedEventReset(LPCSTR pszName)
{
    HANDLE hEvent = OpenEventA(SYNCHRONIZE, FALSE, pszName);
    BOOL bReset;

    if (hEvent == NULL)
        return FALSE;
    bReset = WaitForSingleObject(hEvent, 0) == WAIT_TIMEOUT;
    CloseHandle(hEvent);
    return bReset;
}

BOOL SetNamedEvent(LPCSTR pszName, BOOL bSignalled)
{
    HANDLE hEvent = OpenEventA(EVENT_MODIFY_STATE, FALSE, pszName);
    BOOL bDone;

    if (hEvent == NULL)
        return FALSE;
    bDone = bSignalled ? SetEvent(hEvent) : ResetEvent(hEvent);
    CloseHandle(hEvent);
    return bDone;
}

BOOL ManagerChannel::IsAccessAllowed()
{
    if (IsOwner())
        return TRUE;
    return IsNamedEventReset(GRAVMON_ALLOWEVENT);
}

BOOL ManagerChannel::IsZeroBaseValid()
{
    return IsNamedEventReset(GRAVMON_VALIDEVENT);
}

HANDLE ManagerChannel::LockBlock()
{
    HANDLE hMutex = OpenMutexA(SYNCHRONIZE, FALSE, GRAVMON_ACCESSMUTEX);

    if (hMutex == NULL)
        return NULL;
    /* An abandoned mutex is ours now, like any other successful wait. */
    if (WaitForSingleObject(hMutex, GRAVMON_MUTEX_TIMEOUT) == WAIT_TIMEOUT) {
        CloseHandle(hMutex);
        return NULL;
    }
    return hMutex;
}

void ManagerChannel::UnlockBlock(HANDLE hMutex)
{
    ReleaseMutex(hMutex);
    CloseHandle(hMutex);
}

BOOL ManagerChannel::SignalZeroBaseUpdate(BOOL bReset)
{
    return SetNamedEvent(GRAVMON_UPDATEDEVENT, !bReset);
}

/*
 * Steps 1-5 shared by every accessor; on success the mutex is held and its
 * handle is returned through phMutex.
 */
LONG ManagerChannel::Enter(const void *p1, const void *p2, const void *p3,
                           const void *p4, int nSteps, HANDLE *phMutex)
{
    HANDLE hMutex;

    if (m_hMapping == NULL || m_pBlock == NULL || !p1 || !p2 || !p3 || !p4)
        return GRAVMON_E_ARGUMENT;
    if ((nSteps & STEP_ZEROBASE) && !IsZeroBaseValid())
        return GRAVMON_E_ZEROBASE;
    if (!IsAccessAllowed())
        return GRAVMON_E_ACCESS;
    hMutex = LockBlock();
    if (hMutex == NULL)
        return GRAVMON_E_UNAVAILABLE;
    if ((nSteps & STEP_ACTIVE) && m_pBlock->active == 0 && !IsOwner()) {
        UnlockBlock(hMutex);
        return GRAVMON_E_INACTIVE;
    }
    *phMutex = hMutex;
    return GRAVMON_OK;
}

LONG ManagerChannel::ReadActive(LONG *plActive)
{
    HANDLE hMutex;
    LONG lResult = Enter(plActive, this, this, this, 0, &hMutex);

    if (lResult != GRAVMON_OK)
        return lResult;
    *plActive = m_pBlock->active;
    UnlockBlock(hMutex);
    return GRAVMON_OK;
}

LONG ManagerChannel::ReadMonopolyWindow(HWND *phwnd)
{
    HANDLE hMutex;
    LONG lResult = Enter(phwnd, this, this, this, STEP_ACTIVE, &hMutex);

    if (lResult != GRAVMON_OK)
        return lResult;
    *phwnd = (HWND)(ULONG_PTR)m_pBlock->monopolyWindow;
    UnlockBlock(hMutex);
    return GRAVMON_OK;
}

LONG ManagerChannel::WriteMonopolyWindow(HWND hwnd)
{
    HANDLE hMutex;
    LONG lResult = Enter(this, this, this, this, STEP_ACTIVE, &hMutex);

    if (lResult != GRAVMON_OK)
        return lResult;
    m_pBlock->monopolyWindow = (DWORD)(ULONG_PTR)hwnd;
    UnlockBlock(hMutex);
    return GRAVMON_OK;
}

LONG ManagerChannel::ReadRaw(WORD *pwX, WORD *pwY)
{
    HANDLE hMutex;
    LONG lResult = Enter(pwX, pwY, this, this, STEP_ACTIVE, &hMutex);

    if (lResult != GRAVMON_OK)
        return lResult;
    *pwX = m_pBlock->rawX;
    *pwY = m_pBlock->rawY;
    UnlockBlock(hMutex);
    return GRAVMON_OK;
}

LONG ManagerChannel::ReadZeroBase(WORD *pwLevelX, WORD *pwLevelY,
                                  WORD *pwSideX, WORD *pwForwardY)
{
    HANDLE hMutex;
    LONG lResult = Enter(pwLevelX, pwLevelY, pwSideX, pwForwardY,
                         STEP_ZEROBASE | STEP_ACTIVE, &hMutex);

    if (lResult != GRAVMON_OK)
        return lResult;
    *pwLevelX = m_pBlock->zeroBase[0];
    *pwLevelY = m_pBlock->zeroBase[1];
    *pwSideX = m_pBlock->zeroBase[2];
    *pwForwardY = m_pBlock->zeroBase[3];
    UnlockBlock(hMutex);
    return GRAVMON_OK;
}

LONG ManagerChannel::WriteNewZeroBase(LONG lLevelX, LONG lLevelY,
                                      LONG lSideX, LONG lForwardY)
{
    HANDLE hMutex;
    LONG lResult = Enter(this, this, this, this, STEP_ACTIVE, &hMutex);

    if (lResult != GRAVMON_OK)
        return lResult;
    m_pBlock->newZeroBase[0] = (WORD)lLevelX;
    m_pBlock->newZeroBase[1] = (WORD)lLevelY;
    m_pBlock->newZeroBase[2] = (WORD)lSideX;
    m_pBlock->newZeroBase[3] = (WORD)lForwardY;
    UnlockBlock(hMutex);
    return GRAVMON_OK;
}

/* Floats are copied as bit patterns: no conversion, NaNs and -0 intact. */
static void CopyFloatPair(float *pfX, float *pfY, const float *pfSrcX, const float *pfSrcY)
{
    CopyMemory(pfX, pfSrcX, sizeof(float));
    CopyMemory(pfY, pfSrcY, sizeof(float));
}

LONG ManagerChannel::ReadAngle(float *pfX, float *pfY)
{
    HANDLE hMutex;
    LONG lResult = Enter(pfX, pfY, this, this, STEP_ZEROBASE | STEP_ACTIVE, &hMutex);

    if (lResult != GRAVMON_OK)
        return lResult;
    CopyFloatPair(pfX, pfY, &m_pBlock->angleX, &m_pBlock->angleY);
    UnlockBlock(hMutex);
    return GRAVMON_OK;
}

LONG ManagerChannel::ReadAcceleration(float *pfX, float *pfY)
{
    HANDLE hMutex;
    LONG lResult = Enter(pfX, pfY, this, this, STEP_ZEROBASE | STEP_ACTIVE, &hMutex);

    if (lResult != GRAVMON_OK)
        return lResult;
    CopyFloatPair(pfX, pfY, &m_pBlock->accelX, &m_pBlock->accelY);
    UnlockBlock(hMutex);
    return GRAVMON_OK;
}
