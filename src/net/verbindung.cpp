#include "net/verbindung.h"

#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "anzeige/anzeige.h"
#include "net/server.h"

namespace {

int Ms(std::chrono::milliseconds m) { return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(m.count(), 0, INT_MAX)); }

Uhr::time_point Nach(Uhr::time_point t, std::chrono::milliseconds frist) {
    return frist.count() == 0 ? Uhr::time_point::max() : t + frist;
}

}  // namespace

Empfang Empfange(const Anzeige& a, Verbindung& v, Uhr::time_point jetzt) {
    char puffer[32768];
    const ssize_t n = ::recv(v.fd, puffer, sizeof puffer - 1, MSG_DONTWAIT);
    if (n < 0) {
        if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) return Empfang::Offen;
        // Ein Reset oder sonst ein Fehler betrifft nur diese eine Verbindung.
        SchreibeLog(a, "SOCKET_ERROR! (Errorcode: %d) Verbindung getrennt, der Server wartet weiter...\r\n", errno);
        return Empfang::Fehler;
    }
    if (n == 0) {
        SchreibeLog(a, "Verbindung anständig geschlossen...\r\n");
        return Empfang::Geschlossen;
    }
    // Wie Text: ein Stück zählt bis zu seinem ersten Nullbyte.
    const std::size_t stueck = ::strnlen(puffer, static_cast<std::size_t>(n));
    if (!v.zuLang && v.dokument.size() + stueck <= kMaxDokument)
        v.dokument.append(puffer, stueck);
    else
        v.zuLang = true;  // weiterlesen bis zum Schließen, aber nichts mehr speichern
    v.letzteDaten = jetzt;
    SchreibeLog(a, "Empfange Daten... (%d Bytes)\r\n", static_cast<int>(n));
    return Empfang::Offen;
}

Empfang PruefeFristen(const Anzeige& a, const Verbindung& v, const Fristen& f, Uhr::time_point jetzt, bool bereit) {
    // Auch ein ununterbrochener Strom endet an der Gesamtzeit.
    if (jetzt >= Nach(v.angenommen, f.gesamtzeit)) {
        SchreibeLog(a, "Dokument nicht in %d ms vollständig, Verbindung getrennt.\r\n", Ms(f.gesamtzeit));
        return Empfang::ZuLangsam;
    }
    if (!bereit && jetzt >= Nach(v.letzteDaten, f.wartezeit)) {
        SchreibeLog(a, "Keine Daten seit %d ms, Verbindung getrennt.\r\n", Ms(f.wartezeit));
        return Empfang::Still;
    }
    return Empfang::Offen;
}

Uhr::time_point NaechsteFrist(const Verbindung& v, const Fristen& f) {
    return std::min(Nach(v.angenommen, f.gesamtzeit), Nach(v.letzteDaten, f.wartezeit));
}
