#pragma once

// The whole life of the process: identity, command line, log, style, main window, event loop.
// Returns the process exit code.
int runApplication(int argc, char **argv);

// Pictures of pages are large and come and go with every render. The C library would keep
// freed ones in the heap of the thread that made them, and raise its limits as they pass, so
// a long show's memory swings by tens of megabytes; each in a mapping of its own, a freed
// picture goes back to the system at once.
void keepPicturesOutOfTheHeap();
