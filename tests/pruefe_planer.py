#!/usr/bin/env python3
"""Unabhängiges Python-Modell des Stoßplaners zum Gegenprüfen von stosswerk-plan.

Das Modell rechnet die ganze Stoßsuche nach (Taschenpunkte, sechs Stoßarten mit
ihren Prüfungen und Bewertungen, stabile Sortierung, Richtung und Stoßstärke)
und vergleicht sie mit der JSON-Ausgabe des Programms:

  tests/pruefe_planer.py                      Grundaufstellung, Gruppen 0, 1 und 2
  tests/pruefe_planer.py --zufall 5 --seed 7  zusätzlich 5 zufällige Aufstellungen (Gruppe 2)
  tests/pruefe_planer.py --erklaere           Handrechnung: je Stoßart ein Kandidat (Gruppe 2)
  tests/pruefe_planer.py --programm PFAD      dieses stosswerk-plan prüfen (CTest; baut nicht)

Nur Standardbibliothek. Jede Zwischengröße, die der Planer als float hält, wird
hier mit struct auf 32 Bit gerundet.
"""

import argparse
import json
import math
import os
import random
import struct
import subprocess
import sys
import tempfile
import time

# ---------------------------------------------------------------- float32

_FMAX = 3.4028234663852886e38


def f32(x):
    """Rundet auf den nächsten 32-Bit-float (inf und nan bleiben)."""
    if x != x or x in (math.inf, -math.inf):
        return x
    try:
        return struct.unpack("f", struct.pack("f", x))[0]
    except OverflowError:
        return math.copysign(math.inf, x)


NAN = float("nan")


def fdiv(a, b):
    """IEEE-Division (Division durch 0 gibt inf oder nan statt einer Ausnahme)."""
    if b == 0:
        if a == 0 or a != a:
            return NAN
        return math.copysign(math.inf, a) * math.copysign(1.0, b)
    return a / b


def fmul(a, b):
    return f32(a * b)


def fadd(a, b):
    return f32(a + b)


def fsub(a, b):
    return f32(a - b)


def fsqrt(a):
    if a != a or a < 0:
        return NAN
    return f32(math.sqrt(a))


def facos_grad(c):
    if c != c or c > 1.0 or c < -1.0:
        return NAN
    return f32(math.acos(c) * 57.29577951308232)


# ---------------------------------------------------------------- Vektor


def V(x, y, z=0.0):
    return (f32(x), f32(y), f32(z))


def laenge(v):
    return fsqrt(fadd(fadd(fmul(v[0], v[0]), fmul(v[1], v[1])), fmul(v[2], v[2])))


def skaliere(v, s):
    return (fmul(v[0], s), fmul(v[1], s), fmul(v[2], s))


def normiere(v):
    l = laenge(v)
    return (f32(fdiv(v[0], l)), f32(fdiv(v[1], l)), f32(fdiv(v[2], l)))


def addiere(a, b):
    return (fadd(a[0], b[0]), fadd(a[1], b[1]), fadd(a[2], b[2]))


def subtrahiere(a, b):
    return (fsub(a[0], b[0]), fsub(a[1], b[1]), fsub(a[2], b[2]))


def skalarprodukt(a, b):
    return fadd(fadd(fmul(a[0], b[0]), fmul(a[1], b[1])), fmul(a[2], b[2]))


def winkel(a, b):
    s = skalarprodukt(a, b)
    if s == 0:
        return f32(90.0)
    c = f32(fdiv(s, fmul(laenge(a), laenge(b))))
    return facos_grad(c)


def abstand_zur_geraden(p, d, q):
    w = subtrahiere(q, p)
    u = normiere(d)
    wu = skalarprodukt(w, u)
    return fsqrt(fsub(skalarprodukt(w, w), fmul(wu, wu)))


def abstand(a, b):
    return laenge(subtrahiere(b, a))


# ---------------------------------------------------------------- Konfiguration

STANDARD_AUFSTELLUNG = [
    (4130, 670), (3000, 475), (1400, 1275), (9000, 2075), (5000, 1075), (3000, 3475),
    (500, 4875), (6500, 5075), (2000, 2775), (8000, 3575), (8500, 575), (500, 2775),
    (900, 575), (7500, 1575), (4000, 4975), (5500, 3975),
]

VORGABEN = {
    "tisch": {"breite": 10700, "hoehe": 5550, "bande_x": 250, "bande_y": 250, "xa": 550, "xb": 775,
              "xc": 4775, "xd": 5000, "xe": 5350, "xf": 5700, "xg": 5925, "xh": 9925, "xi": 10150,
              "ya": 550, "yb": 775, "yc": 4775, "yd": 5000},
    "toleranz": {"tol_ecke": 170, "tol_abstand": 40, "tol_winkel": 500},
    "netzwerk": {"port": 2222, "bport": 2222},
    "physik": {"g": 981, "u": 30, "k": 20, "vend": 10, "vmax": 500},
}


def standard_kugeln():
    """Kugel-Schlüssel der Grundaufstellung als Ganzzahlen."""
    d = {"durchmesser": 350}
    for i, (x, y) in enumerate(STANDARD_AUFSTELLUNG):
        d["k%d_x" % i] = x
        d["k%d_y" % i] = y
        d["k%d_inloch" % i] = 0
        d["k%d_zieltasche" % i] = 0
    return d


def lies_ini(pfad):
    """Einfacher INI-Leser: erste Sektion, erster Schlüssel gilt, ohne Groß/klein."""
    daten = {}
    if not pfad or not os.path.exists(pfad):
        return daten
    sektion = None
    with open(pfad, encoding="latin-1") as f:
        for zeile in f:
            z = zeile.strip()
            if not z or z.startswith(";"):
                continue
            if z.startswith("["):
                sektion = z[1:z.index("]")].strip().lower() if "]" in z else None
                daten.setdefault(sektion, {})
                continue
            if sektion is None or "=" not in z:
                continue
            k, w = z.split("=", 1)
            k = k.strip().lower()
            if k not in daten[sektion]:
                daten[sektion][k] = w.strip()
    return daten


