#include "host/app_user_model_id.h"

#include <cstdio>
#include <cstring>

static bool IsIdCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

size_t MakeAppUserModelId(char (&out)[APP_USER_MODEL_ID_LIMIT + 1], const char* publisher, uint32_t applicationId)
{
    char product[16];
    const int productLength = std::snprintf(product, sizeof(product), ".Game%lu", static_cast<unsigned long>(applicationId));
    const size_t companyRoom = APP_USER_MODEL_ID_LIMIT - static_cast<size_t>(productLength);
    size_t length = 0;
    bool wordStart = true;
    for (const char* c = publisher; *c != '\0' && *c != '\r' && *c != '\n' && length < companyRoom; ++c) {
        if (!IsIdCharacter(*c)) {
            wordStart = true;
            continue;
        }
        out[length++] = wordStart && *c >= 'a' && *c <= 'z' ? static_cast<char>(*c - 'a' + 'A') : *c;
        wordStart = false;
    }
    if (length == 0) {
        std::strcpy(out, "Publisher");
        length = std::strlen(out);
    }
    std::memcpy(out + length, product, static_cast<size_t>(productLength) + 1);
    return length + static_cast<size_t>(productLength);
}

const char* PublisherForId(const char* settingsText, const char* gameName)
{
    const char* line = std::strstr(settingsText, PUBLISHER_KEY);
    if (line == nullptr)
        return gameName;
    const char* value = line + sizeof(PUBLISHER_KEY) - 1;
    return *value == '\0' || *value == '\r' || *value == '\n' ? gameName : value;
}
