/*
 * Arithmetic and records of the alarm outputs that need no Win32: the
 * speaker volume percentage, the Hwgate register block, the two alarm
 * settings and their flag bits, the sound path, and the reading comparison
 * of the guard. Compiled into Lockwatch.exe and into the native tests.
 */
#ifndef MOTIONLOCK_ALARMCALC_H
#define MOTIONLOCK_ALARMCALC_H

#include <stddef.h>
#include <stdint.h>

/*
 * Volume control value -> percentage, rounded half up, in unsigned 32-bit
 * arithmetic: (r / 2 + 100 * v - 100 * min) / r with r = max - min.
 * Returns 1 with *pdwPercent set, or 0 for an empty range (min == max),
 * which has no percentage; *pdwPercent is then left alone.
 */
int MixerValueToPercent(uint32_t dwValue, uint32_t dwMin, uint32_t dwMax, uint32_t *pdwPercent);

/*
 * Percentage -> control value: min + (r * p) / 100, truncating. Returns 1
 * with *pdwValue set, or 0 for an empty range (the control is left as is).
 */
int PercentToMixerValue(uint32_t dwPercent, uint32_t dwMin, uint32_t dwMax, uint32_t *pdwValue);

/*
 * The register block handed to HwgateFunction: seventeen little-endian
 * 32-bit words, the first eight an image of the general registers in the
 * order PUSHAD stores them.
 */
typedef struct HWGATEREGS {
    uint32_t dwEdi;             /* 0: parameter 6 / result word 6 */
    uint32_t dwEsi;             /* 4: parameter 5 / result word 5 */
    uint32_t dwEbp;             /* 8 */
    uint32_t dwEsp;             /* 12 */
    uint32_t dwEbx;             /* 16: setting number / result word 2 */
    uint32_t dwEdx;             /* 20: parameter 4 / result word 4 */
    uint32_t dwEcx;             /* 24: value / result word 3, the value read */
    uint32_t dwEax;             /* 28: function code / result word 1, status in bits 8-15 */
    uint32_t adwReserved[9];    /* 32 */
} HWGATEREGS;

#ifdef __cplusplus
static_assert(sizeof(HWGATEREGS) == 68, "the register block is 68 bytes");
static_assert(offsetof(HWGATEREGS, dwEbx) == 16, "EBX slot");
static_assert(offsetof(HWGATEREGS, dwEcx) == 24, "ECX slot");
static_assert(offsetof(HWGATEREGS, dwEax) == 28, "EAX slot");
#endif

#define HWGATE_FN_READ   0xFE00u
#define HWGATE_FN_WRITE  0xFF00u

/* The result record of a request: six words in parameter order. */
typedef struct HWGATERESULT {
    uint32_t adwWord[6];    /* code, setting number, value, parameters 4-6 */
} HWGATERESULT;

/* Clears the block and fills the request's slots. */
void HwgateBuildRequest(HWGATEREGS *pRegs, uint32_t dwCode, uint32_t dwNumber, uint32_t dwValue,
                        uint32_t dwParam4, uint32_t dwParam5, uint32_t dwParam6);
/* Copies the six result words out of the block (EAX, EBX, ECX, EDX, ESI, EDI). */
void HwgateReadResult(const HWGATEREGS *pRegs, HWGATERESULT *pResult);
/* Status byte (bits 8-15 of the EAX slot) is 0. */
int HwgateStatusOk(uint32_t dwEax);

/* The two hardware settings that the alarm switches. */
enum AlarmSetting {
    ALARM_SETTING_FIRST = 0,    /* setting 0x5E, flag bit 0x02, on-value 2 */
    ALARM_SETTING_SECOND = 1    /* setting 0x6E, flag bit 0x01, on-value 1 */
};

uint32_t AlarmSettingNumber(int nSetting);
uint32_t AlarmSettingOnValue(int nSetting);
/* The value to write: the on-value or 0. */
uint32_t AlarmSettingWriteValue(int nSetting, int bOn);
/* 1 when the setting's flag bit is set in the low byte of the value read. */
int AlarmSettingIsOn(int nSetting, uint32_t dwValueRead);

/*
 * The alarm sound's path: drive and directory of the program file (up to
 * and including its last backslash; empty when pszModulePath is NULL or has
 * none) followed by the sound name. Returns 1 when the whole path fits in
 * cchOut (terminator included); otherwise 0 with pszOut empty.
 */
int BuildBeepSoundPath(char *pszOut, size_t cchOut, const char *pszModulePath,
                       const char *pszSoundName);

/*
 * The guard's comparison of a reading with the baseline: exact, on either
 * axis; +0.0 equals -0.0 and a not-a-number value counts as unchanged.
 */
int IsReadingChanged(float fBaseX, float fBaseY, float fX, float fY);

/*
 * Whether a reading is a movement: it differs from the baseline by at least
 * dwThreshold thousandths of g on either axis. Threshold 0 is the guard's
 * exact comparison (IsReadingChanged); NaN never counts.
 */
int IsMovement(float fBaseX, float fBaseY, float fX, float fY, uint32_t dwThreshold);

/* The held alarm: 1 when what was read of the speaker (mute value, volume
 * percentage) is not unmuted at full volume. */
int SpeakerNeedsRaise(uint32_t dwMute, uint32_t dwPercent);

#endif
