#include "tiltfeed/feedsys.h"

FEEDSYSTEM g_FeedSystem = {
    EnumDisplaySettingsA,
};
