// Die Kandidaten der robusten Wahl und ihre Varianten: der Beste der Liste,
// die besten Lochstöße der Liste, direkte Stöße, die die Liste nur wegen ihrer
// Sicherheitsabstände verwirft, und je Kandidat einige Stärken und Richtungen.
#pragma once

#include <span>
#include <vector>

#include "model/konfiguration.h"
#include "planner/robuste_proben.h"
#include "planner/stoss.h"

// Die Stärken, in denen jeder Kandidat durchgespielt wird (die Richtung sucht
// das Zielfenster, robuste_zielfenster.h). Die vorgegebene Stärke lässt die
// Objektkugel mit nur vend an der Tasche ankommen; unter Rauschen bleibt sie
// so oft davor liegen.
constexpr float kFaktoren[] = {1.0f, 1.3f, 1.7f, 2.2f, 2.9f};

// Die sortierte Liste der Suche; dahinter ist Platz für eigene Einträge
// (sie fasst mehr als alle Arten zusammen).
struct Kandidatenliste {
    std::vector<Stoss> liste;     // kListenGroesse Plätze
    int n = 0;                    // so viele hat die Suche gefunden
    int frei = 0;                 // der erste Platz für eigene Einträge
    int anzahl[7] = {};           // je Art, dann die Summe
    std::vector<int> kandidaten;  // die durchgespielt werden, als Index in liste
};

// Die Suche (ihre Protokollzeilen gibt Zaehlerzeilen); dann der Beste der Liste und
// die besten kandidaten Lochstöße in Listenfolge.
Kandidatenliste ListenKandidaten(const Tischkontext& tk, const Spielstand& stand, int kandidaten);

// Hängt s als Kandidaten an; false, wenn die Liste voll ist.
bool HaengeAn(Kandidatenliste& k, const Stoss& s);

bool Lochstoss(std::int32_t art);

// Direkte Stöße, die die Liste wegen ihrer Sicherheitsabstände verwirft (eine
// Kugel knapp am Weg, ein Anspielpunkt nah an der Bande, ein dünner Schnitt),
// bis 88° Schnitt; schreibt ab frei (Platz für kMaxWeisseKugelLoch).
int GroszuegigeDirekte(const Tischkontext& tk, const Spielstand& stand, Stoss* frei);

// Die großzügigen direkten Stöße, die ohne Rauschen in einer von zwei
// Stärken gelingen und nicht schon unter den Kandidaten sind, nach Bewertung
// (bis die Zeit um ist).
std::vector<Stoss> GuteGroszuegige(const Kandidatenliste& k, Durchspiel& d, const Physik& physik, float radius,
                                   int kandidatenZahl);

// v um grad gedreht.
Vektor Gedreht(Vektor v, float grad);

// Hängt die Varianten eines Kandidaten an: je Stärke (staerke × faktor,
// höchstens grenze) die Mitte des Zielfensters um richtung; die nächste
// Stärke sucht von der Mitte der vorigen aus, denn das Fenster wandert mit der
// Stärke nur wenig. Ohne Fenster keine Variante; ein Stoß, der schon unter
// den Varianten ab eigeneAb ist, nur einmal. Die Faktoren steigen; nach dem
// ersten, der die Grenze erreicht, kämen nur gleiche Stöße.
void FensterVarianten(std::vector<Variante>& varianten, int kandidat, Vektor richtung, float staerke,
                      std::span<const float> faktoren, float grenze, Durchspiel& d, std::size_t eigeneAb);

// Hängt die Varianten der Kandidaten ab k.kandidaten[ab] an: je Stärke die
// Mitte des Zielfensters um die vorgegebene Richtung, bei Stößen über eine
// Bande auch um die Richtung zum Bandenpunkt mit Radius; gleiche Stöße nur
// einmal. Ein Kandidat ohne Fenster bekommt keine Variante.
void KandidatenVarianten(const Kandidatenliste& k, std::size_t ab, const Physik& physik, float radius, Durchspiel& d,
                         std::vector<Variante>& varianten);
