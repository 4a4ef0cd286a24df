// Keeping the first pass's bytes beside the loader, which must never notice:
// a failure to keep only means that nothing is kept.
#include "tools/script_io/kept_source.h"

#include <new>

namespace murmex::tool {

bool KeptSource::startPass() noexcept {
    // The loader may go on to its filling pass without ending the first.
    if (passes == 1) {
        complete = keeping && sawEnd;
    }
    ++passes;
    return inner.startPass();
}

void KeptSource::keep(const uint8_t* from, size_t count) noexcept {
    if (!keeping || passes != 1) {
        return;
    }
    if (count > limit - bytes.size()) {
        keeping = false;
    } else {
        try {
            bytes.append(reinterpret_cast<const char*>(from), count);
        } catch (const std::bad_alloc&) {
            keeping = false;
        }
    }
    if (!keeping) {
        std::string().swap(bytes);
    }
}

size_t KeptSource::read(uint8_t* into, size_t capacity) noexcept {
    const size_t got = inner.read(into, capacity);
    keep(into, got < capacity ? got : capacity);
    if (passes == 1 && got == 0 && !inner.failed()) {
        sawEnd = true;
    }
    return got;
}

void KeptSource::endPass() noexcept {
    if (passes == 1 && keeping) {
        uint8_t rest[16 * 1024];
        while (keeping && !sawEnd && !inner.failed()) {
            read(rest, sizeof rest);
        }
        complete = keeping && sawEnd;
    }
    inner.endPass();
}

std::string KeptSource::take() {
    if (!complete) {
        return "";
    }
    complete = false;
    return std::move(bytes);
}

} // namespace murmex::tool
