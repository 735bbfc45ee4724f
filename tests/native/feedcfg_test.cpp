#include <gtest/gtest.h>
#include <string.h>
#include <string>
#include "tiltfeed/feedname.h"
#include "common/namecheck.h"

namespace {

/* The string-table formats as the page loads them in code page 1251. */
const char kPlainCopy[] = "\xCA\xEE\xEF\xE8\xFF %s";          /* "Копия %s" */
const char kNumberedCopy[] = "\xCA\xEE\xEF\xE8\xFF (%d) %s";  /* "Копия (%d) %s" */
const char kNewItem[] = "Tiltfeed + %s";

/* Shift JIS characters whose trail byte is a forbidden character. */
const char kSo[] = "\x83\x5C";      /* trail byte: backslash */
const char kHyou[] = "\x95\x5C";    /* trail byte: backslash */
const char kTrailBar[] = "\x81\x7C"; /* trail byte: vertical bar */
const char kIdeoSpace[] = "\x81\x40";

int Refused(const std::string &now, const std::string &accepted, const char *pszSet,
            PFNNAMECHECKLEAD pfn = NameCheckLeadByte932)
{
    return NameCheckFindRefused(now.c_str(), accepted.c_str(), pszSet, pfn);
}

std::string Copy(int n, const std::string &source, int nLimit, int *pnLength = nullptr)
{
    char sz[260];
    memset(sz, 'x', sizeof(sz));
    int nLength = BuildCopyName(kPlainCopy, kNumberedCopy, n, source.c_str(), nLimit, sz, sizeof(sz));
    if (pnLength)
        *pnLength = nLength;
    return sz;
}

} // namespace

TEST(FeedcfgNameCheck, NameFieldInShiftJis)
{
    /* A double-byte character whose trail byte is a backslash or a vertical
     * bar is one character, never refused. */
    for (const char *dbcs : { kSo, kHyou, kTrailBar }) {
        SCOPED_TRACE(dbcs);
        EXPECT_EQ(-1, Refused(std::string("Paint") + dbcs, "Paint", NAMECHECK_NAME_CHARS));
        EXPECT_EQ(-1, Refused(std::string(dbcs) + dbcs + "x", dbcs, NAMECHECK_NAME_CHARS));
    }
    /* The same trail bytes typed on their own are refused where they stand. */
    EXPECT_EQ(6, Refused(std::string("Pa") + kSo + "in\\t", std::string("Pa") + kSo + "int",
                         NAMECHECK_NAME_CHARS));
    EXPECT_EQ(2, Refused(std::string(kSo) + "|", kSo, NAMECHECK_NAME_CHARS));
    /* Every one of the nine characters, typed at the end or in the middle. */
    for (const char *p = NAMECHECK_NAME_CHARS; *p; p++) {
        SCOPED_TRACE(*p);
        EXPECT_EQ(5, Refused(std::string("Paint") + *p, "Paint", NAMECHECK_NAME_CHARS));
        EXPECT_EQ(2, Refused(std::string("Pa") + *p + "int", "Paint", NAMECHECK_NAME_CHARS));
    }
    /* A forbidden character already accepted (an item named by hand) stays. */
    EXPECT_EQ(-1, Refused("a:b c", "a:b", NAMECHECK_NAME_CHARS));
}

TEST(FeedcfgNames, LeadingBlanksIncludeTheIdeographicSpace)
{
    std::string typed = std::string("  ") + kIdeoSpace + " " + kIdeoSpace + "Paint  ";
    EXPECT_STREQ("Paint  ", SkipLeadingBlanks(typed.c_str(), NameCheckLeadByte932));
    /* Only blanks: nothing is left, so the name counts as empty. */
    std::string blanks = std::string(" ") + kIdeoSpace + kIdeoSpace + " ";
    EXPECT_STREQ("", SkipLeadingBlanks(blanks.c_str(), NameCheckLeadByte932));
    /* In a single-byte code page 0x81 0x40 is two ordinary characters. */
    std::string cyr = std::string(" ") + kIdeoSpace + "x";
    EXPECT_EQ(cyr.c_str() + 1, SkipLeadingBlanks(cyr.c_str(), NameCheckNoLeadByte));
    EXPECT_EQ(cyr.c_str() + 1, SkipLeadingBlanks(cyr.c_str(), nullptr));
    /* A lead byte at the very end, or 0x81 with another trail byte, stays. */
    EXPECT_STREQ("\x81", SkipLeadingBlanks(" \x81", NameCheckLeadByte932));
    EXPECT_STREQ("\x81\x41", SkipLeadingBlanks("\x81\x41", NameCheckLeadByte932));
    /* Tabs are no blanks here. */
    EXPECT_STREQ("\tPaint", SkipLeadingBlanks(" \tPaint", NameCheckLeadByte932));
}

