// Eine Datei ganz oder gar nicht ersetzen: erst daneben schreiben, dann
// umbenennen. Eine volle Platte oder ein Absturz lässt die alte Datei stehen.
#pragma once

#include <string>
#include <string_view>

// false mit errno in fehler (0, wenn nur ein Teil geschrieben wurde); die
// halbe neue Datei ist dann wieder entfernt.
bool ErsetzeDatei(const std::string& pfad, std::string_view text, int* fehler = nullptr);

// Der Grund eines Dateifehlers (errno) für Protokoll und Meldungen, deutsch.
std::string Dateigrund(int fehler);
