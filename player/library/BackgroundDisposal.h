#pragma once

#include <memory>
#include <utility>

// Destroys what a new listing replaced (ten thousand rows, tag records and items: tens of
// milliseconds of freeing) on a thread of its own, so that the GUI thread shows the new listing
// without waiting for the old one to go. Only plain data goes this way: nothing that belongs to
// a thread (widgets, timers, QObjects).
class CBackgroundDisposal
{
public:
    template <class T>
    static void Dispose(T&& value)
    {
        DisposeHeld(std::make_shared<std::decay_t<T>>(std::forward<T>(value)));
    }
    // Gives the memory freed by then back to the system (malloc_trim), after what was handed
    // over before is gone.
    static void ReturnFreedMemory();

private:
    static void DisposeHeld(std::shared_ptr<void> held);
};
