#include "common/display.h"
#include "common/trace.h"

DWORD ReadDisplayOrientation(PFN_ENUMDISPLAYSETTINGSA pfnEnum)
{
    DEVMODEA dm;

    ZeroMemory(&dm, sizeof(dm));
    dm.dmSize = sizeof(dm);
    if (!pfnEnum(NULL, ENUM_CURRENT_SETTINGS, &dm)) {
        TRACE("EnumDisplaySettings() Failed in ReadDisplayOrientation().\nGetLastError Report %lu",
              GetLastError());
        return DMDO_DEFAULT;
    }
    return dm.dmDisplayOrientation;
}
