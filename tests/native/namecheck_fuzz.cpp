/* The file-name check and the Jolt page's list scan on any bytes. */
#include "common/namecheck.h"
#include "jolt/joltcfgpure.h"
#include "common/pagetext.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pbData, size_t cbData)
{
    std::string all((const char *)pbData, cbData);
    size_t ibSplit = all.find('\0');
    std::string now = all.substr(0, ibSplit);
    std::string accepted = ibSplit == std::string::npos ? "" : all.substr(ibSplit + 1).c_str();

    int ib = NameCheckFindRefused(now.c_str(), accepted.c_str(), NAMECHECK_NAME_CHARS,
                                  NameCheckLeadByte932);
    if (ib >= 0 && (size_t)ib >= now.size())
        __builtin_trap();
    (void)NameCheckFindRefused(now.c_str(), accepted.c_str(), NAMECHECK_PATH_CHARS, NULL);

    /* The scan stays inside its limit even without a terminator in range. */
    std::vector<char> raw(pbData, pbData + cbData);
    JOLTCFGPIECE aPieces[8];
    int n = JoltSplitList(raw.data(), raw.size(), NameCheckLeadByte932, aPieces, 8);
    for (int i = 0; i < n && i < 8; i++) {
        if (aPieces[i].ibStart + aPieces[i].cb > raw.size())
            __builtin_trap();
    }
    std::vector<char> filter(now.begin(), now.end());
    filter.push_back('\0');
    filter.push_back('\0');
    (void)MakeOpenFilter(filter.data(), filter.size());
    return 0;
}
