// Arbitrary bytes through the mapping-pairs decoder; what decodes must survive an encode/decode round trip.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/model/Extent.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace keldrin;
    for (int width : {4, 8}) {
        std::vector<Extent> extents;
        size_t consumed = 0;
        DecodeMappingPairs(data, size, extents, &consumed, width);
        if (consumed > size) std::abort();
        const std::vector<uint8_t> encoded = EncodeMappingPairs(extents);
        std::vector<Extent> again;
        if (!extents.empty() &&
            (!DecodeMappingPairs(encoded.data(), encoded.size(), again) || again != extents))
            std::abort();
    }
    return 0;
}
