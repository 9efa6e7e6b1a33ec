#include "sim/beobachtung.h"

#include "model/datei_schreiben.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cfloat>
#include <cmath>
#include <deque>
#include <fstream>
#include <memory>

#include <nlohmann/json.hpp>

namespace {

using nlohmann::json;

void Zahl(std::string& aus, float x) {
    char puffer[32];
    const auto [ende, fehler] = std::to_chars(puffer, puffer + sizeof puffer, x);
    aus.append(puffer, fehler == std::errc{} ? ende : puffer);
}

void Kugeln(std::string& aus, const Spielstand& s) {
    aus += '[';
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        const Kugel& k = s.kugeln[i];
        if (i) aus += ',';
        aus += '[';
        Zahl(aus, k.x);
        aus += ',';
        Zahl(aus, k.y);
        aus += k.inloch ? ",1]" : ",0]";
    }
    aus += ']';
}

// Lagen und Stöße werden float: was darüber hinausgeht, wäre unendlich.
bool Endlich(const json& j) { return j.is_number() && std::fabs(j.get<double>()) <= FLT_MAX; }

bool LeseKugeln(const json& z, const char* name, float radius, Spielstand& s, std::string& fehler) {
    const auto k = z.find(name);
    if (k == z.end() || !k->is_array() || k->size() != kAnzahlKugeln) {
        fehler = std::string("\"") + name + "\" muss 16 Kugeln [x, y, inloch] haben.";
        return false;
    }
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        const json& q = (*k)[static_cast<std::size_t>(i)];
        if (!q.is_array() || q.size() != 3 || !Endlich(q[0]) || !Endlich(q[1]) || !q[2].is_number_integer()) {
            fehler = std::string("\"") + name + "\": Kugel " + std::to_string(i) + " ist nicht [x, y, inloch].";
            return false;
        }
        Kugel& kugel = s.kugeln[i];
        kugel = Kugel{};
        kugel.x = q[0].get<float>();
        kugel.y = q[1].get<float>();
        kugel.inloch = q[2].get<int>() != 0;
        kugel.radius = radius;
    }
    return true;
}

bool LiesGanz(const std::string& pfad, std::string& text, std::string& fehler) {
    const int fd = ::open(pfad.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return fehler = Dateigrund(errno), false;
    char puffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, puffer, sizeof puffer);
        if (n > 0) {
            text.append(puffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            fehler = Dateigrund(errno);
            ::close(fd);
            return false;
        }
    }
    ::close(fd);
    return true;
}

}  // namespace

std::string BeobachtungAlsJson(const Beobachtung& b) {
    std::string aus = "{\"vorher\":";
    aus.reserve(900);
    Kugeln(aus, b.vorher);
    aus += ",\"gruppe\":" + std::to_string(b.vorher.gruppe) + ",\"stoss\":[";
    Zahl(aus, b.stoss.x);
    aus += ',';
    Zahl(aus, b.stoss.y);
    aus += "],\"nachher\":";
    Kugeln(aus, b.nachher);
    aus += '}';
    return aus;
}

bool LeseBeobachtung(std::string_view zeile, float radius, Beobachtung& b, std::string& fehler) {
    const json z = json::parse(zeile.begin(), zeile.end(), nullptr, false);
    if (!z.is_object()) return fehler = "keine JSON-Zeile", false;
    if (!LeseKugeln(z, "vorher", radius, b.vorher, fehler) || !LeseKugeln(z, "nachher", radius, b.nachher, fehler))
        return false;
    const auto g = z.find("gruppe");
    if (g == z.end() || !g->is_number_integer()) return fehler = "\"gruppe\" fehlt", false;
    b.vorher.gruppe = b.nachher.gruppe = g->get<std::int32_t>();
    const auto s = z.find("stoss");
    if (s == z.end() || !s->is_array() || s->size() != 2 || !Endlich((*s)[0]) || !Endlich((*s)[1]))
        return fehler = "\"stoss\" ist nicht [x, y]", false;
    b.stoss = {(*s)[0].get<float>(), (*s)[1].get<float>(), 0.0f};
    if (!std::isfinite(b.stoss.x) || !std::isfinite(b.stoss.y)) return fehler = "\"stoss\" ist zu groß", false;
    return true;
}

