// Die Zufallstische liegen jetzt in src/spiel; dieser Name bleibt für die Benchmarks.
#pragma once

#include "spiel/zufallstisch.h"
