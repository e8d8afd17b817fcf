#pragma once

// Removes what a killed operation left in the program's own folders: the temporary
// files of atomic writes (in the per-user data folder and the shared one, with their
// sub-folders) and what a restore staged in "System" (the copy, its journal, an
// older version's super-journal). Nothing else is touched and no other folder is
// searched. Runs at start, before anything is written.
void RemoveLeftOvers();