bool LeseBeobachtungen(const std::string& pfad, float radius, std::vector<Beobachtung>& aus,
                       Beobachtungsbericht& bericht, std::string& fehler) {
    // Mit read statt ifstream: ein Lesefehler (etwa ein Verzeichnis) wird ein
    // Grund, keine Ausnahme, die das Programm beendet.
    std::string text;
    if (!LiesGanz(pfad, text, fehler)) return false;
    std::size_t von = 0;
    std::vector<Beobachtung> alle;
    while (von < text.size()) {
        const std::size_t bis = text.find('\n', von);
        const bool letzte = bis == std::string::npos;
        const std::string_view zeile(text.data() + von, (letzte ? text.size() : bis) - von);
        von = letzte ? text.size() : bis + 1;
        if (zeile.empty()) continue;
        ++bericht.zeilen;
        Beobachtung b;
        std::string grund;
        if (LeseBeobachtung(zeile, radius, b, grund)) {
            alle.push_back(b);
        } else if (letzte) {
            bericht.abgerissen = true;  // ein Absturz mitten im Schreiben
        } else {
            if (bericht.fehlerhaft++ == 0) bericht.erster_fehler = "Zeile " + std::to_string(bericht.zeilen) + ": " + grund;
        }
    }
    const std::size_t ab = alle.size() > static_cast<std::size_t>(kBeobachtungenHoechstens)
                               ? alle.size() - static_cast<std::size_t>(kBeobachtungenHoechstens) : 0;
    aus.assign(alle.begin() + static_cast<std::ptrdiff_t>(ab), alle.end());
    return true;
}

namespace {

// Abstand von p zur Strecke a–b.
double AbstandZurStrecke(V2 p, V2 a, V2 b) {
    const V2 d = b - a;
    const double l = Quadrat(d);
    const double t = l > 0.0 ? std::clamp(Skalar(p - a, d) / l, 0.0, 1.0) : 0.0;
    return Betrag(p - (a + d * t));
}

}  // namespace

