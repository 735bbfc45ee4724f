#include <gtest/gtest.h>
#include "setup/provisiopure.h"
#include "setup/nsisgen.h"
#include "common/regpaths.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int NoLeadBytes(unsigned char)
{
    return 0;
}

/* Lead bytes of code page 932: 0x81-0x9F and 0xE0-0xFC. */
int Cp932Lead(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

struct Split {
    int ok;
    std::string root, relative;
};

Split DoSplit(const std::string &path, PFNISLEADBYTE pfn = NoLeadBytes, size_t cbRoot = 260,
              size_t cbRelative = 260)
{
    std::vector<char> root(cbRoot + 1, 'X'), relative(cbRelative + 1, 'Y');
    root[cbRoot] = '#';
    relative[cbRelative] = '#';
    Split s;
    s.ok = ProvisioSplitProgramsPath(path.c_str(), pfn, root.data(), cbRoot, relative.data(),
                                     cbRelative);
    EXPECT_EQ('#', root[cbRoot]) << "guard byte after the root";
    EXPECT_EQ('#', relative[cbRelative]) << "guard byte after the relative part";
    s.root = root.data();
    s.relative = relative.data();
    return s;
}

} // namespace

TEST(ProgramsPath, SplitsIntoProfilesRootAndThePartInsideOneProfile)
{
    struct { int line; const char *path; int ok; const char *root, *relative; } cases[] = {
        { __LINE__, "C:\\Documents and Settings\\user\\Start Menu\\Programs", 1,
          "C:\\Documents and Settings", "Start Menu\\Programs" },
        { __LINE__, "C:\\users\\root\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs", 1,
          "C:\\users", "AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs" },
        /* Russian XP: the profile folder names are in code page 1251, no lead bytes. */
        { __LINE__, "C:\\Documents and Settings\\\xC8\xE2\xE0\xED\\\xC3\xEB\xE0\xE2\xED\xEE\xE5 \xEC\xE5\xED\xFE\\\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB", 1,
          "C:\\Documents and Settings", "\xC3\xEB\xE0\xE2\xED\xEE\xE5 \xEC\xE5\xED\xFE\\\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB" },
        /* Exactly three backslashes: an empty relative part is still a split. */
        { __LINE__, "C:\\a\\b\\", 1, "C:\\a", "" },
        { __LINE__, "C:\\a\\b", 0, "", "" },
        { __LINE__, "C:\\Programs", 0, "", "" },
        { __LINE__, "", 0, "", "" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        Split s = DoSplit(c.path);
        EXPECT_EQ(c.ok, s.ok);
        EXPECT_EQ(c.root, s.root);
        EXPECT_EQ(c.relative, s.relative);
    }
}

TEST(ProgramsPath, SecondByteOfADoubleByteCharacterIsNeverABackslash)
{
    /* "\x95\x5C" is one character of code page 932 whose second byte is 0x5C. */
    const std::string path = "C:\\Docs\x95\\\\user\x83\\\\Start\x95\\Menu\\Programs";
    Split s = DoSplit(path, Cp932Lead);
    ASSERT_EQ(1, s.ok);
    EXPECT_EQ("C:\\Docs\x95\\", s.root);
    EXPECT_EQ("Start\x95\\Menu\\Programs", s.relative);

    /* Read byte by byte, the same path splits elsewhere. */
    Split naive = DoSplit(path, NoLeadBytes);
    ASSERT_EQ(1, naive.ok);
    EXPECT_EQ("C:\\Docs\x95", naive.root);

    /* A lead byte at the very end is a single byte, and reading stops at the terminator. */
    Split tail = DoSplit("C:\\a\x95", Cp932Lead);
    EXPECT_EQ(0, tail.ok);
    /* Only two backslashes left once the pairs are taken as characters. */
    Split pairs = DoSplit("C:\\a\x95\\b\x95\\c", Cp932Lead);
    EXPECT_EQ(0, pairs.ok);
}

TEST(ProgramsPath, PartsThatDoNotFitLeaveBothOutputsEmpty)
{
    const std::string path = "C:\\Documents and Settings\\user\\Start Menu\\Programs";
    /* "C:\Documents and Settings" is 25 characters, "Start Menu\Programs" 19. */
    EXPECT_EQ(1, DoSplit(path, NoLeadBytes, 26, 20).ok);
    Split rootShort = DoSplit(path, NoLeadBytes, 25, 260);
    EXPECT_EQ(0, rootShort.ok);
    EXPECT_EQ("", rootShort.root);
    EXPECT_EQ("", rootShort.relative);
    Split relShort = DoSplit(path, NoLeadBytes, 260, 19);
    EXPECT_EQ(0, relShort.ok);
    EXPECT_EQ("", relShort.root);
    EXPECT_EQ("", relShort.relative);
}

TEST(JoinPath, JoinsWithBackslashesAndRefusesWhatDoesNotFit)
{
    char sz[16];
    const char *two[] = { "C:\\Quadrix", "*.*" };
    ASSERT_EQ(1, ProvisioJoinPath(sz, sizeof(sz), two, 2));
    EXPECT_STREQ("C:\\Quadrix\\*.*", sz);

    const char *four[] = { "C:", "u", "S\\P", "Z\\T" };
    ASSERT_EQ(1, ProvisioJoinPath(sz, sizeof(sz), four, 4));
    EXPECT_STREQ("C:\\u\\S\\P\\Z\\T", sz);

    /* 15 characters fill the 16 bytes exactly; one more is refused, not cut. */
    const char *fits[] = { "C:\\abcdefghij", "k" };
    ASSERT_EQ(1, ProvisioJoinPath(sz, sizeof(sz), fits, 2));
    EXPECT_EQ(15u, strlen(sz));
    const char *over[] = { "C:\\abcdefghij", "kl" };
    memset(sz, 'X', sizeof(sz));
    EXPECT_EQ(0, ProvisioJoinPath(sz, sizeof(sz), over, 2));
    EXPECT_STREQ("", sz);

    /* The 260-byte buffers of the library: a 259-character path is the longest. */
    std::string longName(255, 'n');
    char szPath[260];
    const char *exact[] = { "C:", longName.c_str() + 1 };
    EXPECT_EQ(1, ProvisioJoinPath(szPath, sizeof(szPath), exact, 2));
    EXPECT_EQ(257u, strlen(szPath));
    std::string longer(257, 'n');
    const char *tooLong[] = { "C:", longer.c_str() };
    EXPECT_EQ(0, ProvisioJoinPath(szPath, sizeof(szPath), tooLong, 2));
    EXPECT_EQ(0, ProvisioJoinPath(szPath, 0, tooLong, 2));
}

TEST(QuadrixFolder, MotionFilesInAnyCaseOtherFilesAndFolders)
{
    struct { int line; const char *name; int dir; int kind; } cases[] = {
        { __LINE__, "Lockwatch.exe", 0, PROVISIO_ENTRY_MOTION },
        { __LINE__, "LOCKWATCH.EXE", 0, PROVISIO_ENTRY_MOTION },
        { __LINE__, "quadlock.dll", 0, PROVISIO_ENTRY_MOTION },
        { __LINE__, "QuadLock.Dll", 0, PROVISIO_ENTRY_MOTION },
        { __LINE__, "Quadlock.dll", 1, PROVISIO_ENTRY_OTHER },  /* a folder of that name */
        { __LINE__, "Quadlock.dll.bak", 0, PROVISIO_ENTRY_OTHER },
        { __LINE__, "Quadlock.dl", 0, PROVISIO_ENTRY_OTHER },
        { __LINE__, "Quadmenu.dll", 0, PROVISIO_ENTRY_OTHER },
        { __LINE__, "Lockwatch.ex\xC5", 0, PROVISIO_ENTRY_OTHER },
        { __LINE__, "plugins", 1, PROVISIO_ENTRY_OTHER },
        { __LINE__, ".", 1, PROVISIO_ENTRY_SKIP },
        { __LINE__, "..", 1, PROVISIO_ENTRY_SKIP },
        /* A file of the user's whose name starts with a dot is content to keep. */
        { __LINE__, ".settings", 0, PROVISIO_ENTRY_OTHER },
        { __LINE__, "...", 1, PROVISIO_ENTRY_OTHER },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.kind, ProvisioQuadrixEntry(c.name, c.dir));
    }
    EXPECT_EQ(1, ProvisioIsHiddenEntry(".lnk"));
    EXPECT_EQ(0, ProvisioIsHiddenEntry("a.lnk"));
}

