#pragma once

#include <functional>

namespace tarvex {
class Progress;
}

namespace tarvex::linalg {

/**
 * Runs `work` where the caller can walk away from it: on a worker thread, while the calling thread
 * asks progress->goOn() every few tens of milliseconds (so that the GUI handles its events and
 * its "Interrompe" button in the meantime); it is asked once before the work starts. True when the
 * work has finished; false when goOn() said no, in which case the work goes on to its end
 * unobserved and its result is dropped, so it must own (through shared pointers) everything it
 * touches. Without a progress object the work simply runs on the calling thread.
 *
 * Work still running when the program ends is waited for, so that it never outlives what it uses.
 */
bool runAbandonable(std::function<void()> work, Progress* progress);

} // namespace tarvex::linalg
