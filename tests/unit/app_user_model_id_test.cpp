#include <gtest/gtest.h>

#include <string>

#include "host/app_user_model_id.h"

static std::string Id(const char* publisher, uint32_t applicationId)
{
    char out[APP_USER_MODEL_ID_LIMIT + 1];
    const size_t length = MakeAppUserModelId(out, publisher, applicationId);
    EXPECT_EQ(length, std::string(out).size());
    return out;
}

TEST(AppUserModelId, PascalCasesThePublishersAsciiWordsFitsInTheLimitAndEndsWithTheApplicationId)
{
    EXPECT_EQ(Id("Morvessa Demo", 1001), "MorvessaDemo.Game1001");
    EXPECT_EQ(Id("acme games, inc.", 7), "AcmeGamesInc.Game7");
    EXPECT_EQ(Id("Caf\xE9 Noir 3d", 0), "CafNoir3d.Game0") << "bytes outside ASCII part words";
    EXPECT_EQ(Id("Acme\r\nApplication ID=5\r\n", 5), "Acme.Game5") << "the publisher ends with its line";
    EXPECT_EQ(Id("\xC0\xC1 ...", 12), "Publisher.Game12");
    EXPECT_EQ(Id("", 12), "Publisher.Game12");

    // A long publisher is cut to what leaves room for the application ID, whatever its length.
    const std::string longest = Id(std::string(200, 'a').c_str(), 4294967295u);
    EXPECT_EQ(longest.size(), APP_USER_MODEL_ID_LIMIT);
    EXPECT_EQ(longest, "A" + std::string(112, 'a') + ".Game4294967295");
    EXPECT_EQ(Id(std::string(200, 'a').c_str(), 1), "A" + std::string(121, 'a') + ".Game1");
}

TEST(AppUserModelId, ThePublisherIsTheSettingsLineOrWithoutAValueTheGamesFileName)
{
    const char* name = "Target Practice";
    EXPECT_EQ(std::string(PublisherForId("Application Name=X\r\nPublisher=Acme\r\n", name)), "Acme\r\n");
    EXPECT_EQ(PublisherForId("Application Name=X\r\n", name), name);
    EXPECT_EQ(PublisherForId("Publisher=\r\nApplication Name=X\r\n", name), name);
    EXPECT_EQ(PublisherForId("Application Name=X\r\nPublisher=", name), name);
    EXPECT_EQ(Id(PublisherForId("Publisher=\r\n", name), 1001), "TargetPractice.Game1001");
}