TEST(NsisInclude, QuotesTextsAndPutsInTheInstallersFolders)
{
    char sz[128];
    struct { int line; const char *text, *quoted; } cases[] = {
        { __LINE__, "%INSTALLDIR%\\Gravmon.dll", "$INSTDIR\\Gravmon.dll" },
        { __LINE__, "%WINDIR%\\Media\\ding.wav", "$WINDIR\\Media\\ding.wav" },
        { __LINE__, "100$ \"big\"", "100$$ $\\\"big$\\\"" },
        { __LINE__, "a\r\nb\tc", "a$\\r$\\nb$\\tc" },
        { __LINE__, "$INSTDIR", "$$INSTDIR" },
        { __LINE__, "%INSTALLDIR", "%INSTALLDIR" },
        { __LINE__, "\xD0\x9D\xD0\xB0\xD0\xBA\xD0\xBB\xD0\xBE\xD0\xBD", "\xD0\x9D\xD0\xB0\xD0\xBA\xD0\xBB\xD0\xBE\xD0\xBD" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line);
        ASSERT_EQ(1, NsisQuoteDefault(c.text, sz, sizeof(sz)));
        EXPECT_STREQ(c.quoted, sz);
    }
    /* "$$" needs two bytes: a five-byte buffer takes "$$$$" but not "$$$$$$". */
    EXPECT_EQ(1, NsisQuoteDefault("$$", sz, 5));
    EXPECT_EQ(0, NsisQuoteDefault("$$$", sz, 5));
    EXPECT_STREQ("", sz);
}

