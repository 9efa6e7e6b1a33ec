#include "spiel/intervall.h"

#include <algorithm>
#include <cmath>

void Intervall95(long erfolge, long n, double& unten, double& oben) {
    if (n == 0) {
        unten = 0.0, oben = 1.0;
        return;
    }
    const double z = 1.959963984540054, p = static_cast<double>(erfolge) / n, z2n = z * z / n;
    const double mitte = (p + z2n / 2) / (1 + z2n);
    const double halb = z * std::sqrt(p * (1 - p) / n + z2n / (4 * n)) / (1 + z2n);
    unten = std::max(0.0, mitte - halb);
    oben = std::min(1.0, mitte + halb);
}