def lies_int(ini, sektion, schluessel, vorgabe):
    w = ini.get(sektion, {}).get(schluessel)
    if w is None:
        return vorgabe
    vz, i = 1, 0
    if w[:1] in "+-" and w[:1] != "":
        vz = -1 if w[0] == "-" else 1
        i = 1
    n = 0
    while i < len(w) and w[i].isdigit():
        n = n * 10 + int(w[i])
        i += 1
    return vz * n


def skaliert(wert, faktor):
    """Ganzzahl als unsigned 32 Bit, nach float, mal float-Konstante."""
    return fmul(f32(wert & 0xFFFFFFFF), f32(faktor))


class Tisch:
    pass


class Physik:
    pass


def lade_tisch(pfad):
    ini = lies_ini(pfad)
    t = Tisch()
    for s in ("tisch", "toleranz"):
        for k, v in VORGABEN[s].items():
            setattr(t, k, skaliert(lies_int(ini, s, k, v), 0.01))
    kv = standard_kugeln()
    t.radius = skaliert(lies_int(ini, "kugeln", "durchmesser", 350), 0.005)
    t.kugeln = []
    for i in range(16):
        x = skaliert(lies_int(ini, "kugeln", "k%d_x" % i, kv["k%d_x" % i]), 0.01)
        y = skaliert(lies_int(ini, "kugeln", "k%d_y" % i, kv["k%d_y" % i]), 0.01)
        inloch = 1 if lies_int(ini, "kugeln", "k%d_inloch" % i, 0) == 1 else 0
        zt = lies_int(ini, "kugeln", "k%d_zieltasche" % i, 0)
        t.kugeln.append({"pos": V(x, y), "inloch": inloch, "zieltasche": zt})
    p = Physik()
    for k, v in VORGABEN["physik"].items():
        setattr(p, k, skaliert(lies_int(ini, "physik", k, v), 0.01))
    t.physik = p
    return t


def taschenpunkte(t):
    BX, BY, W, H, TE, XE = t.bande_x, t.bande_y, t.breite, t.hoehe, t.tol_ecke, t.xe
    HB = fsub(H, BY)
    WB = fsub(W, BX)
    return [
        V(BX, BY), V(fadd(BX, TE), BY), V(BX, fadd(BY, TE)),
        V(BX, HB), V(fadd(BX, TE), HB), V(BX, fsub(HB, TE)),
        V(XE, BY), V(fadd(XE, TE), BY), V(fsub(XE, TE), BY),
        V(XE, HB), V(fadd(XE, TE), HB), V(fsub(XE, TE), HB),
        V(WB, BY), V(fsub(WB, TE), BY), V(WB, fadd(BY, TE)),
        V(WB, HB), V(fsub(WB, TE), HB), V(WB, fsub(HB, TE)),
    ]


# ---------------------------------------------------------------- Spielstand und Prüfungen


class Stand:
    def __init__(self, tisch, gruppe):
        self.t = tisch
        self.gruppe = gruppe
        self.pos = [k["pos"] for k in tisch.kugeln]
        self.inloch = [k["inloch"] for k in tisch.kugeln]
        self.zieltasche = [k["zieltasche"] for k in tisch.kugeln]
        self.r = tisch.radius


def eigene_kugeln(st):
    e = [False] * 16
    nv = nh = 0
    for i in range(1, 8):
        e[i] = (not st.inloch[i]) and st.gruppe in (1, 2)
        nv += e[i]
    for i in range(9, 16):
        e[i] = (not st.inloch[i]) and st.gruppe in (0, 2)
        nh += e[i]
    e[8] = (nv == 0) if st.gruppe == 1 else (nh == 0)
    return e


def tasche_erlaubt(st, kugel, j):
    z = st.zieltasche[kugel]
    return z == 0 or z == j // 3 + 1


def anspielpunkt(st, kugel, ziel):
    d = (fsub(kugel[0], ziel[0]), fsub(kugel[1], ziel[1]), 0.0)
    return addiere(kugel, skaliere(normiere(d), fmul(2.0, st.r)))


def winkel_zulaessig(st, w):
    return w > fadd(90.0, st.t.tol_winkel)


def im_spielfeld(st, p):
    t, r = st.t, st.r
    return (fadd(t.bande_y, r) < p[1] < fsub(fsub(t.hoehe, t.bande_y), r)
            and fadd(t.bande_x, r) < p[0] < fsub(fsub(t.breite, t.bande_x), r))


def kugel_im_weg(st, von, nach, aus1, aus2, protokoll=None):
    """Protokoll (falls Liste): (k, Abstand, Grenze) je Kugel in der Box."""
    d = subtrahiere(nach, von)
    r2 = fmul(2.0, st.r)
    x0, x1 = fsub(min(von[0], nach[0]), r2), fadd(max(von[0], nach[0]), r2)
    y0, y1 = fsub(min(von[1], nach[1]), r2), fadd(max(von[1], nach[1]), r2)
    grenze = fadd(r2, st.t.tol_abstand)
    for k in range(1, 16):
        if k == aus1 or k == aus2 or st.inloch[k]:
            continue
        c = st.pos[k]
        if not (x0 <= c[0] <= x1 and y0 <= c[1] <= y1):
            continue
        a = abstand_zur_geraden(von, d, c)
        if protokoll is not None:
            protokoll.append((k, a, grenze))
        if not (a >= grenze):
            return True
    return False