TEST(NsisInclude, OneCommandPerValueType)
{
    char sz[512];
    TKDEFAULTVALUE text = { "Tiltfeed", "FeedrunPath", TKDEF_SZ, "%INSTALLDIR%\\Feedrun.exe" };
    ASSERT_EQ(1, NsisDefaultLine(&text, sz, sizeof(sz)));
    EXPECT_STREQ("WriteRegStr HKLM \"SOFTWARE\\Zelvar\\Tiltkit\\Tiltfeed\" \"FeedrunPath\" "
                 "\"$INSTDIR\\Feedrun.exe\"", sz);

    TKDEFAULTVALUE number = { "Jolt", "IdleTime", TKDEF_DWORD, "4294967295" };
    ASSERT_EQ(1, NsisDefaultLine(&number, sz, sizeof(sz)));
    EXPECT_STREQ("WriteRegDWORD HKLM \"SOFTWARE\\Zelvar\\Tiltkit\\Jolt\" \"IdleTime\" 0xFFFFFFFF", sz);

    TKDEFAULTVALUE bytes = { "Jolt", "JoltSetting", TKDEF_BINARY, "01 ab  FF00" };
    ASSERT_EQ(1, NsisDefaultLine(&bytes, sz, sizeof(sz)));
    EXPECT_STREQ("WriteRegBin HKLM \"SOFTWARE\\Zelvar\\Tiltkit\\Jolt\" \"JoltSetting\" 01ABFF00", sz);

    /* Values that do not decode and unknown types give no line at all. */
    TKDEFAULTVALUE bad[] = {
        { "Jolt", "IdleTime", TKDEF_DWORD, "12x" },
        { "Jolt", "IdleTime", TKDEF_DWORD, "4294967296" },
        { "Jolt", "JoltSetting", TKDEF_BINARY, "0" },
        { "Jolt", "Other", 7, "1" },
    };
    for (const auto &b : bad) {
        SCOPED_TRACE(b.pszData);
        snprintf(sz, sizeof(sz), "untouched?");
        EXPECT_EQ(0, NsisDefaultLine(&b, sz, sizeof(sz)));
        EXPECT_STREQ("", sz);
    }
    /* A line longer than the buffer is refused, never cut. */
    EXPECT_EQ(0, NsisDefaultLine(&text, sz, 40));
    EXPECT_STREQ("", sz);
}