TEST(FeedcfgNames, CopySeriesAgainstTheNameLimit)
{
    const std::string source = "Tiltfeed + Paint";   /* 16 characters */
    int nLength = 0;
    EXPECT_EQ("\xCA\xEE\xEF\xE8\xFF Tiltfeed + Paint", Copy(0, source, 200, &nLength));
    EXPECT_EQ(22, nLength);
    for (int n = TILTFEED_COPY_FIRST; n <= TILTFEED_COPY_LAST; n++) {
        SCOPED_TRACE(n);
        std::string want = std::string("\xCA\xEE\xEF\xE8\xFF (") + char('0' + n) + ") " + source;
        EXPECT_EQ(want, Copy(n, source, 200, &nLength));
        EXPECT_EQ(26, nLength);
    }
    /* A length that reaches the limit is refused, one below it is not. */
    EXPECT_EQ(22, (Copy(0, source, 23, &nLength), nLength));
    EXPECT_EQ("", Copy(0, source, 22, &nLength));
    EXPECT_EQ(-1, nLength);
    /* The numbered names are four characters longer: the plain name may fit
     * where the numbered ones no longer do. */
    EXPECT_EQ(22, (Copy(0, source, 24, &nLength), nLength));
    EXPECT_EQ(-1, (Copy(2, source, 24, &nLength), nLength));
    EXPECT_EQ(26, (Copy(9, source, 27, &nLength), nLength));
    /* The limit of a real folder: a source name that leaves no room. */
    int nLimit = TiltfeedNameLimit(strlen("C:\\Documents and Settings\\user\\Start Menu\\Programs\\Zelvar\\Tablet PC"));
    EXPECT_EQ(175, nLimit);
    EXPECT_EQ(-1, (Copy(0, std::string(169, 'a'), nLimit, &nLength), nLength));
    EXPECT_EQ(174, (Copy(0, std::string(168, 'a'), nLimit, &nLength), nLength));
    /* A name that does not fit the buffer at all is refused, not cut. */
    EXPECT_EQ("", Copy(0, std::string(255, 'a'), 1000, &nLength));
    EXPECT_EQ(-1, nLength);
}

TEST(FeedcfgNames, FormatsWithArgumentsInAnyOrder)
{
    char sz[64];
    EXPECT_EQ(16, FormatItemName(kNewItem, 0, "Paint", sz, sizeof(sz)));
    EXPECT_STREQ("Tiltfeed + Paint", sz);
    EXPECT_EQ(7, FormatItemName("%s #%d", 12, "abc", sz, sizeof(sz)));
    EXPECT_STREQ("abc #12", sz);
    EXPECT_EQ(2, FormatItemName("%d", -7, "", sz, sizeof(sz)));
    EXPECT_STREQ("-7", sz);
    EXPECT_EQ(7, FormatItemName("100%% %s", 0, "ab", sz, sizeof(sz)));
    EXPECT_STREQ("100% ab", sz);
    /* A second %s is text, not another argument. */
    EXPECT_EQ(5, FormatItemName("%s-%s", 0, "ab", sz, sizeof(sz)));
    EXPECT_STREQ("ab-%s", sz);
    /* Exactly filling the buffer with its terminator fits; one more does not. */
    EXPECT_EQ(3, FormatItemName("%s", 0, "abc", sz, 4));
    EXPECT_EQ(-1, FormatItemName("%s", 0, "abcd", sz, 4));
    EXPECT_STREQ("", sz);
    EXPECT_EQ(-1, FormatItemName("x", 0, "", sz, 0));
}

