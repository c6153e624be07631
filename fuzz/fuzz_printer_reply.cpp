// What the printer sends back: its acknowledgement or card-swipe data.
#include "printing/WSParser.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    WSParser parser;
    const int kind = parser.decode(bytes);
    if (kind < 0 || kind > 2)
        std::abort();
    // Tracks are stored only at their fixed lengths.
    if ((parser.track1() && parser.track1()->size() != 76) ||
        (parser.track2() && parser.track2()->size() != 37) ||
        (parser.track3() && parser.track3()->size() != 104))
        std::abort();
    return 0;
}