TEST(NsisInclude, EveryValueOfTheTableBecomesALine)
{
    char sz[NSISGEN_LINE_MAX];
    for (size_t i = 0; i < TKDEF_COUNT; i++) {
        SCOPED_TRACE(g_aTiltkitDefaults[i].pszName);
        EXPECT_EQ(1, NsisDefaultLine(&g_aTiltkitDefaults[i], sz, sizeof(sz)));
        EXPECT_EQ(nullptr, strstr(sz, "%INSTALLDIR%"));
        EXPECT_EQ(nullptr, strstr(sz, "%WINDIR%"));
    }
}

TEST(NsisInclude, InstallFolderRoomKeepsEveryPathWithin259Characters)
{
    TKDEFAULTVALUE values[] = {
        { "Gravmon", "PATH", TKDEF_SZ, "%INSTALLDIR%\\Gravmon.dll" },          /* 12 after the folder */
        { "Tiltfeed", "HelpFilePath", TKDEF_SZ, "%INSTALLDIR%\\Help\\x.chm" },  /* 11 */
        { "Jolt", "VerticalSoundPath", TKDEF_SZ, "%WINDIR%\\Media\\a-very-long-sound-name.wav" },
        { "Jolt", "IdleTime", TKDEF_DWORD, "1000" },
    };
    EXPECT_EQ(259u - 12u, NsisInstallDirRoom(values, 4));
    EXPECT_EQ(259u, NsisInstallDirRoom(values + 2, 2));
    /* A Russian name counts its characters, not its UTF-8 bytes. */
    TKDEFAULTVALUE russian[] = {
        { "Property\\0010", "DLLFileName", TKDEF_SZ, "%INSTALLDIR%\\\xD0\x9D\xD0\xB0.dll" },
    };
    EXPECT_EQ(259u - 7u, NsisInstallDirRoom(russian, 1));

    /* The real table: the folder plus its longest suffix is exactly 259. */
    size_t room = NsisInstallDirRoom(g_aTiltkitDefaults, TKDEF_COUNT);
    ASSERT_GT(room, 100u);
    std::string folder(room, 'f');
    char szOut[TILTKIT_TEXT_MAX];
    size_t longest = 0;
    for (size_t i = 0; i < TKDEF_COUNT; i++) {
        const TKDEFAULTVALUE &d = g_aTiltkitDefaults[i];
        if (d.nType != TKDEF_SZ || !strstr(d.pszData, TKDEF_INSTALLDIR))
            continue;
        ASSERT_EQ(1, TkExpandDefault(d.pszData, folder.c_str(), "C:\\W", szOut, sizeof(szOut)))
            << d.pszName;
        longest = std::max(longest, strlen(szOut));
    }
    EXPECT_EQ(259u, longest);
}

TEST(NsisInclude, PageEntriesAreFoundByTheirLibrary)
{
    TKDEFAULTVALUE values[] = {
        { "Property\\0010", "Name", TKDEF_SZ, "A" },
        { "Property\\0010", "DLLFileName", TKDEF_SZ, "%INSTALLDIR%\\A.dll" },
        { "Property\\0020", "Name", TKDEF_SZ, "B" },
        { "Jolt", "DLLFileName", TKDEF_SZ, "x" },
    };
    EXPECT_EQ(1, NsisPluginLibraryIndex(values, 4, "Property\\0010"));
    EXPECT_EQ(-1, NsisPluginLibraryIndex(values, 4, "Property\\0020"));
    EXPECT_EQ(-1, NsisPluginLibraryIndex(values, 4, "Jolt"));
    EXPECT_EQ(-1, NsisPluginLibraryIndex(values, 4, "Property"));
}
