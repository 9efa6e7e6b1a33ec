#pragma once

#include <string>

// Die erste IPv4-Adresse des eigenen Rechnernamens in Punktschreibweise.
// Schlägt der Name oder die Auflösung fehl, bleibt adresse unverändert.
void EigeneIPAdresse(std::string& adresse);
