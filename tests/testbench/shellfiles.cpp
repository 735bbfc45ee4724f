#include "testbench/shellfiles.h"
#include "testbench/testbench.h"

#include <algorithm>
#include <objbase.h>
#include <shlobj.h>

namespace tb {

static std::wstring WideFromAnsi(const std::string &ansi)
{
    std::wstring w(ansi.size() + 1, L'\0');
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &w[0], (int)w.size());
    w.resize(n > 0 ? n - 1 : 0);
    return w;
}

/* The shell's link object with its file interface, or false. */
static bool OpenLinkObject(IShellLinkA **ppsl, IPersistFile **ppf)
{
    *ppsl = NULL;
    *ppf = NULL;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                (void **)ppsl)))
        return false;
    if (SUCCEEDED((*ppsl)->QueryInterface(IID_IPersistFile, (void **)ppf)))
        return true;
    (*ppsl)->Release();
    *ppsl = NULL;
    return false;
}

Link ReadLink(const std::string &path)
{
    Link link;
    IShellLinkA *psl;
    IPersistFile *ppf;
    if (!OpenLinkObject(&psl, &ppf))
        return link;
    if (SUCCEEDED(ppf->Load(WideFromAnsi(path).c_str(), STGM_READ))) {
        char sz[1024] = "";
        int nIcon = 0;
        link.loaded = true;
        psl->GetPath(sz, sizeof(sz), NULL, SLGP_UNCPRIORITY);
        link.target = sz;
        sz[0] = '\0';
        psl->GetArguments(sz, sizeof(sz));
        link.arguments = sz;
        sz[0] = '\0';
        psl->GetIconLocation(sz, sizeof(sz), &nIcon);
        link.icon = sz;
    }
    ppf->Release();
    psl->Release();
    return link;
}

bool WriteLink(const std::string &path, const std::string &target, const std::string &args)
{
    IShellLinkA *psl;
    IPersistFile *ppf;
    if (!OpenLinkObject(&psl, &ppf))
        return false;
    psl->SetPath(target.c_str());
    psl->SetArguments(args.c_str());
    bool bOk = SUCCEEDED(ppf->Save(WideFromAnsi(path).c_str(), TRUE));
    ppf->Release();
    psl->Release();
    return bOk;
}

bool RemoveTree(const std::string &path)
{
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return true;
    std::string from = path + '\0';
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    SHFileOperationA(&op);
    return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> ListFolder(const std::string &dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = fd.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace tb
