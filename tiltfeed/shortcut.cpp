#include "tiltfeed/shortcut.h"
#include "common/regpaths.h"
#include "common/trace.h"
#include <shlobj.h>

/* Reads pszLnkFile through a new link object; the outputs are cleared by
 * the caller and filled only when the file loaded. */
static HRESULT ReadLinkObject(IShellLinkA *psl, LPCSTR pszLnkFile, LPSTR pszTarget,
                              LPSTR pszArguments)
{
    IPersistFile *ppf = NULL;
    WCHAR wszLnkFile[TILTKIT_TEXT_MAX];
    HRESULT hr;

    hr = psl->QueryInterface(IID_IPersistFile, (void **)&ppf);
    if (FAILED(hr)) {
        TRACE("psl->QueryInterface() Failed in GetShortcutInfo().\n");
        return hr;
    }
    /* A name that does not fit is not loaded at all, never a shortened one. */
    if (MultiByteToWideChar(CP_ACP, 0, pszLnkFile, -1, wszLnkFile, ARRAYSIZE(wszLnkFile)) == 0)
        hr = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    else
        hr = ppf->Load(wszLnkFile, STGM_READ);
    if (SUCCEEDED(hr)) {
        psl->GetPath(pszTarget, TILTKIT_TEXT_MAX, NULL, SLGP_UNCPRIORITY);
        psl->GetArguments(pszArguments, TILTKIT_TEXT_MAX);
        pszTarget[TILTKIT_TEXT_MAX - 1] = '\0';
        pszArguments[TILTKIT_TEXT_MAX - 1] = '\0';
    } else {
        TRACE("ppf->Load() Failed in GetShortcutInfo().\n");
    }
    ppf->Release();
    return hr;
}

HRESULT GetShortcutInfo(LPCSTR pszLnkFile, LPSTR pszTarget, LPSTR pszArguments)
{
    IShellLinkA *psl = NULL;
    HRESULT hr;

    pszTarget[0] = '\0';
    pszArguments[0] = '\0';

    hr = CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                          (void **)&psl);
    if (FAILED(hr)) {
        TRACE("CoCreateInstance() Failed in GetShortcutInfo().\n");
        return hr;
    }
    hr = ReadLinkObject(psl, pszLnkFile, pszTarget, pszArguments);
    psl->Release();
    return hr;
}

HRESULT OpenShortcutReader(SHORTCUTREADER *pReader)
{
    pReader->pFactory = NULL;
    return CoGetClassObject(CLSID_ShellLink, CLSCTX_INPROC_SERVER, NULL, IID_IClassFactory,
                            (void **)&pReader->pFactory);
}

HRESULT ReadShortcut(SHORTCUTREADER *pReader, LPCSTR pszLnkFile, LPSTR pszTarget,
                     LPSTR pszArguments)
{
    IShellLinkA *psl = NULL;
    HRESULT hr;

    if (pReader == NULL || pReader->pFactory == NULL)
        return GetShortcutInfo(pszLnkFile, pszTarget, pszArguments);
    pszTarget[0] = '\0';
    pszArguments[0] = '\0';
    hr = pReader->pFactory->CreateInstance(NULL, IID_IShellLinkA, (void **)&psl);
    if (FAILED(hr)) {
        TRACE("CoCreateInstance() Failed in GetShortcutInfo().\n");
        return hr;
    }
    hr = ReadLinkObject(psl, pszLnkFile, pszTarget, pszArguments);
    psl->Release();
    return hr;
}

void CloseShortcutReader(SHORTCUTREADER *pReader)
{
    if (pReader->pFactory != NULL)
        pReader->pFactory->Release();
    pReader->pFactory = NULL;
}

BOOL CreateShortCut(LPCSTR pszLnkFile, LPCSTR pszTarget, const TILTFEEDITEM *pItem)
{
    IShellLinkA *pShellLink = NULL;
    IPersistFile *pPersistFile = NULL;
    WCHAR wszLnkFile[TILTKIT_TEXT_MAX];
    HRESULT hr;

    /* A shortcut without a target would start nothing. */
    if (pszTarget == NULL || pszTarget[0] == '\0') {
        TRACE("No target in CreateShortCut().\n");
        return FALSE;
    }
    hr = CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                          (void **)&pShellLink);
    if (hr != S_OK) {
        TRACE("CoCreateInstance() Failed in CreateShortCut().\n");
        if (SUCCEEDED(hr) && pShellLink != NULL)
            pShellLink->Release();
        return FALSE;
    }
    pShellLink->SetPath(pszTarget);
    pShellLink->SetArguments(pItem->szItemName);
    pShellLink->SetIconLocation(pItem->szPath, 0);
    hr = pShellLink->QueryInterface(IID_IPersistFile, (void **)&pPersistFile);
    if (hr != S_OK) {
        TRACE("pShellLink->QueryInterface() Failed in CreateShortCut().\n");
        if (SUCCEEDED(hr) && pPersistFile != NULL)
            pPersistFile->Release();
        pShellLink->Release();
        return FALSE;
    }
    /* As when reading: a name that does not fit is refused, not shortened. */
    if (MultiByteToWideChar(CP_ACP, 0, pszLnkFile, -1, wszLnkFile, ARRAYSIZE(wszLnkFile)) == 0)
        hr = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    else
        hr = pPersistFile->Save(wszLnkFile, TRUE);
    if (hr != S_OK)
        TRACE("pPersistFile->Save() Failed in CreateShortCut().\n");
    pPersistFile->Release();
    pShellLink->Release();
    return hr == S_OK;
}
