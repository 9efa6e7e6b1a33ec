#include "model/arbeite_parallel.h"

#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

bool ArbeiteParallel(int threads, const std::function<void()>& arbeit, std::string& fehler) {
    std::mutex sperre;
    bool gut = true;
    auto sicher = [&] {
        try {
            arbeit();
        } catch (const std::exception& e) {
            std::lock_guard halt(sperre);
            if (gut) fehler = e.what();
            gut = false;
        }
    };
    std::vector<std::thread> helfer;
    for (int t = 1; t < threads; ++t) {
        try {
            helfer.emplace_back(sicher);
        } catch (const std::system_error&) {
            break;  // keine Threads mehr zu haben: die übrigen rechnen alles
        }
    }
    sicher();
    for (std::thread& t : helfer) t.join();
    return gut;
}
