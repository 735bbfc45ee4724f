/* Stored Jolt values and default texts of any length and content. */
#include "jolt/joltpure.h"
#include "setup/defaults.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pbData, size_t cbData)
{
    JOLTSETTING s;
    JoltDecodeSetting(pbData, cbData, &s);
    if (cbData >= 32)
        (void)JoltSameInstallTime(pbData, pbData + 16);
    if (cbData >= 2)
        (void)JoltNotifyDirection((uint16_t)(pbData[0] | (pbData[1] << 8)));

    std::string text((const char *)pbData, cbData);
    text = text.c_str(); /* up to the first zero, as a C string */
    char sz[64];
    uint8_t ab[16];
    size_t cb;
    uint32_t dw;
    (void)TkExpandDefault(text.c_str(), "C:\\Tiltkit\\", "C:\\WINDOWS", sz, sizeof(sz));
    (void)TkParseHex(text.c_str(), ab, sizeof(ab), &cb);
    (void)TkParseDword(text.c_str(), &dw);
    return 0;
}
