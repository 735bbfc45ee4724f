#include "motionlock/alarm.h"
#include "motionlock/lockplatform.h"
#include "common/regpaths.h"
#include "common/regread.h"
#include "common/trace.h"

#ifndef _WIN64
/* The mixer records as the 32-bit system lays them out. */
static_assert(sizeof(MIXERCAPSA) == 48, "mixer capabilities record");
static_assert(sizeof(MIXERLINEA) == 168, "mixer line record");
static_assert(sizeof(MIXERLINECONTROLSA) == 24, "line controls record");
static_assert(sizeof(MIXERCONTROLA) == 148, "control record");
static_assert(sizeof(MIXERCONTROLDETAILS) == 24, "control details record");
#endif
static_assert((SND_FILENAME | SND_ASYNC | SND_LOOP) == 0x20009, "looping sound flags");
static_assert((SND_FILENAME | SND_ASYNC) == 0x20001, "stop flags");

MIXERSTATE g_MixerState = {
    NULL, {}, (DWORD)-1, (DWORD)-1, 0, 0, 0, 0
};

/* The interface libraries, bound for the length of one hardware operation. */
static struct {
    HMODULE hSysgate;
    HMODULE hHwgate;
    FARPROC pfnSysgateGetWithOpenIF;
    FARPROC pfnSysgateSetWithOpenIF;
    PFN_HWGATEFUNCTION pfnHwgateFunction;
} g_Gate;

/* ---- Sound ---------------------------------------------------------------- */

BOOL GetBeepSoundPath(char *pszPath)
{
    char szSoundName[TILTKIT_TEXT_MAX];
    char szModule[TILTKIT_TEXT_MAX];
    const char *pszModule = NULL;
    DWORD cchModule;

    pszPath[0] = '\0';

    /* A missing or unreadable name plays the default sound. */
    if (RegReadTextAt(HKEY_LOCAL_MACHINE, TILTKIT_REG_LOCKWATCH, LOCKWATCH_VAL_BEEPSOUND,
                      szSoundName, sizeof(szSoundName), REGREAD_CUT_FULL) != ERROR_SUCCESS)
        lstrcpynA(szSoundName, LOCKWATCH_DEFAULT_SOUND, ARRAYSIZE(szSoundName));

    /* A module path that fills the buffer may be cut short: treat it as
     * not available rather than guess a directory from it. */
    cchModule = GetModuleFileNameA(NULL, szModule, ARRAYSIZE(szModule));
    if (cchModule != 0 && cchModule < ARRAYSIZE(szModule)) {
        szModule[cchModule] = '\0';
        pszModule = szModule;
    }

    /* A directory and name too long for the buffer leave the path empty:
     * the platform's default sound plays instead of a cut-off file name. */
    if (!BuildBeepSoundPath(pszPath, TILTKIT_TEXT_MAX, pszModule, szSoundName))
        TRACE("GetBeepSoundPath(): the sound path does not fit");
    return TRUE;
}

void StartAlarmSound(const char *pszPath)
{
    g_LockwatchPlatform.pfnPlaySoundA(pszPath, NULL, SND_FILENAME | SND_ASYNC | SND_LOOP);
}

void StopAlarmSound(void)
{
    g_LockwatchPlatform.pfnPlaySoundA(NULL, NULL, SND_FILENAME | SND_ASYNC);
}

/* ---- Speaker mixer -------------------------------------------------------- */

BOOL OpenMixer(void)
{
    MIXERSTATE *p = &g_MixerState;
    MMRESULT mmr;

    if (p->hMixer != NULL)
        return TRUE;
    mmr = mixerOpen(&p->hMixer, 0, 0, 0, 0);
    if (mmr != MMSYSERR_NOERROR) {
        TRACE("mixerOpen() Failed. Error Code %d.", mmr);
        p->hMixer = NULL;
        return FALSE;
    }
    mmr = mixerGetDevCapsA((UINT_PTR)p->hMixer, &p->caps, sizeof(p->caps));
    if (mmr != MMSYSERR_NOERROR) {
        TRACE("mixerGetDevCaps() Failed. Error Code %d.", mmr);
        return FALSE;
    }
    return TRUE;
}

void CloseMixer(void)
{
    MIXERSTATE *p = &g_MixerState;

    if (p->hMixer != NULL)
        mixerClose(p->hMixer);
    p->hMixer = NULL;
    p->dwVolumeControlId = (DWORD)-1;
    p->dwMuteControlId = (DWORD)-1;
}

