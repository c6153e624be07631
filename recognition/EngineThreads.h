#pragma once

// The engine's OpenMP threads are counted once, from the environment the process started with. Left to
// themselves they are ten to a layer and spin against each other on a two-core phone: a card took a
// second instead of a fifth of one. One thread also leaves the other core to the interface.
namespace EngineThreads {

// Starts the program again with OMP_THREAD_LIMIT=1 when it was started without the variable; returns
// when it is set (or the program could not be started again, which only costs time). Call first in main.
void settle(char** argv);

} // namespace EngineThreads
