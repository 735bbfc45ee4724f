/*
 * The alarm outputs of Lockwatch: the looping sound, the speaker line of
 * the first mixer (mute and volume), and the two hardware settings switched
 * through the maker's Hwgate library (with its companion Sysgate), both
 * loaded from the system directory for the length of one operation.
 * Nothing here reports to the user; results only steer the callers.
 */
#ifndef MOTIONLOCK_ALARM_H
#define MOTIONLOCK_ALARM_H

#include <windows.h>
#include <mmsystem.h>
#include "motionlock/alarmcalc.h"

#define LOCKWATCH_DEFAULT_SOUND "Windows XP Ding.wav"
#define LOCKWATCH_VAL_BEEPSOUND "BeepSound"

#define HWGATE_ATTEMPTS      20
#define HWGATE_RETRY_PAUSE   200

/* Mixer state: the open mixer device 0 and what was looked up on it. */
typedef struct MIXERSTATE {
    HMIXER hMixer;
    MIXERCAPSA caps;
    DWORD dwVolumeControlId;    /* (DWORD)-1 = not looked up */
    DWORD dwMuteControlId;
    DWORD dwVolumeMin;
    DWORD dwVolumeMax;
    DWORD dwSavedMute;
    DWORD dwSavedVolume;        /* percent */
} MIXERSTATE;

extern MIXERSTATE g_MixerState;

enum SpeakerControl {
    SPEAKER_VOLUME = 0,
    SPEAKER_MUTE = 1
};

typedef DWORD (WINAPI *PFN_HWGATEFUNCTION)(void *pRegisterBlock);

BOOL GetBeepSoundPath(char *pszPath);          /* 260 bytes */
void StartAlarmSound(const char *pszPath);
void StopAlarmSound(void);

BOOL OpenMixer(void);
void CloseMixer(void);
BOOL FindSpeakerControl(int nKind);
BOOL GetSpeakerVolume(DWORD *pdwPercent);
BOOL SetSpeakerVolume(DWORD dwPercent);
BOOL GetSpeakerMute(DWORD *pdwMute);
BOOL SetSpeakerMute(DWORD dwMute);
BOOL SaveMixerState(void);
BOOL RaiseMixerForAlarm(void);
BOOL RestoreMixerState(void);

BOOL LoadGateLibraries(void);
void FreeGateLibraries(void);
BOOL HwgateRequest(DWORD dwCode, DWORD dwNumber, DWORD dwValue, DWORD dwParam4,
                   DWORD dwParam5, DWORD dwParam6, HWGATERESULT *pResult);
BOOL GetHwgateFlag(int nSetting, BOOL *pbOn);
BOOL SetHwgateFlag(int nSetting, BOOL bOn);

#endif
