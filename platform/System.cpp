#include <atomic>

#include "platform/System.h"

namespace roster {

namespace {

// Made before the program starts, so that a signal handler finds it.
System real;
std::atomic<System*> current{&real};

}  // namespace

System& os() {
    return *current.load();
}

void useSystem(System* system) {
    current = system != nullptr ? system : &real;
}

}  // namespace roster