def bandenecken(t):
    BX, BY, W, H = t.bande_x, t.bande_y, t.breite, t.hoehe
    HB, WB = fsub(H, BY), fsub(W, BX)
    return [V(BX, t.yc), V(BX, t.yb), V(t.xb, HB), V(t.xc, HB), V(t.xg, HB), V(t.xh, HB),
            V(WB, t.yb), V(WB, t.yc), V(t.xh, BY), V(t.xg, BY), V(t.xb, BY), V(t.xc, BY)]


def bandenecke_im_weg(st, von, nach, protokoll=None):
    d = subtrahiere(nach, von)
    r = st.r
    x0, x1 = fsub(min(von[0], nach[0]), r), fadd(max(von[0], nach[0]), r)
    y0, y1 = fsub(min(von[1], nach[1]), r), fadd(max(von[1], nach[1]), r)
    grenze = fadd(r, st.t.tol_abstand)
    for n, e in enumerate(bandenecken(st.t)):
        if x0 <= e[0] <= x1 and y0 <= e[1] <= y1:
            a = abstand_zur_geraden(von, d, e)
            if protokoll is not None:
                protokoll.append((n, a, grenze))
            if not (a >= grenze):
                return True
    return False


def winkel_am_punkt(a, b, c):
    return winkel((fsub(a[0], b[0]), fsub(a[1], b[1]), 0.0), (fsub(c[0], b[0]), fsub(c[1], b[1]), 0.0))


def banden_punkte(st, von, nach):
    t = st.t
    dx, dy = fsub(nach[0], von[0]), fsub(nach[1], von[1])
    T, R, BX, BY = fsub(t.hoehe, t.bande_y), fsub(t.breite, t.bande_x), t.bande_x, t.bande_y

    def teil(d, a, b):
        # d · a / (a + b), von links nach rechts: erst das Produkt, dann die Division
        return f32(fdiv(fmul(d, a), fadd(a, b)))

    p = []
    a, b = fsub(von[0], BX), fsub(nach[0], BX)
    p.append(V(BX, fadd(von[1], teil(dy, a, b))))
    a, b = fsub(T, von[1]), fsub(T, nach[1])
    p.append(V(fadd(von[0], teil(dx, a, b)), T))
    a, b = fsub(R, von[0]), fsub(R, nach[0])
    p.append(V(R, fadd(von[1], teil(dy, a, b))))
    a, b = fsub(von[1], BY), fsub(nach[1], BY)
    p.append(V(fadd(von[0], teil(dx, a, b)), BY))
    return p


def auf_bande(st, p, laengsseite):
    t = st.t
    if laengsseite:
        return t.xb < p[0] < t.xc or t.xg < p[0] < t.xh
    return t.yb < p[1] < t.yc


def anteil(a, b, c):
    return f32(fdiv(fmul(a, b), c))


# ---------------------------------------------------------------- Bewertungen

NULL = (0.0, 0.0, 0.0)


def neuer_stoss(**felder):
    s = {"weiss": NULL, "ziel": NULL, "zwischenziel": NULL, "tasche": NULL, "bande": NULL,
         "winkel": 0.0, "winkel2": 0.0, "bewertung": 0.0, "art": 0, "idx": None}
    s.update(felder)
    return s


def skala_d(t):
    w, h = fsub(t.breite, t.bande_x), fsub(t.hoehe, t.bande_y)
    return fsqrt(fadd(fmul(w, w), fmul(h, h)))


def skala_d2(t):
    w, h = fsub(t.breite, t.bande_x), fsub(t.hoehe, t.bande_y)
    h2 = f32(h / 2.0)
    return fmul(2.0, fsqrt(fadd(fmul(w, w), fmul(h2, h2))))


def winkelterm(gewicht, w):
    d = fsub(180.0, w)
    return anteil(gewicht, fmul(d, d), 8100.0)


def bewerte_wkl(t, s):
    wt = winkelterm(250.0, s["winkel"])
    weg = fadd(abstand(s["weiss"], s["ziel"]), abstand(s["ziel"], s["tasche"]))
    return fadd(wt, anteil(250.0, weg, skala_d(t)))


def bewerte_wbkl(t, s):
    wt = winkelterm(250.0, s["winkel"])
    L = fadd(fadd(abstand(s["weiss"], s["bande"]), abstand(s["bande"], s["ziel"])),
             abstand(s["ziel"], s["tasche"]))
    return fadd(fadd(anteil(250.0, L, skala_d2(t)), wt), 500.0)


def bewerte_wkbl(t, s):
    wt = winkelterm(250.0, s["winkel"])
    L = fadd(fadd(abstand(s["weiss"], s["ziel"]), abstand(s["ziel"], s["bande"])),
             abstand(s["bande"], s["tasche"]))
    return fadd(fadd(anteil(250.0, L, skala_d2(t)), wt), 500.0)


def bewerte_wkkl(t, s):
    D = skala_d(t)
    w1 = winkelterm(100.0, s["winkel"])
    w2 = winkelterm(100.0, s["winkel2"])
    weisse = anteil(f32(250.0 / 3.0), abstand(s["weiss"], s["zwischenziel"]), D)
    kugel = anteil(f32(1000.0 / 3.0),
                   fsqrt(fadd(abstand(s["ziel"], s["zwischenziel"]), abstand(s["zwischenziel"], s["tasche"]))),
                   fsqrt(D))
    return fadd(fadd(fadd(fadd(kugel, weisse), w2), w1), 300.0)


def bewerte_na(t, s):
    return fadd(anteil(500.0, abstand(s["weiss"], s["ziel"]), skala_d(t)), 1500.0)


# ---------------------------------------------------------------- Stoßarten


