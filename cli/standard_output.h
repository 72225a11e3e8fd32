// standard_output.h - vantorel-host's standard output is its product (the
// Layout commands the plug-in sent): every write to it is checked, and it is
// flushed and closed before the program exits, so that a full disk, a closed
// stream or a reader that went away is reported instead of passing as success.
#ifndef VANTOREL_CLI_STANDARD_OUTPUT_H
#define VANTOREL_CLI_STANDARD_OUTPUT_H

#include "diagnostics.h"

namespace vhost {

// Call first thing in main. A broken pipe becomes an error on the write
// (EPIPE) instead of a signal that kills the program. A standard stream that
// was closed when the program started gets a stand-in that fails every write,
// so that no file opened later takes its number and receives the commands.
void prepareStandardStreams();

// Call after each write to std::cout: remembers the system's reason of the
// first failed write.
void noteStandardOutput();

// Call last: flushes and closes standard output. Returns false, with an error
// on err naming the reason, if anything written to it may have been lost.
bool finishStandardOutput(Diagnostics &err);

}  // namespace vhost

#endif
