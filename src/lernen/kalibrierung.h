// Welt R an Beobachtungen anpassen: aus dem Tisch vorher, dem beantworteten
// Stoß und den Lagen danach die Physik des Tisches und den Queue, der die
// Antworten spielt, dazu das Rauschen dieses Queues.
//
// Jede Beobachtung wurde mit einer unbekannten Störung gespielt (Richtung,
// Stärke). Sie geht als zwei verborgene Größen je Beobachtung mit ihrem
// Vorwissen (normalverteilt) in den Fit ein, sonst zögen die Störungen die
// Kenngrößen schief. Ein Gitter sucht die Störungen zuerst grob (ein Kugelstoß
// gelingt oder nicht: der Rest springt), dann passt Ceres alles gemeinsam an.
// Die Rollreibung bleibt fest (siehe kenngroessen.h).
//
// Threadsicher: Kalibriere schreibt keine Globalen und liest nur, was es
// bekommt; gleiche Eingabe gibt gleiches Ergebnis, bei jeder Zahl von Threads.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "lernen/kenngroessen.h"
#include "sim/beobachtung.h"
#include "sim/stossklasse.h"
#include "sim/tischgeometrie.h"
#include "sim/welt.h"

struct Kalibrieroptionen {
    int threads = 0;  // 0: alle Kerne
    // Wird nur im Thread des Aufrufers gerufen: Anteil 0..1 und der Schritt,
    // z. B. "Störungen suchen". Darf nichts Langes tun.
    std::function<void(double anteil, const char* schritt)> fortschritt;
    // Setzt ein anderer Thread dies, gibt Kalibriere bald false zurück ("abgebrochen").
    const std::atomic<bool>* abbrechen = nullptr;
    double g = 9.81;               // [physik] g: rechnet die Verzögerungen in Hundertstel um
    double rauschen = 1.0;         // F, mit dem die Suche nach den Störungen beginnt
    double lagefehler = 0.01;      // Tischeinheiten: so genau meldet der Server eine Lage
    double ausreisser = 2.0;       // Tischeinheiten: eine Kugel weiter daneben ist nicht erklärt
    double hoechstdauer = 300.0;   // Sekunden, danach das Beste bis dahin
    int mindestens = 10;           // so viele brauchbare Beobachtungen braucht der Fit
    std::array<bool, kAnzahlKenngroessen> festhalten{};  // diese bleiben auf dem Startwert
    bool startsuche = true;  // Banden und Kugelstoß zuerst grob auf einem Gitter suchen
    bool nasengesetz = true;  // zuletzt das Bandengesetz mit Nase versuchen (Bandenart::nase)
};

struct Schaetzwert {
    double wert;          // in den Einheiten der config.ini (Hundertstel; richtung_versatz: Hundertstel Grad)
    double unsicherheit;  // eine Standardabweichung, gleiche Einheit; 0 bei festgehaltenen, unendlich, wenn
                          // die Beobachtungen nichts über sie sagen
    double start;
    bool festgehalten;
};

// Abstand zwischen simulierter und beobachteter Lage am Ende, über alle Kugeln
// der benutzten Beobachtungen, die sich in der Beobachtung bewegt haben (eine
// versenkte vom nächsten Taschenmaul, wenn die Simulation sie liegen lässt).
struct Fehlermass {
    double median = 0.0;
    double p90 = 0.0;  // 90. Perzentil
    long kugeln = 0;
    long taschenfehler = 0;  // Kugeln, die nur in einem von beiden fallen
};

// Was aus jeder Beobachtung wurde (in der Reihenfolge der Eingabe).
enum class Verwendung : std::uint8_t { benutzt, unbrauchbar, unerklaert };
struct Beobachtungsrest {
    Verwendung verwendung;
    double richtungGrad;  // die geschätzte Störung
    double staerke;
};

constexpr long kMindestensJeKlasse = 10;

struct Kalibrierergebnis {
    Welt welt;  // die angepasste Welt R, Rollreibung wie in der Startwelt
    std::array<Schaetzwert, kAnzahlKenngroessen> kenngroessen;
    double rollreibung;  // festgehalten, Hundertstel

    // Das Rauschen, aus den geschätzten Störungen der benutzten Beobachtungen.
    double sigmaRichtungGrad, sigmaRichtungUnsicherheit;
    double sigmaStaerke, sigmaStaerkeUnsicherheit;
    double rauschfaktor;  // F, das beide zusammen am besten erklärt (0.125° · F, 0.075 · F)

    // Je Stoßklasse (KlasseAus in der angepassten Welt mit der geschätzten
    // Störung) das F ihrer Störungen, erklärt oder nicht: sagt die Welt eine
    // Art Stoß schlecht vorher, brauchen ihre Beobachtungen größere. Unter
    // kMindestensJeKlasse Beobachtungen gilt rauschfaktor.
    struct Klassenrauschen {
        long anzahl = 0;
        double rauschfaktor = 0.0;
    };
    std::array<Klassenrauschen, kAnzahlStossklassen> klassen{};

    Fehlermass vorher;      // Startwelt, Stoß wie beantwortet
    Fehlermass nachher;     // angepasste Welt, Stoß wie beantwortet: was der Planer nun vorhersagt
    Fehlermass angepasst;   // angepasste Welt mit den geschätzten Störungen: was der Fit erklärt

    long beobachtungen = 0;  // übergeben
    long benutzt = 0;
    long unbrauchbar = 0;    // ohne Stoß, Kugeln außerhalb des Tisches
    long unerklaert = 0;     // keine Welt und keine Störung erklärt sie
    std::vector<Beobachtungsrest> reste;
    int iterationen = 0;     // Schritte von Ceres, alle Runden
    bool zeitgrenze = false; // nach hoechstdauer abgebrochen, das Beste bis dahin
    double sekunden = 0.0;
};

// Das F je Stoßklasse, in der Reihenfolge von Stossklasse.
std::array<double, kAnzahlStossklassen> Klassenrauschen(const Kalibrierergebnis& e);

// false mit deutschem Grund: startwelt nicht R, zu wenige brauchbare
// Beobachtungen, abgebrochen. Die Geometrie ist die des Tisches, auf dem
// beobachtet wurde.
bool Kalibriere(std::span<const Beobachtung> beobachtungen, const Welt& startwelt, const Tischgeometrie& geometrie,
                const Kalibrieroptionen& optionen, Kalibrierergebnis& ergebnis, std::string& fehler);
