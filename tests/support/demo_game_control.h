#pragma once
#include <string>
#include <vector>

// Steers the demo game through the variables it inherits, and reads its journal.
void SetDemoGameBehaviour(const std::string& behaviour, const std::string& journalPath);

struct JournalLine {
    unsigned ms;
    std::string event;  // "start", "window", "msg", "exit"
    std::string rest;
};
std::vector<JournalLine> ReadJournal(const std::string& path);

// Names of the messages the game received, in order, keeping only those in `only`.
std::vector<std::string> JournalMessages(const std::string& path, const std::vector<std::string>& only);

// The folder this test program lies in, with a trailing backslash.
std::string ProgramFolder();