Beobachtungsurteil PruefeBeobachtung(const Tischgeometrie& g, const Welt& welt, const Beobachtung& b) {
    Beobachtungsurteil u{false, 0, {}};
    for (int i = 1; i < kAnzahlKugeln; ++i)
        if (b.vorher.kugeln[i].inloch && !b.nachher.kugeln[i].inloch) {
            u.grund = "Kugel " + std::to_string(i) + " ist wieder auf dem Tisch";
            return u;
        }
    if (b.nachher.kugeln[0].inloch) {
        u.grund = "die Weiße ist nicht auf dem Tisch";
        return u;
    }
    // Der Server fragt nach dem eigenen Stoß nur wieder, wenn eine eigene Kugel
    // fiel; sonst war der Gegner dazwischen am Tisch.
    bool eigeneGefallen = false;
    const std::int32_t gruppe = b.vorher.gruppe;
    for (int i = 1; i < kAnzahlKugeln; ++i) {
        const bool eigene = i == 8 ? false : gruppe == alle || (i < 8 ? gruppe == volle : gruppe == halbe);
        eigeneGefallen |= eigene && !b.vorher.kugeln[i].inloch && b.nachher.kugeln[i].inloch;
    }
    bool gruppeLeer = !b.vorher.kugeln[8].inloch;
    for (int i = 1; i < kAnzahlKugeln && gruppeLeer; ++i)
        if (i != 8 && !b.vorher.kugeln[i].inloch && (gruppe == alle || (i < 8 ? gruppe == volle : gruppe == halbe)))
            gruppeLeer = false;
    if (!eigeneGefallen && !(gruppeLeer && b.nachher.kugeln[8].inloch)) {
        u.grund = "keine eigene Kugel ist gefallen";
        return u;
    }
    auto e = std::make_unique<Simergebnis>();
    auto wege = std::make_unique<Laufwege>();
    if (!Simuliere(g, welt, b.vorher, b.stoss, *e, wege.get())) {
        u.grund = "der Stoß ist nicht endlich";
        return u;
    }
    const double r = g.radius;
    // Die Weiße liegt nahe dem Weg, den der eigene Stoß ihr gibt (verlängert
    // und breit, für Rauschen und eine ungenaue Welt); nach einem Stoß des
    // Gegners liegt sie irgendwo.
    {
        const Laufweg& w = wege->kugel[0];
        const V2 beobachtet{b.nachher.kugeln[0].x, b.nachher.kugeln[0].y};
        double laenge = 0.0, naechster = 1e300;
        for (int k = 1; k < w.anzahl; ++k) laenge += Betrag(V2{w.x[k] - w.x[k - 1], w.y[k] - w.y[k - 1]});
        for (int k = 1; k < w.anzahl; ++k)
            naechster = std::min(naechster, AbstandZurStrecke(beobachtet, {w.x[k - 1], w.y[k - 1]}, {w.x[k], w.y[k]}));
        if (w.anzahl >= 2) {
            const int n = w.anzahl;
            const V2 ende{w.x[n - 1], w.y[n - 1]};
            const V2 richtung = Einheit(ende - V2{w.x[n - 2], w.y[n - 2]});
            naechster = std::min(naechster, AbstandZurStrecke(beobachtet, ende, ende + richtung * (0.4 * laenge)));
        }
        if (w.anzahl >= 2 && naechster > 2.0 * r + std::max(3.0, 0.15 * laenge)) {
            u.grund = "die Weiße liegt fern von ihrem Weg im eigenen Stoß";
            return u;
        }
    }
    for (int j = 0; j < kAnzahlKugeln; ++j) {
        if (b.vorher.kugeln[j].inloch || e->inloch[j]) continue;
        const V2 p{b.vorher.kugeln[j].x, b.vorher.kugeln[j].y};
        if (!(e->lage[j] == p)) continue;  // bewegt sich im eigenen Stoß
        bool weit = true;
        for (int i = 0; i < kAnzahlKugeln && weit; ++i) {
            const Laufweg& w = wege->kugel[i];
            if (i == j || w.anzahl < 2) continue;
            double laenge = 0.0;
            for (int k = 1; k < w.anzahl; ++k) laenge += Betrag(V2{w.x[k] - w.x[k - 1], w.y[k] - w.y[k - 1]});
            if (laenge <= 0.0) continue;
            const double breite = 2.0 * r + std::max(2.0, 0.05 * laenge);
            for (int k = 1; k < w.anzahl && weit; ++k)
                weit = AbstandZurStrecke(p, {w.x[k - 1], w.y[k - 1]}, {w.x[k], w.y[k]}) > breite;
            // Hinter dem Ende: läuft die Kugel wirklich weiter, dann in dieser Richtung.
            const int n = w.anzahl;
            const V2 ende{w.x[n - 1], w.y[n - 1]};
            const V2 richtung = Einheit(ende - V2{w.x[n - 2], w.y[n - 2]});
            if (weit) weit = AbstandZurStrecke(p, ende, ende + richtung * (0.4 * laenge)) > breite;
        }
        if (!weit) continue;
        ++u.geprueft;
        const Kugel& k = b.nachher.kugeln[j];
        if (k.inloch || std::fabs(k.x - b.vorher.kugeln[j].x) > kLagetoleranz ||
            std::fabs(k.y - b.vorher.kugeln[j].y) > kLagetoleranz) {
            u.grund = "Kugel " + std::to_string(j) + " hat sich bewegt, fern von jedem Weg des eigenen Stoßes";
            return u;
        }
    }
    if (u.geprueft < kMindestensGeprueft) {
        u.grund = "zu wenige ruhende Kugeln fern der Wege (" + std::to_string(u.geprueft) + ")";
        return u;
    }
    u.angenommen = true;
    return u;
}
