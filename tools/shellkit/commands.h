#pragma once

// The kit's three commands, each given the words after its name. Exit codes: 0 done; 1 the
// folder has errors (or, for new and installer, nothing was made); 2 the command could not run.
int RunNew(int argc, char** argv);
int RunCheck(int argc, char** argv);
int RunInstaller(int argc, char** argv);
// Checks an arcade DLL by running it; Windows builds only.
int RunArcade(int argc, char** argv);
