/*
 * Jolt logic that needs no Win32: decoding of the stored "JoltSetting" block,
 * comparison of two stored installation times, the direction of a tilt
 * notification, the decisions of the defaults refresh and of an action, and
 * the opt-in quiet time after the user's own input.
 * Compiled into Joltrun, Joltcfg and the native unit tests.
 */
#ifndef JOLT_JOLTPURE_H
#define JOLT_JOLTPURE_H

#include <stddef.h>
#include <stdint.h>

#define JOLT_FLAG_VERTICAL   1
#define JOLT_FLAG_HORIZONTAL 2

/* Action codes: the index in the settings page's action list. */
#define JOLT_ACTION_NONE     0
#define JOLT_ACTION_STARTMENU 1
#define JOLT_ACTION_SWITCHAPP 2
#define JOLT_ACTION_LAUNCH   3

/* Sizes of the stored values. */
#define JOLT_SETTING_BYTES   16
#define JOLT_TIME_BYTES      16
#define JOLT_DWORD_BYTES     4

/* The four fields of "JoltSetting", in stored order. */
typedef struct JOLTSETTING {
    uint32_t dwVerticalAction;
    uint32_t dwHorizontalAction;
    uint32_t dwVerticalSound;
    uint32_t dwHorizontalSound;
} JOLTSETTING;

/*
 * Decodes a stored "JoltSetting" of cbData bytes (little-endian fields).
 * A value shorter than 16 bytes is accepted: the bytes it lacks read as 0.
 * Only the first 16 bytes are looked at.
 */
void JoltDecodeSetting(const uint8_t *pbData, size_t cbData, JOLTSETTING *pSetting);
/* The 16-byte stored form of a setting. */
void JoltEncodeSetting(const JOLTSETTING *pSetting, uint8_t abData[JOLT_SETTING_BYTES]);

/* 1 when the eight 16-bit fields of two stored installation times are equal. */
int JoltSameInstallTime(const uint8_t abFirst[JOLT_TIME_BYTES],
                        const uint8_t abSecond[JOLT_TIME_BYTES]);

/* Direction byte (bits 8-15 of the code) 1 or 3: vertical; any other: horizontal. */
int JoltNotifyDirection(uint16_t wNotifyCode);

/* Results of CompInstallTime and CheckJoltVersion. */
#define JOLT_COMP_OK            0
#define JOLT_COMP_USER_FAILED   6
#define JOLT_COMP_MACHINE_FAILED 8

#define JOLT_REFRESH_BROKEN  (-1)
#define JOLT_REFRESH_CURRENT 0
#define JOLT_REFRESH_COPY    2

/* CheckJoltVersion's answer once CompInstallTime has run with equal versions. */
int JoltRefreshFromCompare(int nCompResult, int bSame);

/* 1 when the sound flag asks for the direction's sound (exactly 1). */
int JoltSoundWanted(uint32_t dwSoundFlag);

/* Message id to show for a failed program start (ShellExecute result below 32). */
#define JOLT_LAUNCH_NOT_FOUND 1
#define JOLT_LAUNCH_FAILED    2
/* 0 for a started program (result 32 or more), otherwise one of the above. */
int JoltLaunchOutcome(uintptr_t uShellResult);

/* Largest quiet time, milliseconds; a larger stored value counts as this. */
#define JOLT_MAX_QUIETTIME 10000u

/* 1 when the user's last input (tick count dwLastInput) lies less than
 * dwQuietTime milliseconds before dwNow; tick counts wrap around. Quiet
 * time 0 never gates. */
int JoltInQuietTime(uint32_t dwNow, uint32_t dwLastInput, uint32_t dwQuietTime);

/* The tick of an input event as a hook reports it: its own time stamp,
 * unless that is missing (0) or later than now, when now counts. */
uint32_t JoltInputTick(uint32_t dwEventTime, uint32_t dwNow);

#endif