BOOL FindSpeakerControl(int nKind)
{
    MIXERSTATE *p = &g_MixerState;
    MIXERLINEA line;
    MIXERLINECONTROLSA controls;
    MIXERCONTROLA control;
    MMRESULT mmr;

    if ((nKind == SPEAKER_VOLUME ? p->dwVolumeControlId : p->dwMuteControlId) != (DWORD)-1)
        return TRUE;
    if (!OpenMixer())
        return FALSE;

    ZeroMemory(&line, sizeof(line));
    line.cbStruct = sizeof(line);
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    mmr = mixerGetLineInfoA((HMIXEROBJ)p->hMixer, &line,
                            MIXER_GETLINEINFOF_COMPONENTTYPE | MIXER_OBJECTF_HMIXER);
    if (mmr != MMSYSERR_NOERROR) {
        TRACE("mixerGetLineInfo() Failed. Error Code %d.", mmr);
        return FALSE;
    }

    ZeroMemory(&controls, sizeof(controls));
    ZeroMemory(&control, sizeof(control));
    controls.cbStruct = sizeof(controls);
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = nKind == SPEAKER_VOLUME ? MIXERCONTROL_CONTROLTYPE_VOLUME
                                                     : MIXERCONTROL_CONTROLTYPE_MUTE;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof(control);
    controls.pamxctrl = &control;
    mmr = mixerGetLineControlsA((HMIXEROBJ)p->hMixer, &controls,
                                MIXER_GETLINECONTROLSF_ONEBYTYPE | MIXER_OBJECTF_HMIXER);
    if (mmr != MMSYSERR_NOERROR) {
        TRACE("mixerGetLineControls() Failed. Error Code %d.", mmr);
        return FALSE;
    }

    if (nKind == SPEAKER_VOLUME) {
        p->dwVolumeControlId = control.dwControlID;
        p->dwVolumeMin = control.Bounds.dwMinimum;
        p->dwVolumeMax = control.Bounds.dwMaximum;
    } else {
        p->dwMuteControlId = control.dwControlID;
    }
    return TRUE;
}

/* One 32-bit value of a control, uniform over the channels. */
static BOOL ControlValue(DWORD dwControlId, DWORD *pdwValue, BOOL bWrite)
{
    MIXERCONTROLDETAILS details;
    DWORD dwValue = bWrite ? *pdwValue : 0;
    MMRESULT mmr;

    ZeroMemory(&details, sizeof(details));
    details.cbStruct = sizeof(details);
    details.dwControlID = dwControlId;
    details.cChannels = 1;
    details.cMultipleItems = 0;
    details.cbDetails = sizeof(DWORD);
    details.paDetails = &dwValue;
    if (bWrite)
        mmr = mixerSetControlDetails((HMIXEROBJ)g_MixerState.hMixer, &details,
                                     MIXER_SETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER);
    else
        mmr = mixerGetControlDetailsA((HMIXEROBJ)g_MixerState.hMixer, &details,
                                      MIXER_GETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER);
    if (mmr != MMSYSERR_NOERROR) {
        TRACE("mixer control details Failed. Error Code %d.", mmr);
        return FALSE;
    }
    if (!bWrite)
        *pdwValue = dwValue;
    return TRUE;
}

BOOL GetSpeakerVolume(DWORD *pdwPercent)
{
    MIXERSTATE *p = &g_MixerState;
    DWORD dwValue;
    uint32_t dwPercent;

    if (!FindSpeakerControl(SPEAKER_VOLUME) || !ControlValue(p->dwVolumeControlId, &dwValue, FALSE))
        return FALSE;
    if (!MixerValueToPercent(dwValue, p->dwVolumeMin, p->dwVolumeMax, &dwPercent))
        return FALSE;
    *pdwPercent = dwPercent;
    return TRUE;
}

BOOL SetSpeakerVolume(DWORD dwPercent)
{
    MIXERSTATE *p = &g_MixerState;
    uint32_t dwValue;
    DWORD dw;

    if (!FindSpeakerControl(SPEAKER_VOLUME))
        return FALSE;
    if (!PercentToMixerValue(dwPercent, p->dwVolumeMin, p->dwVolumeMax, &dwValue))
        return FALSE;
    dw = dwValue;
    return ControlValue(p->dwVolumeControlId, &dw, TRUE);
}

BOOL GetSpeakerMute(DWORD *pdwMute)
{
    DWORD dwValue;

    if (!FindSpeakerControl(SPEAKER_MUTE) ||
        !ControlValue(g_MixerState.dwMuteControlId, &dwValue, FALSE))
        return FALSE;
    *pdwMute = dwValue;
    return TRUE;
}

BOOL SetSpeakerMute(DWORD dwMute)
{
    if (!FindSpeakerControl(SPEAKER_MUTE))
        return FALSE;
    return ControlValue(g_MixerState.dwMuteControlId, &dwMute, TRUE);
}

BOOL SaveMixerState(void)
{
    GetSpeakerMute(&g_MixerState.dwSavedMute);
    GetSpeakerVolume(&g_MixerState.dwSavedVolume);
    return TRUE;
}

BOOL RaiseMixerForAlarm(void)
{
    SetSpeakerMute(0);
    SetSpeakerVolume(100);
    return TRUE;
}

BOOL RestoreMixerState(void)
{
    SetSpeakerMute(g_MixerState.dwSavedMute);
    SetSpeakerVolume(g_MixerState.dwSavedVolume);
    return TRUE;
}

/* ---- Hardware settings ---------------------------------------------------- */

