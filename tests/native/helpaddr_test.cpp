#include <gtest/gtest.h>
#include "common/helpaddr.h"

#include <string>
#include <vector>

namespace {

const char kFile[] = "C:\\Program Files\\Zelvar\\Tiltkit\\Help\\Tiltfeed.chm";
const char kTopic[] = "tiltfeed.htm";
const std::string kAddress = std::string(kFile) + "::/" + kTopic;

/* Builds into a buffer of cch bytes followed by guard bytes; returns the
 * result and the text, and checks that nothing was written past the buffer. */
int Build(const char *pszFile, const char *pszTopic, size_t cch, std::string *pText)
{
    std::vector<char> buffer(cch + 8, '#');
    int nResult = HelpTopicAddress(pszFile, pszTopic, buffer.data(), cch);
    for (size_t i = cch; i < buffer.size(); i++)
        EXPECT_EQ('#', buffer[i]) << "written past the buffer at " << i;
    *pText = cch ? std::string(buffer.data()) : std::string("<untouched>");
    return nResult;
}

} // namespace

TEST(HelpTopicAddress, FileAndTopicJoinedWhenTheyFitExactly)
{
    std::string text;
    EXPECT_EQ(1, Build(kFile, kTopic, kAddress.size() + 1, &text));
    EXPECT_EQ(kAddress, text);
    EXPECT_EQ(1, Build(kFile, kTopic, 520, &text));
    EXPECT_EQ(kAddress, text);
}

TEST(HelpTopicAddress, AnAddressOneByteTooLongIsRefusedNotCut)
{
    std::string text;
    /* Every length short of the whole: inside the file, the separator, the topic. */
    for (size_t cch = 1; cch <= kAddress.size(); cch++) {
        SCOPED_TRACE(cch);
        EXPECT_EQ(0, Build(kFile, kTopic, cch, &text));
        EXPECT_EQ("", text);
    }
    /* A help file path of 259 characters with a topic needs more than 260 bytes. */
    std::string longFile(259, 'a');
    EXPECT_EQ(0, Build(longFile.c_str(), kTopic, 260, &text));
    EXPECT_EQ(1, Build(longFile.c_str(), kTopic, 520, &text));
    EXPECT_EQ(longFile + "::/" + kTopic, text);
}

TEST(HelpTopicAddress, MissingFileOrTopicGivesNothing)
{
    std::string text;
    /* A page whose "HelpFilePath" could not be read holds an empty path. */
    EXPECT_EQ(0, Build("", kTopic, 64, &text));
    EXPECT_EQ("", text);
    EXPECT_EQ(0, Build(kFile, "", 64, &text));
    EXPECT_EQ("", text);
    EXPECT_EQ(0, Build(NULL, kTopic, 64, &text));
    EXPECT_EQ(0, Build(kFile, NULL, 64, &text));
    EXPECT_EQ(0, Build(kFile, kTopic, 0, &text));
    EXPECT_EQ(0, HelpTopicAddress(kFile, kTopic, NULL, 64));
}
