#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "model/arbeite_parallel.h"

// Eine geworfene Ausnahme in einem Arbeiter beendete früher den Prozess
// (std::terminate); jetzt endet nur dieser Arbeiter, die übrigen holen sich
// die restlichen Aufträge.
TEST(ArbeiteParallel, AusnahmeBeendetNurIhrenArbeiter) {
    for (int threads : {1, 3}) {
        SCOPED_TRACE(threads);
        std::atomic<int> naechster{0}, erledigt{0};
        std::atomic<bool> geworfen{false};
        std::string fehler;
        const bool gut = ArbeiteParallel(threads, [&] {
            for (int i; (i = naechster++) < 100;) {
                if (i == 7 && threads > 1 && !geworfen.exchange(true)) throw std::runtime_error("kein Speicher");
                ++erledigt;
            }
        }, fehler);
        EXPECT_EQ(gut, threads == 1);
        EXPECT_EQ(fehler, threads == 1 ? "" : "kein Speicher");
        EXPECT_EQ(erledigt, threads == 1 ? 100 : 99);
    }
}
