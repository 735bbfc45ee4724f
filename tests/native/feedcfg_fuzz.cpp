/* Names and paths of any content through the Tiltfeed page's text
 * handling: every output is bounded and terminated, results point into
 * their input, and the character check refuses only forbidden characters
 * that are not double-byte characters. */
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include "tiltfeed/feedname.h"
#include "common/namecheck.h"

namespace {

void Check(bool b)
{
    if (!b)
        abort();
}

/* Whether byte offset nAt starts a character of psz. */
bool StartsCharacter(const char *psz, int nAt, PFNNAMECHECKLEAD pfn)
{
    int i = 0;
    while (i < nAt && psz[i] != '\0')
        i += (pfn((unsigned char)psz[i]) && psz[i + 1] != '\0') ? 2 : 1;
    return i == nAt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t cb)
{
    if (cb < 2)
        return 0;
    /* First byte: the code page and a small buffer size; the rest split in
     * two texts at the first zero. */
    PFNNAMECHECKLEAD pfn = (pData[0] & 1) ? NameCheckLeadByte932 : NameCheckNoLeadByte;
    size_t cchSmall = (size_t)(pData[0] >> 1) % 64;
    std::string all((const char *)pData + 1, cb - 1);
    std::string a = all.c_str();
    std::string b = a.size() < all.size() ? std::string(all.c_str() + a.size() + 1) : std::string();

    const char *pszSkipped = SkipLeadingBlanks(a.c_str(), pfn);
    Check(pszSkipped >= a.c_str() && pszSkipped <= a.c_str() + a.size());
    Check(*pszSkipped != ' ');

    char sz[260 + 1];
    sz[260] = 0x5A;
    if (SplitTargetFileName(a.c_str(), 260, pfn, sz, 260)) {
        size_t n = strlen(sz);
        Check(n < 260 && n <= a.size());
        Check(a.find(sz) != std::string::npos);
    } else {
        Check(sz[0] == '\0');
    }
    Check(sz[260] == 0x5A);

    std::string small(cchSmall + 1, '\x5A');
    int nLength = BuildCopyName(a.c_str(), b.c_str(), (int)(cb % 12), b.c_str(), (int)cchSmall,
                                &small[0], cchSmall);
    Check(small[cchSmall] == '\x5A');
    if (nLength >= 0) {
        Check(nLength < (int)cchSmall && (size_t)nLength == strlen(small.c_str()));
    } else if (cchSmall > 0) {
        Check(small[0] == '\0');
    }

    if (BuildShortcutPath(a.c_str(), b.c_str(), sz, 260))
        Check(strlen(sz) == a.size() + b.size() + 5);
    else
        Check(sz[0] == '\0' && a.size() + b.size() + 6 > 260);
    Check(sz[260] == 0x5A);

    (void)IsExplorerPath(a.c_str(), pfn);

    for (const char *pszSet : { NAMECHECK_NAME_CHARS, NAMECHECK_PATH_CHARS }) {
        int nAt = NameCheckFindRefused(a.c_str(), b.c_str(), pszSet, pfn);
        if (nAt >= 0) {
            Check((size_t)nAt < a.size());
            Check(strchr(pszSet, a[nAt]) != NULL);
            Check(StartsCharacter(a.c_str(), nAt, pfn));
            Check(!pfn((unsigned char)a[nAt]));
        }
        /* A text checked against itself is never refused. */
        Check(NameCheckFindRefused(a.c_str(), a.c_str(), pszSet, pfn) < 0);
    }
    return 0;
}
