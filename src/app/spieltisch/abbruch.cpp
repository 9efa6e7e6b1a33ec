#include "abbruch.h"

#include <csignal>

std::atomic<int> gAbbruch{0};
static_assert(std::atomic<int>::is_always_lock_free, "der Handler darf nur sperrfrei schreiben");

namespace {

void Merke(int signal) { gAbbruch.store(signal); }

}  // namespace

void FangeAbbruchAb() {
    struct sigaction a {};
    a.sa_handler = Merke;
    sigemptyset(&a.sa_mask);
    a.sa_flags = SA_RESTART;
    sigaction(SIGINT, &a, nullptr);
    sigaction(SIGTERM, &a, nullptr);
}

const char* Signalname(int signal) { return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "Signal"; }