def finde_wkl(st, tp):
    aus = []
    e = eigene_kugeln(st)
    K0 = st.pos[0]
    for i in range(1, 16):
        if not e[i]:
            continue
        for j in range(18):
            if not tasche_erlaubt(st, i, j):
                continue
            P, B = tp[j], st.pos[i]
            G = anspielpunkt(st, B, P)
            a = winkel((fsub(P[0], B[0]), fsub(P[1], B[1]), 0.0), (fsub(K0[0], G[0]), fsub(K0[1], G[1]), 0.0))
            if not winkel_zulaessig(st, a):
                continue
            if not im_spielfeld(st, G):
                continue
            if kugel_im_weg(st, P, G, i, -1) or kugel_im_weg(st, K0, G, i, -1) or bandenecke_im_weg(st, P, G):
                continue
            s = neuer_stoss(weiss=K0, ziel=G, tasche=P, winkel=a, art=0, idx=(i, j))
            s["bewertung"] = bewerte_wkl(st.t, s)
            aus.append(s)
    return aus


def abstand_3r_ok(st, B):
    t, r3 = st.t, fmul(3.0, st.r)
    return (fadd(t.bande_x, r3) <= B[0] <= fsub(fsub(t.breite, t.bande_x), r3)
            and fadd(t.bande_y, r3) <= B[1] <= fsub(fsub(t.hoehe, t.bande_y), r3))


def finde_wbkl(st, tp):
    aus = []
    e = eigene_kugeln(st)
    S = st.pos[0]
    for i in range(1, 16):
        if not e[i] or not abstand_3r_ok(st, st.pos[i]):
            continue
        B = st.pos[i]
        for k in range(18):
            if not tasche_erlaubt(st, i, k):
                continue
            P = tp[k]
            G = anspielpunkt(st, B, P)
            Ms = banden_punkte(st, G, S)
            for j in range(4):
                M = Ms[j]
                a = winkel_am_punkt(P, G, M)
                if not winkel_zulaessig(st, a):
                    continue
                if kugel_im_weg(st, M, S, 0, -1) or kugel_im_weg(st, G, M, i, -1) or kugel_im_weg(st, P, G, i, -1):
                    continue
                if bandenecke_im_weg(st, P, G) or not auf_bande(st, M, j in (1, 3)):
                    continue
                s = neuer_stoss(weiss=S, ziel=G, tasche=P, bande=M, winkel=a, art=1, idx=(i, k, j))
                s["bewertung"] = bewerte_wbkl(st.t, s)
                aus.append(s)
    return aus


def finde_wkbl(st, tp):
    aus = []
    e = eigene_kugeln(st)
    S = st.pos[0]
    for i in range(1, 16):
        if not e[i] or not abstand_3r_ok(st, st.pos[i]):
            continue
        B = st.pos[i]
        for k in range(18):
            if not tasche_erlaubt(st, i, k):
                continue
            P = tp[k]
            Ms = banden_punkte(st, P, B)
            for j in range(4):
                M = Ms[j]
                G = anspielpunkt(st, B, M)
                a = winkel_am_punkt(S, G, M)
                if not winkel_zulaessig(st, a):
                    continue
                if kugel_im_weg(st, P, M, 0, -1) or kugel_im_weg(st, G, M, i, -1) or kugel_im_weg(st, S, G, i, -1):
                    continue
                if bandenecke_im_weg(st, P, M) or not auf_bande(st, M, j in (1, 3)):
                    continue
                s = neuer_stoss(weiss=S, ziel=G, tasche=P, bande=M, winkel=a, art=2, idx=(i, k, j))
                s["bewertung"] = bewerte_wkbl(st.t, s)
                aus.append(s)
    return aus


def finde_wkkl(st, tp):
    aus = []
    e = eigene_kugeln(st)
    S = st.pos[0]
    for i in range(1, 16):
        if not e[i]:
            continue
        Bi = st.pos[i]
        for k in range(18):
            if not tasche_erlaubt(st, i, k):
                continue
            P = tp[k]
            G1 = anspielpunkt(st, Bi, P)
            for j in range(1, 16):
                if not e[j] or j == i:
                    continue
                G2 = anspielpunkt(st, st.pos[j], G1)
                a1 = winkel_am_punkt(P, G1, G2)
                a2 = winkel_am_punkt(G1, G2, S)
                if not winkel_zulaessig(st, a1) or not winkel_zulaessig(st, a2):
                    continue
                if (kugel_im_weg(st, P, G1, i, -1) or kugel_im_weg(st, G1, G2, i, j)
                        or kugel_im_weg(st, G2, S, j, -1) or bandenecke_im_weg(st, P, G1)):
                    continue
                s = neuer_stoss(weiss=S, ziel=G1, zwischenziel=G2, tasche=P, winkel=a1, winkel2=a2, art=3,
                                idx=(i, k, j))
                s["bewertung"] = bewerte_wkkl(st.t, s)
                aus.append(s)
    return aus


def finde_na(st, tp):
    aus = []
    e = eigene_kugeln(st)
    S = st.pos[0]
    for i in range(1, 16):
        if not e[i]:
            continue
        if kugel_im_weg(st, S, st.pos[i], i, -1):
            continue
        s = neuer_stoss(weiss=S, ziel=st.pos[i], art=4, idx=(i,))
        s["bewertung"] = bewerte_na(st.t, s)
        aus.append(s)
    return aus


def finde_us(st, tp):
    S = st.pos[0]
    return [neuer_stoss(weiss=S, ziel=V(fsub(st.t.breite, S[0]), fsub(st.t.hoehe, S[1])),
                        art=5, bewertung=f32(3000.0), idx=())]


ARTEN = [finde_wkl, finde_wbkl, finde_wkbl, finde_wkkl, finde_na, finde_us]
NAMEN = ["cntWeisseKugelLoch", "cntWeisseBandeKugelLoch", "cntWeisseKugelBandeLoch",
         "cntWeisseKugelKugelLoch", "cntNurAnspielen", "cntUngewisserStoss"]


def sortiere(liste):
    n = len(liste)
    for durchgang in range(n - 1, 0, -1):
        for j in range(durchgang):
            if liste[j]["bewertung"] > liste[j + 1]["bewertung"]:
                liste[j], liste[j + 1] = liste[j + 1], liste[j]


