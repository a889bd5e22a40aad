#pragma once

// The whole life of the process: identity, command line, log, style, main window, event loop.
// Returns the process exit code.
int runApplication(int argc, char **argv);
