/* Registry paths and value names shared by several deliverables. */
#ifndef TILTKIT_REGPATHS_H
#define TILTKIT_REGPATHS_H

#define TILTKIT_REG_ROOT      "SOFTWARE\\Zelvar\\Tiltkit"
#define TILTKIT_REG_GRAVMON   TILTKIT_REG_ROOT "\\Gravmon"
#define TILTKIT_REG_TILTFEED  TILTKIT_REG_ROOT "\\Tiltfeed"
#define TILTKIT_REG_JOLT      TILTKIT_REG_ROOT "\\Jolt"
#define TILTKIT_REG_LOCKWATCH TILTKIT_REG_ROOT "\\Lockwatch"
#define TILTKIT_REG_PROPERTY  TILTKIT_REG_ROOT "\\Property"

#define TILTKIT_VAL_PATH      "PATH"

/* Text buffers: 259 characters and a terminating zero. */
#define TILTKIT_TEXT_MAX 260

#endif
