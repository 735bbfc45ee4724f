/* Programs paths and default texts of any length and content. */
#include "setup/provisiopure.h"
#include "setup/nsisgen.h"

#include <string>

static int OddLead(unsigned char b)
{
    return b >= 0x81 && (b & 1);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pbData, size_t cbData)
{
    std::string text((const char *)pbData, cbData);
    text = text.c_str();
    char szRoot[32], szRelative[32], szOut[64];
    char szLine[256];

    (void)ProvisioSplitProgramsPath(text.c_str(), OddLead, szRoot, sizeof(szRoot), szRelative,
                                    sizeof(szRelative));
    const char *parts[3] = { text.c_str(), text.c_str(), "x" };
    (void)ProvisioJoinPath(szOut, sizeof(szOut), parts, 3);
    (void)ProvisioQuadrixEntry(text.c_str(), cbData & 1);
    (void)NsisQuoteDefault(text.c_str(), szOut, sizeof(szOut));

    TKDEFAULTVALUE value = { text.c_str(), text.c_str(), (int)(cbData % 5), text.c_str() };
    (void)NsisDefaultLine(&value, szLine, sizeof(szLine));
    (void)NsisInstallDirRoom(&value, 1);
    return 0;
}