# ---------------------------------------------------------------- Stoßstärke


def start_geschw(strecke, v_ende, p):
    s = max(0.0, 0.01 * strecke)
    return f32(math.sqrt(v_ende * v_ende + 0.7 * p.u * p.g * s))


def bogenmass(grad):
    return (grad + grad) * math.pi * (1.0 / 360.0)


def vor_stoss(w, v_nach):
    return f32(v_nach / math.cos(bogenmass(f32(180.0 - w))))


def vor_bande(zurueck, weiter, v_nach, p):
    h = math.radians(winkel(zurueck, weiter) / 2.0)
    return f32(v_nach / (math.cos(h) * math.sqrt(math.tan(h) ** 2 + p.k * p.k)))


def stossstaerke(t, s, schritte=None):
    p = t.physik
    r = t.radius
    D = fmul(2.0, r)
    v = p.vend
    art = s["art"]

    def S(L, v):
        erg = start_geschw(L, v, p)
        if schritte is not None:
            schritte.append(("S", L, v, erg))
        return erg

    def P(w, v):
        erg = vor_stoss(w, v)
        if schritte is not None:
            schritte.append(("P", w, v, erg))
        return erg

    def B(x, y, v):
        erg = vor_bande(x, y, v, p)
        if schritte is not None:
            schritte.append(("B", winkel(x, y), v, erg))
        return erg

    w, z, zz, ta, ba = s["weiss"], s["ziel"], s["zwischenziel"], s["tasche"], s["bande"]
    if art == 0:
        v = S(fsub(abstand(z, ta), D), v)
        v = P(s["winkel"], v)
        return S(abstand(w, z), v)
    if art == 1:
        v = S(fsub(abstand(z, ta), D), v)
        v = P(s["winkel"], v)
        v = S(fsub(abstand(ba, z), r), v)
        v = B(subtrahiere(w, ba), subtrahiere(z, ba), v)
        return S(fsub(abstand(ba, w), r), v)
    if art == 2:
        v = S(fsub(abstand(ba, ta), r), v)
        v = B(subtrahiere(z, ba), subtrahiere(ta, ba), v)
        v = S(fsub(abstand(ba, z), fmul(3.0, r)), v)
        v = P(s["winkel"], v)
        return S(abstand(w, z), v)
    if art == 3:
        v = S(fsub(abstand(z, ta), D), v)
        v = P(s["winkel"], v)
        v = S(fsub(abstand(zz, z), D), v)
        v = P(s["winkel2"], v)
        return S(abstand(w, zz), v)
    if art in (4, 5):
        return S(fsub(abstand(w, z), D), v)
    return v


# ---------------------------------------------------------------- Suche


def suche(t, gruppe, schritte=None):
    st = Stand(t, gruppe)
    tp = taschenpunkte(t)
    liste, zahlen = [], []
    for f in ARTEN:
        k = f(st, tp)
        zahlen.append(len(k))
        liste.extend(k)
    sortiere(liste)
    best = liste[0]
    ziel = {1: best["bande"], 3: best["zwischenziel"]}.get(best["art"], best["ziel"])
    d = (fsub(ziel[0], best["weiss"][0]), fsub(ziel[1], best["weiss"][1]), 0.0)
    s = stossstaerke(t, best, schritte)
    stoss = skaliere(normiere(d), s)
    return {"zahlen": zahlen, "liste": liste, "stoss": stoss, "staerke": s, "stand": st, "tp": tp}


# ---------------------------------------------------------------- Vergleich mit dem Programm

WURZEL = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PROGRAMM = os.path.join(WURZEL, "build", "default", "bin", "stosswerk-plan")


def programm(gruppe, config=None):
    cmd = [PROGRAMM, "--gruppe", str(gruppe), "--json", "--kandidaten"]
    if config:
        cmd += ["--config", config]
    for versuch in range(30):
        try:
            out = subprocess.run(cmd, check=True, capture_output=True, text=True).stdout
            break
        except (OSError, subprocess.CalledProcessError):
            # Das Programm wird gerade neu gebunden; kurz warten und erneut versuchen.
            if versuch == 29:
                raise
            time.sleep(2)
    return json.loads(out, object_hook=_null_als_nan)


def _null_als_nan(obj):
    """nlohmann::json schreibt nan als null."""
    for k, v in obj.items():
        if v is None:
            obj[k] = NAN
        elif isinstance(v, list):
            obj[k] = [NAN if x is None else x for x in v]
    return obj


def nah(a, b, tol=1e-3):
    if a != a and b != b:
        return True
    return abs(a - b) <= tol


def nah_rel(a, b, tol=1e-3):
    if a != a and b != b:
        return True
    return abs(a - b) <= tol * max(1.0, abs(a), abs(b))


FELDER = ["weiss", "ziel", "zwischenziel", "tasche", "bande"]


def kandidat_gleich(m, p):
    """Liste der Abweichungen zwischen Modell-Kandidat m und Programm-Kandidat p."""
    fehler = []
    if m["art"] != p["art"]:
        fehler.append("art %d != %d" % (m["art"], p["art"]))
        return fehler
    if not nah_rel(m["bewertung"], p["bewertung"]):
        fehler.append("bewertung %.6f != %.6f" % (m["bewertung"], p["bewertung"]))
    for f in FELDER:
        if not (nah(m[f][0], p[f][0]) and nah(m[f][1], p[f][1])):
            fehler.append("%s (%.5f, %.5f) != (%.5f, %.5f)" % (f, m[f][0], m[f][1], p[f][0], p[f][1]))
    for f in ("winkel", "winkel2"):
        # Nahe 180 Grad ist arccos schlecht konditioniert: dort genügt ein kleiner Unterschied im Kosinus.
        if not nah(m[f], p[f]) and not (m[f] == m[f] and p[f] == p[f]
                                        and abs(math.cos(math.radians(m[f])) - math.cos(math.radians(p[f]))) <= 5e-7):
            fehler.append("%s %.5f != %.5f" % (f, m[f], p[f]))
    return fehler


