#pragma once

#include <functional>
#include <memory>
#include <vector>

// Frees what a new listing replaced (ten thousand rows, tag records and items: tens of
// milliseconds of freeing) a slice at a time once the GUI thread is idle, so that the new
// listing shows without waiting for the old one to go and no event waits long. On the GUI
// thread itself: freeing on another thread would contend with the new listing's allocations
// for the same heap.
class CDeferredDisposal
{
public:
    template <class T>
    static void Dispose(std::vector<T> items)
    {
        auto held = std::make_shared<std::vector<T>>(std::move(items));
        Add([held] {
            held->pop_back();
            return held->empty();
        }, held->empty());
    }
    // Gives the memory freed by then back to the system (malloc_trim), after what was handed
    // over before is gone.
    static void ReturnFreedMemory();

private:
    // `step` frees one element and tells whether it was the last; `done` when there is none.
    static void Add(std::function<bool()> step, bool done);
};
