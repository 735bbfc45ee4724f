#include "common/pagemake.h"
#include <commctrl.h>
#include <shlwapi.h>

typedef HRESULT (WINAPI *PFN_SHAUTOCOMPLETE)(HWND hwndEdit, DWORD dwFlags);

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

void TurnOnPathCompletion(HWND hDlg, const int *pidEdits, int nEdits)
{
    HMODULE hShlwapi = LoadLibraryA("SHLWAPI.DLL");
    PFN_SHAUTOCOMPLETE pfnAutoComplete;
    int i;

    if (hShlwapi == NULL)
        return;
    pfnAutoComplete = (PFN_SHAUTOCOMPLETE)(void *)GetProcAddress(hShlwapi, "SHAutoComplete");
    if (pfnAutoComplete != NULL) {
        for (i = 0; i < nEdits; i++)
            pfnAutoComplete(GetDlgItem(hDlg, pidEdits[i]), SHACF_FILESYSTEM);
    }
    FreeLibrary(hShlwapi);
}
