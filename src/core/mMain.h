#pragma once

// The process entry: keeps a second copy from running, then loads the dispatcher
// window, whose load routine starts the program.
int Main(int argc, char** argv);
