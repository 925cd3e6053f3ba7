#pragma once

// The peak of memory held while a call runs, from the sanitizer's allocator hooks: what a call
// allocates and frees is counted, what was allocated before it is not.
#include <algorithm>
#include <cstddef>
#include <sanitizer/allocator_interface.h>

namespace kovrant::fuzzing {

struct Allocations {
    static inline bool counting = false;
    static inline std::size_t held = 0;
    static inline std::size_t peak = 0;

    static void install()
    {
        __sanitizer_install_malloc_and_free_hooks(
            [](const volatile void*, std::size_t size) {
                if (counting)
                    peak = std::max(peak, held += size);
            },
            [](const volatile void* p) {
                if (counting)
                    held -= std::min(held, __sanitizer_get_allocated_size(const_cast<void*>(p)));
            });
    }

    // The peak of bytes held while work runs.
    template <typename Work>
    static std::size_t peakOf(Work&& work)
    {
        held = peak = 0;
        counting = true;
        work();
        counting = false;
        return peak;
    }
};

} // namespace kovrant::fuzzing