def beschreibe(m):
    art = m["art"]
    idx = m["idx"]
    if art == 0:
        return "art 0 Kugel %d Punkt %d" % idx
    if art in (1, 2):
        return "art %d Kugel %d Punkt %d Bande %d" % ((art,) + idx)
    if art == 3:
        return "art 3 Kugel %d Punkt %d ueber Kugel %d" % idx
    if art == 4:
        return "art 4 Kugel %d" % idx
    return "art 5"


def vergleiche(name, t, gruppe, config=None):
    m = suche(t, gruppe)
    p = programm(gruppe, config)
    probleme = []
    for a in range(6):
        if m["zahlen"][a] != p[NAMEN[a]]:
            probleme.append("%s: Modell %d, Programm %d" % (NAMEN[a], m["zahlen"][a], p[NAMEN[a]]))
    if sum(m["zahlen"]) != p["anzahl"]:
        probleme.append("anzahl: Modell %d, Programm %d" % (sum(m["zahlen"]), p["anzahl"]))
    pk = p.get("kandidaten", [])
    if len(pk) != len(m["liste"]):
        probleme.append("Kandidatenzahl: Modell %d, Programm %d" % (len(m["liste"]), len(pk)))
    if len(pk) != len(m["liste"]) or any(kandidat_gleich(a, b) for a, b in zip(m["liste"], pk)):
        # Ohne Reihenfolge zuordnen, damit fehlende oder zusätzliche Kandidaten sichtbar werden.
        rest = list(range(len(pk)))
        for mk in m["liste"]:
            treffer = next((n for n in rest if not kandidat_gleich(mk, pk[n])), None)
            if treffer is None:
                probleme.append("nur im Modell: %s bew %.4f winkel %.4f/%.4f"
                                % (beschreibe(mk), mk["bewertung"], mk["winkel"], mk["winkel2"]))
            else:
                rest.remove(treffer)
        for n in rest:
            pp = pk[n]
            probleme.append("nur im Programm (Platz %d): art %d bew %s ziel %s zwischenziel %s tasche %s bande %s "
                            "winkel %s/%s" % (n, pp["art"], pp["bewertung"], pp["ziel"], pp["zwischenziel"],
                                              pp["tasche"], pp["bande"], pp["winkel"], pp["winkel2"]))
    for n, (mk, pp) in enumerate(zip(m["liste"], pk)):
        f = kandidat_gleich(mk, pp)
        if f:
            probleme.append("Platz %d (%s, Modell %.4f): %s" % (n, beschreibe(mk), mk["bewertung"], "; ".join(f)))
            if len(probleme) > 25:
                probleme.append("... weitere ausgelassen")
                break
    best = m["liste"][0]
    if best["art"] != p["art"] or not nah_rel(best["bewertung"], p["bewertung"]):
        probleme.append("bester: Modell art %d %.5f, Programm art %d %.5f"
                        % (best["art"], best["bewertung"], p["art"], p["bewertung"]))
    ps = p["stoss"]
    for c, wert in zip("xyz", m["stoss"]):
        if not nah(wert, ps[c], 1e-4):
            probleme.append("stoss.%s: Modell %.6f, Programm %.6f" % (c, wert, ps[c]))
    if not nah(m["staerke"], p["betrag"], 1e-4):
        probleme.append("betrag: Modell %.6f, Programm %.6f" % (m["staerke"], p["betrag"]))
    zus = "zahlen %s, bester %s bew %.4f, stoss (%.5f, %.5f) betrag %.5f" % (
        m["zahlen"], beschreibe(best), best["bewertung"], m["stoss"][0], m["stoss"][1], m["staerke"])
    print("%-28s %s  %s" % (name, "OK    " if not probleme else "ABWEICHUNG", zus))
    for pr in probleme:
        print("    " + pr)
    return not probleme


def schreibe_config(pfad, kugeln, aenderungen=None):
    """aenderungen: {sektion: {schluessel: wert}} überschreibt Vorgaben."""
    aenderungen = aenderungen or {}
    with open(pfad, "w", encoding="latin-1") as f:
        for s in ("tisch", "toleranz"):
            f.write("[%s]\n" % s)
            for k, v in VORGABEN[s].items():
                f.write("%s=%d\n" % (k, aenderungen.get(s, {}).get(k, v)))
        f.write("[kugeln]\n")
        for k, v in kugeln.items():
            f.write("%s=%d\n" % (k, v))
        for s in ("netzwerk", "physik"):
            f.write("[%s]\n" % s)
            for k, v in VORGABEN[s].items():
                f.write("%s=%d\n" % (k, aenderungen.get(s, {}).get(k, v)))


def zufalls_aenderungen(rnd):
    """Andere Toleranzen und Physik; Winkelreserven mit glatten Grenzwinkeln (90, 120, 135 Grad ...)."""
    return {
        "toleranz": {"tol_winkel": rnd.choice([0, 500, 1000, 3000, 4500, 6000, 8999, 9000, 12000]),
                     "tol_ecke": rnd.choice([0, 170, 350]),
                     "tol_abstand": rnd.choice([0, 40, 100])},
        "physik": {"u": rnd.choice([10, 30, 55]), "k": rnd.choice([0, 20, 80, 100]),
                   "vend": rnd.choice([1, 10, 50]), "g": rnd.choice([981, 1000])},
    }


