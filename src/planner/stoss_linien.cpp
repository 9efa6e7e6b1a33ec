#include "planner/stoss_linien.h"

std::vector<Linie> StossLinien(const Stoss& s) {
    auto L = [](Vektor a, Vektor b, std::uint32_t f) { return Linie{a.x, a.y, b.x, b.y, f}; };
    switch (s.art) {
        case WeisseKugelLoch:
            return {L(s.ziel, s.tasche, kBlau), L(s.ziel, s.weiss, kRot)};
        case WeisseBandeKugelLoch:
            return {L(s.tasche, s.ziel, kBlau), L(s.ziel, s.bande, kRot), L(s.bande, s.weiss, kRot)};
        case WeisseKugelBandeLoch:
            return {L(s.tasche, s.bande, kBlau), L(s.bande, s.ziel, kBlau), L(s.ziel, s.weiss, kRot)};
        case WeisseKugelKugelLoch:
            return {L(s.tasche, s.ziel, kBlau), L(s.ziel, s.zwischenziel, kBlau), L(s.zwischenziel, s.weiss, kRot)};
        case NurAnspielen:
            return {L(s.ziel, s.weiss, kRot)};
        case UngewisserStoss:
            return {L(s.ziel, s.weiss, kGrau)};
        default:
            return {};
    }
}
