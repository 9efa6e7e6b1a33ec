// Die Wahl mit zwei Halbzügen ([planer] tiefe=2): jeder Stoß, ob Lochstoß
// oder Sicherheitsstoß, bekommt einen Wert, die Chance, das Gestell zu
// gewinnen. Er wird unter dem Rauschen durchgespielt; auf einige Ausgänge
// jeder Art (gelungen, Tisch an den Gegner) folgt ein zweiter Halbzug: wie
// gut ist der beste nächste Lochstoß dessen, der dann am Tisch steht (der
// Gegner wird wie der eigene Planer gesucht). Was danach kommt, schätzt die
// Siegtafel.
#pragma once

#include "model/konfiguration.h"
#include "planner/robuste_proben.h"

// Wie oft ein typischer Stoß unter dem Rauschfaktor F gelingt: so oft
// lochte die robuste Wahl in ganzen Aufnahmen (F 1: 95 %, 3: 80 %, 5: 77 %).
double TypischeQuote(double rauschen);

// Wie viele Kugeln die Gruppe noch lochen muss, mit der Schwarzen; auf dem
// offenen Tisch die der kleineren Gruppe.
int NochZuLochen(const Spielstand& stand, std::int32_t gruppe);

constexpr int kHoechstZuLochen = 8;

// Die Siegchance dessen, der am Tisch steht und noch n Kugeln braucht, wenn
// der Gegner m braucht und jeder Stoß beider zu typisch gelingt: w[n][m] =
// typisch·w[n−1][m] + (1−typisch)·(1 − w[m][n]), w[0][m] = 1.
struct Siegtafel {
    double typisch;
    double w[kHoechstZuLochen + 1][kHoechstZuLochen + 1];
};
Siegtafel BaueSiegtafel(double typisch);

// Die Chance dessen, der am Tisch steht, wenn sein bester Stoß zu quote
// gelingt und danach die Tafel gilt; eigene und gegner wie in der Tafel.
double Blattwert(double quote, int eigene, int gegner, const Siegtafel& t);

// Der beste nächste Lochstoß auf stand (Gruppe von stand): die besten drei
// Lochstöße der Liste, je in zwei Stärken die Mitte des Zielfensters mit
// proben Proben; gelingt keiner zur Hälfte, auch rundum (Rundumaussicht).
// 1, wenn nichts mehr liegt.
double NaechsteQuote(const Spielstand& stand, Durchspiel& d, const Physik& physik, float radius, int proben,
                     bool rundum = true);

// Wie gründlich der zweite Halbzug sucht: nach so vielen Ausgängen je Art,
// mit so vielen Proben je Stoß, und ob rundum, wenn die Liste nichts hat.
// Die Vorwahl der Sicherheitsstöße sucht knapp (ein Ausgang, ohne rundum).
struct Zweitzug {
    int ausgaenge;
    int proben;
    bool rundum;
};

struct Siegwert {
    double wert = 0.0;        // Chance, das Gestell zu gewinnen
    int proben = 0, erfolge = 0, gueltig = 0;
    double weiter = -1.0;     // mittlere Quote des eigenen nächsten Stoßes; −1: nie gemessen
    double gegner = -1.0;     // ebenso die des Gegners nach einem Fehlstoß
    bool ganz = false;        // vor der Grenze fertig geworden
};

// Spielt stoss in proben Proben; nach den ersten z.ausgaenge Ausgängen, nach
// denen der Planer am Tisch bleibt, und ebenso vielen, nach denen der Gegner
// ohne Foul dran ist, sucht es den besten nächsten Stoß (NaechsteQuote); die
// übrigen Ausgänge jeder Art zählen mit dem Mittel.
Siegwert BewerteSiegchance(Durchspiel& d, Vektor stoss, int proben, const Zweitzug& z, const Siegtafel& t,
                           const Physik& physik, float radius);

// Mehr kann ein Stoß, der zu quote locht, nicht wert sein: nach dem
// Fehlstoß lässt der Gegner den Tisch sofort wieder. Mit quote 0 die Grenze
// jedes Sicherheitsstoßes.
double Hoechstwert(double quote, const Spielstand& stand, const Siegtafel& t);