def zufalls_aufstellung(rnd, raster=1):
    """Kugeln in Hundertsteln: überlappungsfrei, mindestens r innerhalb der Banden.

    Mit raster > 1 liegen die Kugeln auf einem Gitter ab der Bandenlinie (z. B. 175 = r),
    damit Grenzfälle (genau 3r vom Rand, Kugeln in einer Linie) häufig vorkommen."""
    v = VORGABEN["tisch"]
    r100 = 175
    x0, x1 = v["bande_x"] + r100, v["breite"] - v["bande_x"] - r100
    y0, y1 = v["bande_y"] + r100, v["hoehe"] - v["bande_y"] - r100
    lagen = []
    while len(lagen) < 16:
        x, y = rnd.randint(x0, x1), rnd.randint(y0, y1)
        if raster > 1:
            x = v["bande_x"] + max(1, round((x - v["bande_x"]) / raster)) * raster
            y = v["bande_y"] + max(1, round((y - v["bande_y"]) / raster)) * raster
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                continue
        if all((x - a) ** 2 + (y - b) ** 2 >= (2 * r100) ** 2 for a, b in lagen):
            lagen.append((x, y))
    d = {"durchmesser": 350}
    for i, (x, y) in enumerate(lagen):
        d["k%d_x" % i] = x
        d["k%d_y" % i] = y
        d["k%d_inloch" % i] = 1 if (i > 0 and rnd.random() < 0.2) else 0
        d["k%d_zieltasche" % i] = rnd.choice([0, 0, 0, 0, 1, 2, 3, 4, 5, 6]) if i > 0 else 0
    return d


# ---------------------------------------------------------------- Handrechnung


def fmt(v):
    return "(%.4f, %.4f)" % (v[0], v[1])


def weg_text(st, name, von, nach, a1, a2):
    prot = []
    erg = kugel_im_weg(st, von, nach, a1, a2, prot)
    teile = ", ".join("K%d %.3f" % (k, a) for k, a, g in prot) or "keine"
    return "  %s %s->%s: in der Box %s (Grenze %.3f) -> %s" % (
        name, fmt(von), fmt(nach), teile, fmul(2.0, st.r) + st.t.tol_abstand, "blockiert" if erg else "frei")


def ecken_text(st, von, nach):
    prot = []
    erg = bandenecke_im_weg(st, von, nach, prot)
    teile = ", ".join("Ecke %d %.3f" % (n, a) for n, a, g in prot) or "keine"
    return "  Bandenecken %s->%s: %s (Grenze %.3f) -> %s" % (
        fmt(von), fmt(nach), teile, fadd(st.r, st.t.tol_abstand), "zu nah" if erg else "frei")


def erklaere(t, gruppe):
    erg = suche(t, gruppe)
    st, tp, liste = erg["stand"], erg["tp"], erg["liste"]
    D, D2 = skala_d(t), skala_d2(t)
    print("Gruppe %d, Zahlen %s, D = %.4f, D2 = %.4f, r = %.4f" % (gruppe, erg["zahlen"], D, D2, st.r))
    S = st.pos[0]
    for art in range(6):
        kand = [(n, s) for n, s in enumerate(liste) if s["art"] == art]
        if not kand:
            continue
        platz, s = kand[0]
        print("\n== %s, Platz %d in der sortierten Liste ==" % (beschreibe(s), platz))
        print("  S = %s" % fmt(S))
        if art == 0:
            i, j = s["idx"]
            B, P, G = st.pos[i], tp[j], s["ziel"]
            print("  B = %s, P = %s, G = %s" % (fmt(B), fmt(P), fmt(G)))
            print("  alpha = %.4f > %.1f ; ImSpielfeld(G) %s" % (s["winkel"], 90 + t.tol_winkel, im_spielfeld(st, G)))
            print(weg_text(st, "Objektkugel P->G", P, G, i, -1))
            print(weg_text(st, "Weisse S->G", S, G, i, -1))
            print(ecken_text(st, P, G))
            l1, l2 = abstand(S, G), abstand(G, P)
            print("  Winkelterm %.4f, |SG| %.4f + |GP| %.4f -> Wegterm %.4f, Bewertung %.4f"
                  % (winkelterm(250.0, s["winkel"]), l1, l2, anteil(250.0, fadd(l1, l2), D), s["bewertung"]))
        elif art in (1, 2):
            i, k, j = s["idx"]
            B, P, G, M = st.pos[i], tp[k], s["ziel"], s["bande"]
            print("  B = %s (3r-Rand ok: %s), P = %s, G = %s, M%d = %s" % (fmt(B), abstand_3r_ok(st, B), fmt(P), fmt(G), j, fmt(M)))
            print("  Winkel = %.4f > %.1f" % (s["winkel"], 90 + t.tol_winkel))
            if art == 1:
                print(weg_text(st, "Weisse M->S", M, S, 0, -1))
                print(weg_text(st, "Weisse G->M", G, M, i, -1))
                print(weg_text(st, "Objektkugel P->G", P, G, i, -1))
                print(ecken_text(st, P, G))
                l = [abstand(S, M), abstand(M, G), abstand(G, P)]
                print("  AufBande(M, %s) %s" % (j in (1, 3), auf_bande(st, M, j in (1, 3))))
                print("  Winkelterm %.4f, |SM| %.4f + |MG| %.4f + |GP| %.4f -> Wegterm %.4f, +500, Bewertung %.4f"
                      % (winkelterm(250.0, s["winkel"]), l[0], l[1], l[2],
                         anteil(250.0, fadd(fadd(l[0], l[1]), l[2]), D2), s["bewertung"]))
            else:
                print(weg_text(st, "Objektkugel P->M", P, M, 0, -1))
                print(weg_text(st, "Objektkugel G->M", G, M, i, -1))
                print(weg_text(st, "Weisse S->G", S, G, i, -1))
                print(ecken_text(st, P, M))
                print("  AufBande(M, %s) %s" % (j in (1, 3), auf_bande(st, M, j in (1, 3))))
                l = [abstand(S, G), abstand(G, M), abstand(M, P)]
                print("  Winkelterm %.4f, |SG| %.4f + |GM| %.4f + |MP| %.4f -> Wegterm %.4f, +500, Bewertung %.4f"
                      % (winkelterm(250.0, s["winkel"]), l[0], l[1], l[2],
                         anteil(250.0, fadd(fadd(l[0], l[1]), l[2]), D2), s["bewertung"]))
        elif art == 3:
            i, k, j = s["idx"]
            G1, G2, P = s["ziel"], s["zwischenziel"], tp[k]
            print("  Bi = %s, Bj = %s, P = %s, G1 = %s, G2 = %s" % (fmt(st.pos[i]), fmt(st.pos[j]), fmt(P), fmt(G1), fmt(G2)))
            print("  a1 = %.4f, a2 = %.4f (> %.1f)" % (s["winkel"], s["winkel2"], 90 + t.tol_winkel))
            print(weg_text(st, "Kugel i P->G1", P, G1, i, -1))
            print(weg_text(st, "Kugel j G1->G2", G1, G2, i, j))
            print(weg_text(st, "Weisse G2->S", G2, S, j, -1))
            print(ecken_text(st, P, G1))
            d1, d2, d3 = abstand(S, G2), abstand(G1, G2), abstand(G2, P)
            print("  Winkelterme %.4f + %.4f; |S G2| %.4f -> %.4f; sqrt(|G1 G2| %.4f + |G2 P| %.4f) -> %.4f; +300; Bewertung %.4f"
                  % (winkelterm(100.0, s["winkel"]), winkelterm(100.0, s["winkel2"]), d1,
                     anteil(f32(250 / 3), d1, D), d2, d3,
                     anteil(f32(1000 / 3), fsqrt(fadd(d2, d3)), fsqrt(D)), s["bewertung"]))
        elif art == 4:
            (i,) = s["idx"]
            print("  Ziel = Kugel %d %s" % (i, fmt(st.pos[i])))
            print(weg_text(st, "Weisse S->B", S, st.pos[i], i, -1))
            print("  |SB| %.4f -> 500*|SB|/D = %.4f, +1500, Bewertung %.4f"
                  % (abstand(S, s["ziel"]), anteil(500.0, abstand(S, s["ziel"]), D), s["bewertung"]))
        else:
            print("  Ziel = (breite - S.x, hoehe - S.y) = %s, Bewertung %.1f" % (fmt(s["ziel"]), s["bewertung"]))
    best = liste[0]
    schritte = []
    v = stossstaerke(t, best, schritte)
    print("\n== Stoßstärke des besten (%s, Bewertung %.4f) ==" % (beschreibe(best), best["bewertung"]))
    for sch in schritte:
        if sch[0] == "S":
            print("  S(L=%.4f, v=%.5f) = %.5f" % sch[1:])
        elif sch[0] == "P":
            print("  P(winkel=%.4f, v=%.5f) = %.5f" % sch[1:])
        else:
            print("  B(Winkel zurueck/weiter=%.4f, v=%.5f) = %.5f" % sch[1:])
    print("  Stoss = %s * %.5f = (%.5f, %.5f, %.5f)" % (
        "Richtung", v, erg["stoss"][0], erg["stoss"][1], erg["stoss"][2]))


