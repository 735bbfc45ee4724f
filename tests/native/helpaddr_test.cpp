#include <gtest/gtest.h>
#include "common/helpaddr.h"

#include <string>
#include <vector>

namespace {

const std::string kFile = "C:\\Program Files\\Zelvar\\Tiltkit\\Help\\Tiltfeed.chm";
const std::string kAddress = kFile + "::/tiltfeed.htm";

/* Builds into cch bytes followed by guard bytes, which must stay untouched. */
std::string Build(const char *pszFile, const char *pszTopic, size_t cch, int nWant)
{
    std::vector<char> buffer(cch + 8, '#');
    EXPECT_EQ(nWant, HelpTopicAddress(pszFile, pszTopic, buffer.data(), cch));
    for (size_t i = cch; i < buffer.size(); i++)
        EXPECT_EQ('#', buffer[i]) << "written past the buffer at " << i;
    return cch ? std::string(buffer.data()) : std::string("<untouched>");
}

} // namespace

TEST(HelpTopicAddress, JoinedWhenItFitsRefusedNotCutWhenOneByteIsMissing)
{
    EXPECT_EQ(kAddress, Build(kFile.c_str(), "tiltfeed.htm", kAddress.size() + 1, 1));
    /* Every length short of the whole: inside the file, the separator, the topic. */
    for (size_t cch = 1; cch <= kAddress.size(); cch++) {
        SCOPED_TRACE(cch);
        EXPECT_EQ("", Build(kFile.c_str(), "tiltfeed.htm", cch, 0));
    }
    /* A help file path of 259 characters and its topic need more than 260 bytes. */
    std::string longFile(259, 'a');
    EXPECT_EQ("", Build(longFile.c_str(), "tiltfeed.htm", 260, 0));
    EXPECT_EQ(longFile + "::/tiltfeed.htm", Build(longFile.c_str(), "tiltfeed.htm", 520, 1));
}

TEST(HelpTopicAddress, MissingFileOrTopicGivesNothing)
{
    /* A page whose "HelpFilePath" could not be read holds an empty path. */
    EXPECT_EQ("", Build("", "tiltfeed.htm", 64, 0));
    EXPECT_EQ("", Build(kFile.c_str(), "", 64, 0));
    EXPECT_EQ("", Build(NULL, "tiltfeed.htm", 64, 0));
    EXPECT_EQ("", Build(kFile.c_str(), NULL, 64, 0));
    EXPECT_EQ("<untouched>", Build(kFile.c_str(), "tiltfeed.htm", 0, 0));
    EXPECT_EQ(0, HelpTopicAddress(kFile.c_str(), "tiltfeed.htm", NULL, 64));
}
