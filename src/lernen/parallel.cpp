#include "lernen/parallel.h"

#include "model/arbeite_parallel.h"

#include <algorithm>
#include <memory>
#include <string>
#include <thread>

int Kerne() {
    const unsigned n = std::thread::hardware_concurrency();
    return n > 0 ? static_cast<int>(n) : 1;
}

bool Parallel(int n, int threads, const std::atomic<bool>* abbrechen,
              const std::function<void(int, Simergebnis&)>& arbeit, const std::function<void(int)>& fortschritt,
              std::chrono::steady_clock::time_point frist) {
    const bool mitFrist = frist != std::chrono::steady_clock::time_point::max();
    std::atomic<int> naechster{0}, erledigt{0};
    std::atomic<bool> abgebrochen{false};
    auto arbeiter = [&](bool rufender) {
        // Ein Simergebnis ist gut 10 kB: eines je Thread, nicht je Auftrag.
        const auto ergebnis = std::make_unique<Simergebnis>();
        for (;;) {
            if ((abbrechen && abbrechen->load(std::memory_order_relaxed)) ||
                (mitFrist && std::chrono::steady_clock::now() >= frist)) {
                abgebrochen = true;
                return;
            }
            const int i = naechster.fetch_add(1, std::memory_order_relaxed);
            if (i >= n) return;
            arbeit(i, *ergebnis);
            const int fertig = erledigt.fetch_add(1, std::memory_order_relaxed) + 1;
            if (rufender && fortschritt) fortschritt(fertig);
        }
    };
    const std::thread::id rufer = std::this_thread::get_id();
    std::string fehler;
    const bool gut = ArbeiteParallel(std::min(threads, n), [&] { arbeiter(std::this_thread::get_id() == rufer); }, fehler);
    return gut && !abgebrochen;
}
