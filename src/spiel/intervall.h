// Das Wilson-Intervall zu 95 % für einen Anteil.
#pragma once

// erfolge von n; n = 0 gibt 0 bis 1.
void Intervall95(long erfolge, long n, double& unten, double& oben);
