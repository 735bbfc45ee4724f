/* The page's number fields: any text either parses to a value within the
 * limit that prints back as the same digits, or is refused untouched. */
#include "common/pagetext.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pb, size_t cb)
{
    if (cb < 4)
        return 0;
    uint32_t dwMax;
    memcpy(&dwMax, pb, 4);
    std::string text((const char *)pb + 4, cb - 4);
    uint32_t dw = 0xDEADBEEF;
    if (!ParsePageNumber(text.c_str(), dwMax, &dw)) {
        if (dw != 0xDEADBEEF)
            abort();
        return 0;
    }
    if (dw > dwMax)
        abort();
    /* The digits of the text, without blanks and leading zeros, are the value. */
    std::string digits;
    for (char c : std::string(text.c_str()))
        if (c >= '0' && c <= '9')
            digits += c;
    size_t nz = digits.find_first_not_of('0');
    digits = nz == std::string::npos ? "0" : digits.substr(nz);
    char sz[16];
    snprintf(sz, sizeof(sz), "%u", dw);
    if (digits != sz)
        abort();
    return 0;
}
