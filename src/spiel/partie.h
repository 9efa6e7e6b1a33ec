// Eine Partie Achtball am Ersatztisch: zwei Spieler, ein Gestell, Anstoß
// (nach einem ungültigen baut der Tisch dasselbe Gestell neu auf, und der
// Gegner stößt an), offener Tisch, Gruppen, Fouls mit Ball in der Hand, Sieg,
// Niederlage oder Remis nach 200 Stößen. Partie n spielt Gestell (n + 1) / 2; bei ungeradem n
// stößt A an, bei geradem B: so wird jedes Gestell in beiden Reihenfolgen
// gespielt, unter denselben Störungen (die Folge hängt nur an Saat und Gestell).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "spiel/aufnahme.h"
#include "spiel/spieler.h"
#include "spiel/spielregeln.h"

constexpr int kHoechstStoesse = 200;  // wer danach nicht gewonnen hat: remis

struct Partiestoss {
    int stoss;              // 1.. in der Partie
    int schuetze;           // 0: A, 1: B
    Spielstand vorher;      // wie der Spieler ihn las; gruppe ist die gesendete
    double antwort[2];
    Vektor gespielt;        // nach dem Rauschen
    std::uint16_t versenkt;  // Bit i: Kugel i fiel
    int ersteBeruehrung;
    bool anstoss;           // ein Anstoß auf ein volles Gestell (der erste oder nach einem ungültigen)
    bool ballInHand;        // der Tisch hat die Weiße vor diesem Stoß gesetzt
    Spruch spruch;
    Spielstand nachher;     // wie der Stoß endete, bevor der Tisch eine Kugel zurücksetzt
    bool sicherheit;        // als Sicherheitsstoß gezählt (siehe SpielePartie)
    bool mitStoss;          // im Prozess: der gewählte Kandidat ist bekannt
    Stoss bester;
    bool ereignisgrenze;    // die Simulation brach an ihrer Ereignisgrenze ab
    bool gekappt;           // die Zeitgrenze des Planers schnitt die Entscheidung ab
    double planerUs, simUs;
};

struct Partie {
    std::uint32_t nummer;   // im ganzen Lauf, ab 1
    std::uint32_t gestell;
    int anstoesser;         // 0: A, 1: B
    std::vector<Partiestoss> stoesse;
    int sieger = -1;        // 0: A, 1: B, −1: remis (oder abgebrochen)
    bool ohneAntwort = false;  // abgebrochen, weil eine Antwort fehlte
};

std::uint32_t PartieCmdid(std::uint32_t partieNr, int stoss);

// Die Lage nach einem Stoß: Endlagen, Versenkte mit ihrer Tasche; dann setzt
// der Tisch zurück, was die Regeln sagen: die Schwarze vom Anstoß auf den
// Fußpunkt oder den nächsten freien Punkt, nach einem Foul die Weiße für den
// Gegner (Ball in der Hand, LegeWeisseHin mit seiner Gruppe).
void FuehreLageNach(const Tischkontext& tk, Zufallstisch& lage, const Simergebnis& e, const Spruch& s,
                    std::int32_t gruppeDesGegners);

// Als Sicherheitsstoß zählt: im Prozess, was der Planer so meldet; über das
// Netz (kein Bericht) jeder Stoß nach dem Anstoß ohne Foul, bei dem keine
// Kugel fiel.
Partie SpielePartie(const Spielumgebung& u, std::uint32_t partieNr, const Planer spieler[2]);

// Der letzte Stoß des Verlierers (der, nach dem er nicht mehr an den Tisch
// kam oder mit dem er verlor); nullptr bei Remis.
const Partiestoss* EntscheidenderStoss(const Partie& p);

// Spielt die Partien erste .. erste + anzahl − 1 auf threads Threads; fertig
// bekommt sie der Reihe nach, eine nach der anderen. Das Ergebnis hängt nicht
// von der Zahl der Threads ab (die Planer müssen dann threadsicher sein).
// false, wenn eine Partie scheiterte (etwa kein Speicher): Grund in fehler.
// halt: wird es ungleich 0, beginnt kein neues Gestell mehr (erste ist die
// erste Partie eines Gestells); die begonnenen werden fertig gespielt, fertig
// sieht also die Partien ganzer Gestelle von vorn ohne Lücke.
bool SpielePartien(const Spielumgebung& u, std::uint32_t erste, std::uint32_t anzahl, int threads,
                   const Planer spieler[2], const std::function<void(const Partie&)>& fertig, std::string& fehler,
                   const std::atomic<int>* halt = nullptr);
