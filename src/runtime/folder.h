// The program's folder: where the preferences, the language files, "Tavix.ini" and
// the help document live, and the working directory of the running program.
#pragma once

#include <string>

namespace rt {

// Choose the program's folder and make it the working directory:
// - appDir when it is given (tests, "tavix-cli --app-dir");
// - else the folder of the executable when it holds "localORM.ini" and is writable
//   (the build tree, a portable installation);
// - else the per-user folder (~/.local/share/Tavix), seeded at its first use with copies
//   of the shipped files found beside the executable or in the shared data folder; its
//   language files and help document are replaced where the shipped ones are newer (the
//   preferences, the profiles file and the state files stay the user's).
// Returns the folder, or "" when none could be made.
std::string ChooseProgramFolder(const char *appDir);

// A shipped file the user edits (the profiles file) copied into the program's folder (the
// working directory's, as ChooseProgramFolder set it) when the folder lacks it, from beside the
// executable or the shared data folder; an existing copy is never replaced. True when the
// folder holds the file afterwards.
bool SeedShippedFile(const char *name);
// The folder the windowed program chooses when no folder is given (the executable's folder
// when it holds "localORM.ini" and is writable, else the per-user folder), without making,
// seeding or entering it: where tavix-cli finds the archive the window keeps.
std::string UserProgramFolder();

}   // namespace rt
