// windows_stdio.cpp - on Windows, the standard streams carry bytes unchanged.
//
// The C run-time opens stdin, stdout and stderr in text mode, which writes
// "\r\n" for every "\n". vantorel-host's output is the exact command texts the
// plug-in sent, one per line, and must be the same bytes on every platform, so
// the streams are switched to binary mode before main runs.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>

namespace {

struct BinaryStandardStreams {
    BinaryStandardStreams() {
        _setmode(_fileno(stdin), _O_BINARY);
        _setmode(_fileno(stdout), _O_BINARY);
        _setmode(_fileno(stderr), _O_BINARY);
    }
};

const BinaryStandardStreams binaryStandardStreams;

}  // namespace
#endif
