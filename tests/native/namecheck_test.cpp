#include <gtest/gtest.h>
#include "common/namecheck.h"

#include <string>

namespace {

/* Shift JIS characters whose trail byte is a forbidden or allowed ASCII byte. */
const char kSo[] = "\x83\x5C";   /* trail byte is a backslash */
const char kPo[] = "\x83\x7C";   /* trail byte is a vertical bar */
const char kHyo[] = "\x95\x5C";

int Find932(const std::string &now, const std::string &accepted,
            const char *pszForbidden = NAMECHECK_PATH_CHARS)
{
    return NameCheckFindRefused(now.c_str(), accepted.c_str(), pszForbidden, NameCheckLeadByte932);
}

} // namespace

TEST(NameCheck, EachForbiddenCharacterTypedIntoAnEmptyFieldIsRefused)
{
    const std::string forbidden = "|\"<>/?*";
    for (char c : forbidden) {
        SCOPED_TRACE(c);
        EXPECT_EQ(0, Find932(std::string(1, c), ""));
        EXPECT_EQ(3, Find932(std::string("C:\\") + c, "C:\\"));
        EXPECT_EQ(0, NameCheckFindRefused(std::string(1, c).c_str(), NULL,
                                          NAMECHECK_PATH_CHARS, NULL));
    }
    /* A path may hold backslashes, colons, blanks, dots and Cyrillic letters. */
    EXPECT_EQ(-1, Find932("C:\\Program Files\\a b.exe", ""));
    EXPECT_EQ(-1, NameCheckFindRefused("C:\\\xcc\xf3\xeb\xfc\xf2\xe8\xec\xe5\xe4\xe8\xe0\\x.wav", "",
                                       NAMECHECK_PATH_CHARS, NameCheckNoLeadByte));
    /* An item name may not. */
    EXPECT_EQ(1, Find932("C:x", "", NAMECHECK_NAME_CHARS));
    EXPECT_EQ(1, Find932("a\\b", "", NAMECHECK_NAME_CHARS));
    EXPECT_EQ(-1, Find932("Notepad 2", "", NAMECHECK_NAME_CHARS));
}

TEST(NameCheck, CharactersAlreadyAcceptedKeepTheirPlace)
{
    const std::string stored = "C:\\a|b.exe";
    /* Editing after the stored bar keeps it at its position. */
    EXPECT_EQ(-1, Find932(stored, stored));
    EXPECT_EQ(-1, Find932("C:\\a|bc.exe", stored));
    EXPECT_EQ(-1, Find932("C:\\a|", stored));
    /* Editing before it moves it: refused where it now stands. */
    EXPECT_EQ(5, Find932("C:\\ax|b.exe", stored));
    EXPECT_EQ(3, Find932("C:\\|b.exe", stored));
    /* A new bar beyond the accepted text's end. */
    EXPECT_EQ(10, Find932(stored + "|", stored));
    /* Replacing a stored forbidden character by another one. */
    EXPECT_EQ(4, Find932("C:\\a?b.exe", stored));
}

TEST(NameCheck, DoubleByteCharactersCountAsOneUnderCodePage932)
{
    /* Trail bytes equal to '|' or '\' are no characters of their own. */
    EXPECT_EQ(-1, Find932(kPo, ""));
    EXPECT_EQ(-1, Find932(std::string("C:\\") + kSo + kPo + kHyo + "\\x.exe", ""));
    /* Without the code page's lead bytes the trail byte would be refused. */
    EXPECT_EQ(1, NameCheckFindRefused(kPo, "", NAMECHECK_PATH_CHARS, NameCheckNoLeadByte));

    /* Positions count characters, not bytes: the bar is the second character
     * in both texts, at byte 2 of the accepted one and byte 1 of the new one. */
    EXPECT_EQ(-1, Find932("x|", std::string(kSo) + "|"));
    EXPECT_EQ(1, NameCheckFindRefused("x|", (std::string(kSo) + "|").c_str(),
                                      NAMECHECK_PATH_CHARS, NameCheckNoLeadByte));
    /* A double-byte character in the accepted text never matches a single one. */
    EXPECT_EQ(2, Find932(std::string(kSo) + "|", std::string(kSo) + kPo));
    /* Typing a bar after a double-byte character is still refused, at its byte. */
    EXPECT_EQ(4, Find932(std::string(kSo) + kHyo + "|", std::string(kSo) + kHyo));
}

TEST(NameCheck, TruncatedLeadByteAndMissingInputsEndTheWalk)
{
    /* A lead byte right before the terminator is one character; nothing is
     * read beyond the string (the sanitizers watch). */
    EXPECT_EQ(-1, Find932("\x83", ""));
    EXPECT_EQ(-1, Find932("ab\x83", "ab\x83"));
    EXPECT_EQ(1, Find932("a|", "\x83"));
    EXPECT_EQ(-1, NameCheckFindRefused(NULL, "", NAMECHECK_PATH_CHARS, NULL));
    EXPECT_EQ(-1, NameCheckFindRefused("|", "", NULL, NULL));
    /* Lead-byte ranges of code page 932. */
    EXPECT_FALSE(NameCheckLeadByte932(0x80));
    EXPECT_TRUE(NameCheckLeadByte932(0x81));
    EXPECT_TRUE(NameCheckLeadByte932(0x9F));
    EXPECT_FALSE(NameCheckLeadByte932(0xA0));
    EXPECT_FALSE(NameCheckLeadByte932(0xDF));
    EXPECT_TRUE(NameCheckLeadByte932(0xE0));
    EXPECT_TRUE(NameCheckLeadByte932(0xFC));
    EXPECT_FALSE(NameCheckLeadByte932(0xFD));
    EXPECT_FALSE(NameCheckLeadByte932('|'));
}
