#pragma once

#include "harness.h"

// The arcade folder beside this test program, laid out anew for each test, and the arcade
// layer's module state emptied as at process start.
struct ArcadeFolder {
    std::string path = ProgramFolder() + "MorvessaArcade\\";
    TempFolder scratch;
    std::string journal = scratch.File("arcade-journal.txt");

    ArcadeFolder();
    ~ArcadeFolder();

    // A DLL built beside this program: "" for the reference DLL, or a variant's folder
    // under arcade-variants\ such as "without-madll_GetValueAsFloat" or "version2".
    static std::string BuiltDll(const std::string& variant = "");
    void Install(const std::string& builtDll, const std::string& relativeName = "MorvessaArcade.dll") const;
    void Write(const std::string& name, const std::string& bytes) const { WriteFileBytes(path + name, bytes); }
    bool Exists(const std::string& relativeName) const;
    // The reference DLL's test settings; the journal line is added.
    void Settings(const std::string& lines) const { Write("ArcadeTest.txt", lines + "\r\njournal=" + journal + "\r\n"); }
    // The journal's lines that start with the export's name (all lines for "").
    std::vector<std::string> Calls(const std::string& exportName = "") const;
    void ClearJournal() const { DeleteFileA(journal.c_str()); }
};

// The version the loaded arcade DLL reports, or -1 when none is loaded.
int LoadedDllVersion();
