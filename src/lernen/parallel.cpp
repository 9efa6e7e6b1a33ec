#include "lernen/parallel.h"

#include <algorithm>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

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
    std::vector<std::thread> helfer;
    const int zusaetzlich = std::min(threads, n) - 1;
    for (int t = 0; t < zusaetzlich; ++t) {
        try {
            helfer.emplace_back(arbeiter, false);
        } catch (const std::system_error&) {
            break;  // keine Threads mehr zu haben: die übrigen rechnen alles
        }
    }
    arbeiter(true);
    for (std::thread& t : helfer) t.join();
    return !abgebrochen;
}
