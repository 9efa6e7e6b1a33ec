#include "spiel/partie.h"

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <random>

#include "model/arbeite_parallel.h"
#include "sim/rauschen.h"
#include "spiel/ball_in_der_hand.h"
#include "spiel/gestell.h"
#include "spiel/saat.h"

namespace {

using Uhr = std::chrono::steady_clock;

double Mikrosekunden(Uhr::time_point von, Uhr::time_point bis) {
    return std::chrono::duration<double, std::micro>(bis - von).count();
}

}  // namespace

void FuehreLageNach(const Tischkontext& tk, Zufallstisch& lage, const Simergebnis& e, const Spruch& s,
                    std::int32_t gruppeDesGegners) {
    const Tisch& t = tk.tisch;
    for (int i = 0; i < kAnzahlKugeln; ++i) {
        Tischkugel& k = lage.kugeln[i];
        if (k.bagcount != -1) continue;
        k.x = static_cast<float>(e.lage[i].x);
        k.y = static_cast<float>(e.lage[i].y);
        if (e.tasche[i] >= 0) k.bagcount = e.tasche[i];
    }
    if (s.schwarzeZurueck) SetzeAufFreienPunkt(t, lage, 8, Fusspunkt(t));
    if (s.foul != Partiefoul::keins) LegeWeisseHin(tk, lage, gruppeDesGegners);
}

std::uint32_t PartieCmdid(std::uint32_t partieNr, int stoss) {
    return (partieNr - 1) * 256 + static_cast<std::uint32_t>(stoss);
}

Partie SpielePartie(const Spielumgebung& u, std::uint32_t partieNr, const Planer spieler[2]) {
    Partie p;
    p.nummer = partieNr;
    p.gestell = (partieNr + 1) / 2;
    p.anstoesser = partieNr % 2 == 1 ? 0 : 1;
    Zufallstisch lage = LegeGestell(u.tk.tisch, u.saat, p.gestell);
    std::mt19937_64 rauschen(RauschSaat(u.saat, p.gestell));
    std::int32_t gruppe[2] = {alle, alle};
    int schuetze = p.anstoesser;
    bool anstoss = true, ballInHand = false;
    Simergebnis e;
    for (int nr = 1; nr <= kHoechstStoesse; ++nr) {
        lage.player = gruppe[schuetze];
        const auto t0 = Uhr::now();
        const Planerantwort antwort = spieler[schuetze](lage, PartieCmdid(partieNr, nr));
        const auto t1 = Uhr::now();
        if (!antwort.gut) {
            p.ohneAntwort = true;
            p.sieger = -1;
            return p;
        }
        Partiestoss s{};
        s.stoss = nr;
        s.schuetze = schuetze;
        s.vorher = antwort.gelesen;
        s.antwort[0] = AntwortZahl(antwort.x);
        s.antwort[1] = AntwortZahl(antwort.y);
        s.gespielt = VerrauscheStoss(AntwortStoss(s.antwort[0], s.antwort[1]), u.rauschen, rauschen);
        s.anstoss = anstoss;
        s.ballInHand = ballInHand;
        const auto t2 = Uhr::now();
        Simuliere(u.geometrie, u.welt, s.vorher, s.gespielt, e);
        s.spruch = Beurteile(s.anstoss, s.vorher, e);
        const auto t3 = Uhr::now();
        s.planerUs = Mikrosekunden(t0, t1);
        s.simUs = Mikrosekunden(t2, t3);
        for (int i = 0; i < kAnzahlKugeln; ++i)
            if (e.tasche[i] >= 0) s.versenkt = static_cast<std::uint16_t>(s.versenkt | (1u << i));
        s.ersteBeruehrung = e.ersteBeruehrung;
        s.nachher = Endstand(s.vorher, e);
        s.ereignisgrenze = e.ereignisgrenze;
        s.mitStoss = antwort.mitStoss;
        s.bester = antwort.bester;
        s.gekappt = antwort.gekappt;
        s.sicherheit = antwort.mitStoss ? antwort.sicherheit
                                        : !s.anstoss && s.spruch.foul == Partiefoul::keins && s.spruch.versenkt == 0;
        p.stoesse.push_back(s);

        if (s.spruch.ausgang != Ausgang::laeuft) {
            p.sieger = s.spruch.ausgang == Ausgang::sieg ? schuetze : 1 - schuetze;
            return p;
        }
        if (s.spruch.neueGruppe >= 0) {
            gruppe[schuetze] = s.spruch.neueGruppe;
            gruppe[1 - schuetze] = s.spruch.neueGruppe == volle ? halbe : volle;
        }
        anstoss = s.spruch.neuAufbauen;
        if (anstoss) lage = LegeGestell(u.tk.tisch, u.saat, p.gestell);
        else FuehreLageNach(u.tk, lage, e, s.spruch, gruppe[1 - schuetze]);
        ballInHand = s.spruch.foul != Partiefoul::keins && !anstoss;
        if (!s.spruch.weiter) schuetze = 1 - schuetze;
    }
    return p;
}

const Partiestoss* EntscheidenderStoss(const Partie& p) {
    if (p.sieger < 0) return nullptr;
    for (auto s = p.stoesse.rbegin(); s != p.stoesse.rend(); ++s)
        if (s->schuetze != p.sieger) return &*s;
    return nullptr;  // Anstoß und aus: der Verlierer kam nie an den Tisch
}

bool SpielePartien(const Spielumgebung& u, std::uint32_t erste, std::uint32_t anzahl, int threads,
                   const Planer spieler[2], const std::function<void(const Partie&)>& fertig, std::string& fehler,
                   const std::atomic<int>* halt) {
    std::atomic<std::uint32_t> naechste{0};
    // Die nächste Partie nehmen; eine gerade (die erste eines Gestells) nur, solange kein Halt verlangt ist.
    const auto nimm = [&](std::uint32_t& i) {
        for (i = naechste.load(); i < anzahl;)
            if (i % 2 == 0 && halt && halt->load() != 0) return false;
            else if (naechste.compare_exchange_weak(i, i + 1)) return true;
        return false;
    };
    std::mutex sperre;
    std::map<std::uint32_t, Partie> wartend;  // fertig, aber eine frühere fehlt noch
    std::uint32_t ausgegeben = 0;
    auto arbeite = [&] {
        for (std::uint32_t i; nimm(i);) {
            Partie p = SpielePartie(u, erste + i, spieler);
            std::lock_guard gesperrt(sperre);
            wartend.emplace(i, std::move(p));
            for (auto w = wartend.find(ausgegeben); w != wartend.end(); w = wartend.find(++ausgegeben)) {
                fertig(w->second);
                wartend.erase(w);
            }
        }
    };
    return ArbeiteParallel(threads, arbeite, fehler);
}
