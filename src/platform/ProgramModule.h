#pragma once

// Modules of the program that bring large libraries with them (the sound system, the
// network library) and are opened only when first needed, so that a start does not
// load them: from the build tree's lib/tessaryn beside the program, or the install's
// lib/tessaryn beside bin/.

// The module's handle, or null when it cannot be opened (the reason is written to
// standard error).
void* OpenProgramModule(const char* fileName);
