// Programme als Kindprozesse für die Ende-zu-Ende-Tests: starten, Ausgabe
// mitlesen (ein Thread leert die Pipe, damit das Kind nie blockiert), warten.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

struct Kind {
    pid_t pid = -1;
    std::thread leser;
    std::mutex mutex;
    std::condition_variable neu;
    std::string ausgabe;
    bool ende = false;

    explicit Kind(const std::vector<std::string>& argumente) {
        int rohr[2];
        if (::pipe2(rohr, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t aktionen;
        posix_spawn_file_actions_init(&aktionen);
        posix_spawn_file_actions_adddup2(&aktionen, rohr[1], 1);
        std::vector<char*> argv;
        for (const std::string& a : argumente) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (posix_spawn(&pid, argv[0], &aktionen, nullptr, argv.data(), environ) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&aktionen);
        ::close(rohr[1]);
        const int fd = rohr[0];
        leser = std::thread([this, fd] {
            char puffer[4096];
            for (;;) {
                ssize_t n = ::read(fd, puffer, sizeof puffer);
                std::lock_guard sperre(mutex);
                if (n <= 0) {
                    ende = true;
                    neu.notify_all();
                    break;
                }
                ausgabe.append(puffer, static_cast<std::size_t>(n));
                neu.notify_all();
            }
            ::close(fd);
        });
    }
    ~Kind() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            Warte();
        }
        if (leser.joinable()) leser.join();
    }
    // Wartet, bis die Ausgabe text enthält; false nach der Zeitgrenze oder am Ende der Ausgabe.
    bool WarteAufAusgabe(const std::string& text, std::chrono::milliseconds grenze = std::chrono::seconds(20)) {
        std::unique_lock sperre(mutex);
        return neu.wait_for(sperre, grenze, [&] { return ausgabe.find(text) != std::string::npos || ende; }) &&
               ausgabe.find(text) != std::string::npos;
    }
    // Rückgabewert des Kindes, -1 bei Abbruch durch ein Signal.
    int Warte() {
        int status = 0;
        if (pid <= 0 || ::waitpid(pid, &status, 0) != pid) return -1;
        pid = -1;
        if (leser.joinable()) leser.join();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

struct Ergebnis {
    int rueckgabe;
    std::string ausgabe;
};

inline Ergebnis Fuehreaus(const std::vector<std::string>& argumente) {
    Kind k(argumente);
    const int r = k.Warte();
    return {r, k.ausgabe};
}
