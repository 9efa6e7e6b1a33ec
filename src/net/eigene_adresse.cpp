#include "net/eigene_adresse.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

void EigeneIPAdresse(std::string& adresse) {
    char name[256] = {};
    if (gethostname(name, 255) != 0) return;
    addrinfo hinweis{};
    hinweis.ai_family = AF_INET;
    hinweis.ai_socktype = SOCK_STREAM;
    addrinfo* ergebnis = nullptr;
    if (getaddrinfo(name, nullptr, &hinweis, &ergebnis) != 0 || !ergebnis) return;
    char text[INET_ADDRSTRLEN] = {};
    const auto* a = reinterpret_cast<const sockaddr_in*>(ergebnis->ai_addr);
    if (inet_ntop(AF_INET, &a->sin_addr, text, sizeof text)) adresse = text;
    freeaddrinfo(ergebnis);
}
