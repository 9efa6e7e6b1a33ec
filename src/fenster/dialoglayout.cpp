#include "fenster/dialoglayout.h"

namespace {

using enum Steuerart;

constexpr Steuerelement kElemente[] = {
    {kAnsichtId, Tischansicht, "", 7, 7, 552, 270},
    {0, Text, "Log:", 7, 285, 15, 8},
    {1005, Log, "", 7, 295, 665, 116},
    {BefehlNetzwerk, Schalter, "Starte Netzwerk", 438, 278, 67, 14},
    {BefehlStart, Knopf, "Start", 510, 278, 50, 14},
    {0, Rahmen, "Input:", 568, 0, 104, 198},
    {0, Text, "Wer ist dran:", 576, 17, 41, 8},
    {1008, Text, "halb", 620, 17, 46, 8},
    {0, Text, "Zieltasche:", 576, 30, 36, 8},
    {1009, Text, "-1", 620, 30, 46, 8},
    {1010, Text, "Kugel1\nKugel2\nKugel3\n.\n.\n.", 576, 43, 90, 147},
    {0, Rahmen, "Output:", 566, 211, 106, 66},
    {0, Text, "Vektor:", 571, 225, 24, 8},
    {0, Text, "x:", 600, 226, 8, 8},
    {1011, Text, "0", 612, 226, 54, 8},
    {0, Text, "y:", 600, 236, 8, 8},
    {1012, Text, "0", 612, 236, 54, 8},
    {0, Text, "z:", 600, 248, 8, 8},
    {1013, Text, "0", 612, 248, 54, 8},
    {0, Text, "Betrag:", 571, 261, 24, 8},
    {1014, Text, "5.0", 600, 260, 66, 8},
};

constexpr Menueeintrag kMenue[] = {
    {"&Programm", "Beenden...\tAlt+F4", BefehlBeenden, Menueart::Einfach},
    {"&Optionen", "Spiele \"halbe\" Kugeln", BefehlHalbe, Menueart::Auswahl},
    {"&Optionen", "Spiele \"volle\" Kugeln an", BefehlVolle, Menueart::Auswahl},
    {"&Optionen", "Spiele \"alle\" Kugeln an", BefehlAlle, Menueart::Auswahl},
    {"&Optionen", nullptr, 0, Menueart::Einfach},
    {"&Optionen", "Laufwege anzeigen", BefehlLaufwege, Menueart::Umschalter},
};

}  // namespace

std::span<const Steuerelement> Dialogelemente() { return kElemente; }
std::span<const Menueeintrag> Menueeintraege() { return kMenue; }
