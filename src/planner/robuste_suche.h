// Die robuste Wahl: die vorgegebene Suche läuft unverändert (ihre sieben
// Protokollzeilen, ihre sortierte Liste); dann spielt der Planer die besten
// Lochstöße in einigen Stärken und Richtungen unter dem Rauschen eines echten
// Queues durch, in der eingestellten Welt, und nimmt den, der am sichersten
// gelingt und die Weiße gut stehen lässt. Gelingt keiner, bleibt es beim
// besten der Liste. Auf ein volles Dreieck stößt er an (anstoss.h); gelingt
// der Lochstoß zu selten, wägt er einen Sicherheitsstoß ab (sicherheitsstoss.h).
// Jede Entscheidung hat eine Zeitgrenze (frist.h) und ist nie stärker als vmax.
#pragma once

#include "planner/planerkontext.h"
#include "planner/suche.h"

// Die Art der Kandidaten aus der Rundumsuche, des Anstoßes und des
// Sicherheitsstoßes (sie stehen in keiner Liste der sechs Stoßarten): ein Stoß
// in eine Richtung mit einer Stärke, sonst nichts. Was es war, sagen anstoss
// und sicherheit im Suchbericht.
constexpr std::int32_t kRichtungssuche = 6;

// Ein solcher Kandidat: von der Weißen in die Richtung von stoss.
Stoss Richtungskandidat(Vektor weiss, Vektor stoss);

// Die Saat der Rauschproben: nur aus dem Tischstand, also gibt dieselbe
// Anfrage immer dieselbe Antwort.
std::uint64_t SaatAusStand(const Spielstand& stand);

// Wie SucheStoss, mit der robusten Wahl; ihr Protokoll hat nach den sieben
// Zeilen der Suche zwei eigene, dann, wenn ein Sicherheitsstoß erwogen wurde,
// eine Zeile dazu und, wenn die Zeitgrenze die Suche kappte, eine Zeile
// darüber. Hält keinen Zustand zwischen zwei Aufrufen und teilt nichts
// Veränderliches. Solange die Zeitgrenze nicht greift, gibt dieselbe Anfrage
// dieselbe Antwort.
Planergebnis SucheStossRobust(const Tischkontext& tk, const Planerkontext& pk, const Spielstand& stand);

// Wer bestimmt, welcher Planer plant: [planer] modus oder der Aufrufer.
enum class Planerwahl { nachKonfiguration, vorgegeben, robust };

// Vorgegeben (genau SucheStoss) oder robust, wie [planer] oder der Aufrufer es
// sagt. Für Fenster, Server und Programme.
Planergebnis PlaneStoss(const Tischkontext& tk, const Planerkontext& pk, const Spielstand& stand,
                        Planerwahl wahl = Planerwahl::nachKonfiguration);