/* System directory + pszName, or FALSE when it does not fit. */
static BOOL SystemLibraryPath(const char *pszSystemDir, const char *pszName, char *pszPath)
{
    int cchDir = lstrlenA(pszSystemDir);
    int cchName = lstrlenA(pszName);

    if (cchDir + cchName >= TILTKIT_TEXT_MAX)
        return FALSE;
    lstrcpynA(pszPath, pszSystemDir, TILTKIT_TEXT_MAX);
    lstrcpynA(pszPath + cchDir, pszName, TILTKIT_TEXT_MAX - cchDir);
    return TRUE;
}

BOOL LoadGateLibraries(void)
{
    char szSystemDir[TILTKIT_TEXT_MAX];
    char szPath[TILTKIT_TEXT_MAX];
    UINT cch;

    ZeroMemory(szSystemDir, sizeof(szSystemDir));
    cch = GetSystemDirectoryA(szSystemDir, ARRAYSIZE(szSystemDir));
    if (cch == 0 || cch >= ARRAYSIZE(szSystemDir))
        szSystemDir[0] = '\0';

    if (!SystemLibraryPath(szSystemDir, "\\Sysgate.DLL", szPath) ||
        (g_Gate.hSysgate = LoadLibraryA(szPath)) == NULL) {
        TRACE("LoadLibrary() Failed for Sysgate. Error Code %lu.", GetLastError());
        return FALSE;
    }
    g_Gate.pfnSysgateGetWithOpenIF =
        g_LockwatchPlatform.pfnGetProcAddress(g_Gate.hSysgate, "SysgateGetWithOpenIF");
    g_Gate.pfnSysgateSetWithOpenIF =
        g_LockwatchPlatform.pfnGetProcAddress(g_Gate.hSysgate, "SysgateSetWithOpenIF");

    if (!SystemLibraryPath(szSystemDir, "\\Hwgate.DLL", szPath) ||
        (g_Gate.hHwgate = LoadLibraryA(szPath)) == NULL) {
        TRACE("LoadLibrary() Failed for Hwgate. Error Code %lu.", GetLastError());
        FreeGateLibraries();
        return FALSE;
    }
    g_Gate.pfnHwgateFunction = (PFN_HWGATEFUNCTION)(void (*)(void))
        g_LockwatchPlatform.pfnGetProcAddress(g_Gate.hHwgate, "HwgateFunction");
    return TRUE;
}

void FreeGateLibraries(void)
{
    if (g_Gate.hHwgate != NULL)
        FreeLibrary(g_Gate.hHwgate);
    if (g_Gate.hSysgate != NULL)
        FreeLibrary(g_Gate.hSysgate);
    g_Gate.hHwgate = NULL;
    g_Gate.hSysgate = NULL;
    g_Gate.pfnSysgateGetWithOpenIF = NULL;
    g_Gate.pfnSysgateSetWithOpenIF = NULL;
    g_Gate.pfnHwgateFunction = NULL;
}

BOOL HwgateRequest(DWORD dwCode, DWORD dwNumber, DWORD dwValue, DWORD dwParam4,
                   DWORD dwParam5, DWORD dwParam6, HWGATERESULT *pResult)
{
    HWGATEREGS regs;
    DWORD dwDone = 0;

    HwgateBuildRequest(&regs, dwCode, dwNumber, dwValue, dwParam4, dwParam5, dwParam6);
    if (g_Gate.pfnHwgateFunction != NULL)
        dwDone = g_Gate.pfnHwgateFunction(&regs);
    HwgateReadResult(&regs, pResult);
    return dwDone != 0 && HwgateStatusOk(regs.dwEax);
}

/* Up to HWGATE_ATTEMPTS requests, a pause after each failed one. */
static BOOL HwgateRequestWithRetry(DWORD dwCode, DWORD dwNumber, DWORD dwValue,
                                   HWGATERESULT *pResult)
{
    BOOL bDone = FALSE;
    int nAttempt;

    LoadGateLibraries();
    for (nAttempt = 0; nAttempt < HWGATE_ATTEMPTS; nAttempt++) {
        if (HwgateRequest(dwCode, dwNumber, dwValue, 0, 0, 0, pResult)) {
            bDone = TRUE;
            break;
        }
        g_LockwatchPlatform.pfnSleep(HWGATE_RETRY_PAUSE);
    }
    FreeGateLibraries();
    return bDone;
}

BOOL GetHwgateFlag(int nSetting, BOOL *pbOn)
{
    HWGATERESULT result;

    if (!HwgateRequestWithRetry(HWGATE_FN_READ, AlarmSettingNumber(nSetting), 0, &result)) {
        TRACE("GetHwgateFlag(0x%X) Failed.", AlarmSettingNumber(nSetting));
        return FALSE;
    }
    *pbOn = AlarmSettingIsOn(nSetting, result.adwWord[2]) ? TRUE : FALSE;
    return TRUE;
}

BOOL SetHwgateFlag(int nSetting, BOOL bOn)
{
    HWGATERESULT result;

    if (!HwgateRequestWithRetry(HWGATE_FN_WRITE, AlarmSettingNumber(nSetting),
                                AlarmSettingWriteValue(nSetting, bOn), &result)) {
        TRACE("SetHwgateFlag(0x%X) Failed.", AlarmSettingNumber(nSetting));
        return FALSE;
    }
    return TRUE;
}
