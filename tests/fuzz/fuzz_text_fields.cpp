// The free-format field reader and the line reader over any bytes: every read either returns
// or says "Input past end of file", and reading always comes to an end.
#include "common/run_error.h"
#include "common/text_file.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace common;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (int byLine = 0; byLine < 2; ++byLine) {
        TextReader r = TextReader::fromBytes(bytes);
        size_t reads = 0;
        while (!r.atEnd()) {
            if (++reads > size + 1) std::abort(); // every read consumes something
            (void)(byLine ? r.readLine() : r.readField());
        }
        try {
            (void)r.readField();
            std::abort();
        } catch (const RunError& e) {
            if (e.number() != 62) std::abort();
        }
    }
    return 0;
}