TEST(FeedcfgPaths, ShortcutFileNamesAreNeverCut)
{
    char sz[260];
    std::string folder = "C:\\Programs\\Zelvar\\Tablet PC";   /* 28 characters */
    EXPECT_TRUE(BuildShortcutPath(folder.c_str(), "Tiltfeed + Paint", sz, sizeof(sz)));
    EXPECT_STREQ("C:\\Programs\\Zelvar\\Tablet PC\\Tiltfeed + Paint.lnk", sz);
    /* 28 + 1 + 226 + 4 = 259 characters fit with the terminator... */
    EXPECT_TRUE(BuildShortcutPath(folder.c_str(), std::string(226, 'n').c_str(), sz, sizeof(sz)));
    EXPECT_EQ(259u, strlen(sz));
    /* ...one more would have been cut into the name of another file. */
    memset(sz, 'x', sizeof(sz));
    EXPECT_FALSE(BuildShortcutPath(folder.c_str(), std::string(227, 'n').c_str(), sz, sizeof(sz)));
    EXPECT_STREQ("", sz);
    EXPECT_FALSE(BuildShortcutPath(folder.c_str(), "a", sz, 0));

    /* The name limit leaves room for the longest name the page accepts:
     * an edited name just below the limit plus the edit allowance. */
    for (size_t cchFolder : { (size_t)3, (size_t)28, (size_t)100, (size_t)230 }) {
        SCOPED_TRACE(cchFolder);
        int nLimit = TiltfeedNameLimit(cchFolder);
        ASSERT_GT(nLimit, 0);
        std::string longest((size_t)(nLimit + TILTFEED_EDIT_EXTRA - 1), 'n');
        EXPECT_TRUE(BuildShortcutPath(std::string(cchFolder, 'f').c_str(), longest.c_str(), sz, sizeof(sz)));
    }
    EXPECT_EQ(0, TiltfeedNameLimit(242));
    EXPECT_EQ(-1, TiltfeedNameLimit(243));
}

TEST(FeedcfgPaths, TargetFileName)
{
    char sz[260];
    EXPECT_TRUE(SplitTargetFileName("C:\\WINDOWS\\system32\\mspaint.exe", 260, nullptr, sz, sizeof(sz)));
    EXPECT_STREQ("mspaint.exe", sz);
    EXPECT_TRUE(SplitTargetFileName("C:\\", 260, nullptr, sz, sizeof(sz)));
    EXPECT_STREQ("", sz);
    /* No backslash at all (a slash does not count). */
    EXPECT_FALSE(SplitTargetFileName("mspaint.exe", 260, nullptr, sz, sizeof(sz)));
    EXPECT_FALSE(SplitTargetFileName("C:/x/mspaint.exe", 260, nullptr, sz, sizeof(sz)));
    /* A trail byte equal to a backslash is part of the file name. */
    std::string sjis = std::string("C:\\app\\") + kSo + "ft.exe";
    EXPECT_TRUE(SplitTargetFileName(sjis.c_str(), 260, NameCheckLeadByte932, sz, sizeof(sz)));
    EXPECT_EQ(std::string(kSo) + "ft.exe", sz);
    EXPECT_TRUE(SplitTargetFileName(sjis.c_str(), 260, NameCheckNoLeadByte, sz, sizeof(sz)));
    EXPECT_STREQ("ft.exe", sz);
    /* Only the first bytes are scanned. */
    EXPECT_TRUE(SplitTargetFileName("C:\\a\\b", 4, nullptr, sz, sizeof(sz)));
    EXPECT_STREQ("a", sz);
    EXPECT_FALSE(SplitTargetFileName("ab\\c", 2, nullptr, sz, sizeof(sz)));
    /* A file name longer than the buffer is refused. */
    EXPECT_FALSE(SplitTargetFileName("C:\\abcdef", 260, nullptr, sz, 6));
    EXPECT_STREQ("", sz);
}

TEST(FeedcfgPaths, WindowsExplorerIsRecognised)
{
    struct { const char *path; bool explorer; } rows[] = {
        { "C:\\WINDOWS\\explorer.exe", true },
        { "C:\\WINDOWS\\EXPLORER.EXE", true },
        { "explorer.exe", true },
        { "D:explorer.exe", true },
        { "C:/WINDOWS/Explorer.Exe", true },
        { "C:\\x\\explorer2.exe", true },      /* the name begins with "explorer" */
        { "C:\\x\\explorer.exe2", true },      /* the extension begins with ".exe" */
        { "C:\\x\\explore.exe", false },
        { "C:\\x\\explorer", false },
        { "C:\\x\\explorer.ex", false },
        { "C:\\x\\explorer.exe.bak", false },  /* the extension is the last one */
        { "C:\\explorer.exe\\notepad.exe", false },
        { "C:\\WINDOWS\\iexplore.exe", false },
        { "", false },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(row.explorer, IsExplorerPath(row.path, nullptr));
    }
    /* A backslash trail byte does not start a new file name. */
    std::string sjis = std::string("C:\\explorer") + kSo + ".exe";
    EXPECT_TRUE(IsExplorerPath(sjis.c_str(), NameCheckLeadByte932));
    EXPECT_FALSE(IsExplorerPath(sjis.c_str(), NameCheckNoLeadByte));
}
