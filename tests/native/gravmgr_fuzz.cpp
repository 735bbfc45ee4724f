/* Control commands, scenario files and command lines of any content. */
#include "standins/gravmgr/gravmgr_model.h"

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pbData, size_t cbData)
{
    const char *p = (const char *)pbData;
    GmCommand cmd;
    std::vector<GmScenarioEntry> entries(8);
    int nCount, nLine;

    /* Not terminated: the parsers must stay inside the given length. */
    (void)GmParseCommand(p, cbData, &cmd);
    (void)GmParseScenario(p, cbData, entries.data(), (int)entries.size(), &nCount, &nLine);

    std::string text(p, cbData);
    const char *psz = text.c_str();
    char szArg[16];
    int nArgs = 0;
    while ((psz = GmNextArg(psz, szArg, sizeof(szArg))) != NULL && nArgs < 1000)
        nArgs++;
    int32_t l;
    (void)GmParseInt(text.c_str(), -0x80000000LL, 0xFFFFFFFFLL, &l);
    return 0;
}
