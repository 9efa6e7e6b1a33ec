#include "spielen.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <random>

#include "anfrage.h"
#include "net/xml_lesen.h"
#include "net/xml_schreiben.h"
#include "planner/robuste_suche.h"
#include "planner/suche.h"
#include "sim/rauschen.h"

namespace {

using Uhr = std::chrono::steady_clock;

double Mikrosekunden(Uhr::time_point von, Uhr::time_point bis) {
    return std::chrono::duration<double, std::micro>(bis - von).count();
}

double Zahl(const std::string& text) {
    double d = 0;
    std::from_chars(text.data(), text.data() + text.size(), d);
    return d;
}

// Jede Aufnahme bekommt ihre eigenen cmdids: 32 Stöße je Tisch reichen
// (höchstens 15 gelungene und ein letzter).
std::uint32_t Cmdid(std::uint32_t tischNr, int stoss) {
    return (tischNr - 1) * 32 + static_cast<std::uint32_t>(stoss);
}

// SplitMix64: verteilt nahe beieinanderliegende Saaten gut.
std::uint64_t Mische(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

}  // namespace

std::uint64_t RauschSaat(std::uint32_t saat, std::uint32_t tischNr) {
    return Mische((static_cast<std::uint64_t>(saat) << 32) | tischNr);
}

Planerantwort PlaneLokal(const std::string& dokument, bool robust) {
    Planerantwort a;
    Spielstand stand;
    if (!LeseSpielstandXML(dokument, stand)) return a;
    Vektor stoss{};
    Suchbericht bericht{};
    PlaneStoss(stand, stoss, &bericht, robust ? Planerwahl::robust : Planerwahl::vorgegeben);
    a.gut = true;
    a.x = Festkomma(stoss.x);
    a.y = Festkomma(stoss.y);
    a.mitStoss = true;
    a.bester = bericht.bester;
    return a;
}

Aufnahme SpieleAufnahme(const Spielumgebung& u, std::uint32_t tischNr, const Zufallstisch& start,
                        const Planer& planer) {
    Aufnahme aufnahme;
    Zufallstisch tisch = start;
    std::mt19937_64 rauschen(RauschSaat(u.saat, tischNr));
    Simergebnis e;
    Laufwege wege;
    for (int nummer = 1; nummer <= 32; ++nummer) {
        const std::uint32_t cmdid = Cmdid(tischNr, nummer);
        const std::string dokument = SchreibeAnfrage(u.tisch, tisch, cmdid, u.eigeneAdresse, u.antwortPort);
        Spielstand stand;
        LeseSpielstandXML(dokument, stand);  // genau, was der Spieler liest

        const auto t0 = Uhr::now();
        const Planerantwort antwort = planer(dokument, cmdid);
        const auto t1 = Uhr::now();
        if (!antwort.gut) {
            aufnahme.ohneAntwort = true;
            break;
        }
        Stosszeile z;
        z.tisch = tischNr;
        z.stoss = nummer;
        z.vorher = stand;
        z.antwort[0] = Zahl(antwort.x);
        z.antwort[1] = Zahl(antwort.y);
        z.gespielt = VerrauscheStoss({static_cast<float>(z.antwort[0]), static_cast<float>(z.antwort[1]), 0.0f},
                                     u.rauschen, rauschen);
        const auto t2 = Uhr::now();
        Simuliere(u.geometrie, u.welt, stand, z.gespielt, e, u.maler ? &wege : nullptr);
        z.urteil = BeurteileStoss(stand, e);
        const auto t3 = Uhr::now();
        z.planerUs = Mikrosekunden(t0, t1);
        z.simUs = Mikrosekunden(t2, t3);
        z.ersteBeruehrung = e.ersteBeruehrung;
        z.art = antwort.mitStoss ? antwort.bester.art : -1;
        for (int i = 0; i < kAnzahlKugeln; ++i)
            if (e.tasche[i] >= 0) z.versenkt.push_back(i);
        aufnahme.stoesse.push_back(z);

        if (!z.urteil.erfolg) {
            if (u.maler) u.maler(Fehlstoss{aufnahme.stoesse.back(), antwort, e, wege});
            break;
        }
        aufnahme.kugeln += z.urteil.eigeneVersenkt;
        // Versenkte bleiben versenkt; die übrigen liegen, wo sie zur Ruhe kamen.
        for (int i = 0; i < kAnzahlKugeln; ++i) {
            Tischkugel& k = tisch.kugeln[i];
            if (k.bagcount != -1) continue;
            k.x = static_cast<float>(e.lage[i].x);
            k.y = static_cast<float>(e.lage[i].y);
            if (e.tasche[i] >= 0) k.bagcount = e.tasche[i];
        }
        if (z.urteil.geraeumt) {
            aufnahme.geraeumt = true;
            break;
        }
    }
    return aufnahme;
}

void Zaehle(Spielbericht& b, const Aufnahme& a) {
    ++b.tische;
    b.ohneAntwort += a.ohneAntwort;
    b.kugeln += a.kugeln;
    b.geraeumt += a.geraeumt;
    for (const Stosszeile& z : a.stoesse) {
        ++b.stoesse;
        b.erfolge += z.urteil.erfolg;
        ++b.fehler[static_cast<int>(z.urteil.ursache)];
        if (z.art >= 0 && z.art <= kRichtungssuche) {
            b.artenBekannt = true;
            ++b.artStoesse[z.art];
            b.artErfolge[z.art] += z.urteil.erfolg;
        }
        b.simUs += z.simUs;
        b.planerUs += z.planerUs;
    }
}

void Intervall95(int erfolge, int n, double& unten, double& oben) {
    if (n == 0) {
        unten = 0.0, oben = 1.0;
        return;
    }
    const double z = 1.959963984540054, p = static_cast<double>(erfolge) / n, z2n = z * z / n;
    const double mitte = (p + z2n / 2) / (1 + z2n);
    const double halb = z * std::sqrt(p * (1 - p) / n + z2n / (4 * n)) / (1 + z2n);
    unten = std::max(0.0, mitte - halb);
    oben = std::min(1.0, mitte + halb);
}
