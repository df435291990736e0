#pragma once
#include <cstddef>
#include <cstdint>

// The kit's own line in the settings file, naming the game's publisher; the shell reads it only
// to name itself to Windows, never for what the player or the arcade layer sees.
const char PUBLISHER_KEY[] = "Publisher=";

// Windows takes at most this many characters in an AppUserModelID.
const size_t APP_USER_MODEL_ID_LIMIT = 128;

// The one AppUserModelID of a product, "Company.GameNNN": the publisher's ASCII letters and digits
// in Pascal case (every other byte separates words; "Publisher" when none is left), shortened so
// that the whole fits in the limit, then the application ID in decimal. The publisher runs to
// its first CR, LF or NUL. out must hold APP_USER_MODEL_ID_LIMIT + 1 bytes; returns the length.
size_t MakeAppUserModelId(char (&out)[APP_USER_MODEL_ID_LIMIT + 1], const char* publisher, uint32_t applicationId);

// The publisher the ID is made from: the settings' Publisher= line, or without one the game's
// file name when it is missing or empty, as the kit's installer names the publisher by default.
const char* PublisherForId(const char* settingsText, const char* gameName);
