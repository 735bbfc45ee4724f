/*
 * Page plug-in interface of the setting console.
 *
 * A page plug-in is a DLL registered under
 *   HKEY_LOCAL_MACHINE "SOFTWARE\Zelvar\Tiltkit\Property\<key>"
 * where <key> is exactly four ASCII digits (for example 0010). The key orders
 * the plug-ins in the sheet (ascending number) and is what the console's
 * command line names. The entry holds two string values:
 *   "Name"         display name, used in the console's error messages
 *   "DLLFileName"  the library file, passed unchanged to LoadLibraryA
 * both at most 259 characters. Subkeys with other names are ignored; a
 * four-digit subkey without either value stops the console.
 *
 * The plug-in exports two functions by their undecorated names (.def file):
 *   GetPropertyPageNumber  how many pages it offers, 1 to 10
 *   CreatePropertyPage     the page with the given 0-based index, made with
 *                          CreatePropertySheetPageA, or NULL on failure
 *
 * Calling order within one console run:
 *   1. load, GetPropertyPageNumber, unload;
 *   2. load again, CreatePropertyPage(0 .. n-1) in increasing order;
 *   3. the sheet runs and owns the pages (the plug-in never destroys them);
 *   4. the sheet closes and destroys the pages, then the library is unloaded.
 * So a plug-in keeps no state from step 1 for step 2, and DllMain only stores
 * the module instance.
 *
 * A plug-in includes this header and lists the two names in its .def file:
 *   EXPORTS
 *       GetPropertyPageNumber
 *       CreatePropertyPage
 */
#ifndef CONSOLE_PAGEPLUGIN_H
#define CONSOLE_PAGEPLUGIN_H

#include <windows.h>
#include <prsht.h>
#include "common/regpaths.h"

/* Registry entry of one plug-in, below TILTKIT_REG_PROPERTY. */
#define PAGEPLUGIN_VAL_NAME        "Name"
#define PAGEPLUGIN_VAL_DLLFILENAME "DLLFileName"
#define PAGEPLUGIN_KEY_DIGITS      4    /* subkey name: exactly four ASCII digits */

/* What GetPropertyPageNumber may return. */
#define PAGEPLUGIN_MIN_PAGES 1
#define PAGEPLUGIN_MAX_PAGES 10

/* Export names, as bound by the console with GetProcAddress. */
#define PAGEPLUGIN_EXPORT_PAGENUMBER "GetPropertyPageNumber"
#define PAGEPLUGIN_EXPORT_CREATEPAGE "CreatePropertyPage"

/* The shapes the console binds. Without arguments the calling convention of
 * GetPropertyPageNumber makes no difference; both are declared WINAPI. */
typedef int (WINAPI *PFN_GETPROPERTYPAGENUMBER)(void);
typedef HPROPSHEETPAGE (WINAPI *PFN_CREATEPROPERTYPAGE)(UINT uIndex);

#ifdef __cplusplus
extern "C" {
#endif

/* Implemented by every page plug-in. */
int WINAPI GetPropertyPageNumber(void);
HPROPSHEETPAGE WINAPI CreatePropertyPage(UINT uIndex);

#ifdef __cplusplus
}
#endif

#endif