# ---------------------------------------------------------------- main


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--zufall", type=int, default=0, help="so viele zufällige Aufstellungen prüfen (Gruppe 2)")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--raster", type=int, default=1, help="Gitter der Zufallslagen in Hundertsteln")
    ap.add_argument("--gruppen", default="2", help="Gruppen für die Zufallslagen, z. B. 0,1,2")
    ap.add_argument("--variiere", action="store_true", help="Zufallslagen auch mit anderen Toleranzen und Physik")
    ap.add_argument("--nur", type=int, default=-1, help="nur diese Nummer der Zufallslagen prüfen")
    ap.add_argument("--behalte", help="die erzeugten config-Dateien in dieses Verzeichnis schreiben")
    ap.add_argument("--erklaere", action="store_true", help="Handrechnung für Gruppe 2, Grundaufstellung")
    ap.add_argument("--kein-bau", action="store_true", help="nicht vorher bauen")
    ap.add_argument("--programm", help="dieses stosswerk-plan prüfen (daneben liegt seine config.ini)")
    args = ap.parse_args()
    global PROGRAMM
    if args.programm:
        PROGRAMM = os.path.abspath(args.programm)
        args.kein_bau = True

    if args.erklaere:
        erklaere(lade_tisch(None), 2)
        return 0
    if not args.kein_bau:
        subprocess.run(["cmake", "--build", "--preset", "default"], cwd=WURZEL, check=True,
                       stdout=subprocess.DEVNULL)
    ok = True
    standard = os.path.join(os.path.dirname(PROGRAMM), "config.ini")
    t = lade_tisch(standard)
    if args.nur < 0:
        for g in (0, 1, 2):
            ok &= vergleiche("Grundaufstellung Gruppe %d" % g, t, g)
    rnd = random.Random(args.seed)
    with tempfile.TemporaryDirectory() as tmp:
        if args.behalte:
            os.makedirs(args.behalte, exist_ok=True)
            tmp = args.behalte
        for n in range(args.zufall):
            kugeln = zufalls_aufstellung(rnd, args.raster)
            aenderungen = zufalls_aenderungen(rnd) if args.variiere else None
            if args.nur >= 0 and n != args.nur:
                continue
            pfad = os.path.join(tmp, "config_%d.ini" % n)
            schreibe_config(pfad, kugeln, aenderungen)
            for g in (int(x) for x in args.gruppen.split(",")):
                ok &= vergleiche("Zufall %d G%d (seed %d)" % (n, g, args.seed), lade_tisch(pfad), g, pfad)
    print("alles gleich" if ok else "ABWEICHUNGEN gefunden")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
