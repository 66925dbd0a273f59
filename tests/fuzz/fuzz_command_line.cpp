// Command lines and module paths come from outside: the debug-word search and the
// folder cut must stay within their buffers for any bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "services/paths.h"
#include "services/trace_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    CommandLineWantsDebug(text.c_str());
    char folder[260];
    DirectoryOfPath(text.c_str(), folder, size % sizeof folder);
    char joined[260];
    JoinPath(text.c_str(), "sysstats.dat", joined, sizeof joined);
    char line[256];
    FormatTraceLine(int(size % 9), text.c_str(), text.c_str(), line, sizeof line);
    return 0;
}
