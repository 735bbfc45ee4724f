#include "common/pagemake.h"
#include <commctrl.h>

HPROPSHEETPAGE CreateTemplatePage(HINSTANCE hInstance, UINT idTemplate, DLGPROC pfnDlgProc,
                                  LPARAM lParam)
{
    PROPSHEETPAGEA psp;

    ZeroMemory(&psp, sizeof(psp));
    psp.dwSize = PROPSHEETPAGEA_V2_SIZE;
    psp.dwFlags = PSP_DEFAULT;
    psp.hInstance = hInstance;
    psp.pszTemplate = MAKEINTRESOURCEA(idTemplate);
    psp.pfnDlgProc = pfnDlgProc;
    psp.lParam = lParam;
    return CreatePropertySheetPageA(&psp);
}
