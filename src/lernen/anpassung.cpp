#include "lernen/anpassung.h"

#include <ceres/ceres.h>
#include <ceres/normal_prior.h>

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {

struct Eintrag {
    bool gut = false;        // Residuen gültig
    bool jacobiGut = false;  // Ableitungen gültig
    double r[kResiduen];
    double jk[kResiduen * kAnzahlKenngroessen];  // Zeile für Zeile
    double jz[kResiduen * 2];
};

// Die Simulationen eines Auswertungspunkts, vorab und parallel gerechnet.
struct Auswertung {
    const Fitzustand& f;
    bool kenngroessen;
    bool stoerungen;
    std::vector<Eintrag> eintraege;
};

// Vorwärtsdifferenzen: klein genug, dass sie selten über einen Sprung (ein
// Kugelstoß gelingt oder nicht) reichen, groß genug für die Rundung.
constexpr double kRelativerSchritt = 1e-6;
// Ändert ein Schritt ein Residuum um mehr als das (ein Lagefehler), liegt
// vermutlich ein Sprung dazwischen: dann zählt die Seite, die weniger springt.
// Gerade am Rand einer Lücke (eine Kugel wird knapp getroffen) liegt oft das
// Minimum, und eine Ableitung über den Sprung hinweg hielte den Fit dort fest.
constexpr double kSprung = 1.0;

double GroessteAenderung(const double* r, const double* r0) {
    double m = 0.0;
    for (int n = 0; n < kResiduen; ++n) m = std::max(m, std::fabs(r[n] - r0[n]));
    return m;
}

// Eine Spalte der Ableitung: simuliere(h, r) rechnet die Residuen nach einem Schritt h.
template <class Simuliere>
void Spalte(const double* r0, double h, Simuliere simuliere, double* spalte, int abstand) {
    double vor[kResiduen], zurueck[kResiduen];
    const double* r = vor;
    bool gut = simuliere(h, vor);
    if (!gut || GroessteAenderung(vor, r0) > kSprung) {
        if (simuliere(-h, zurueck) && (!gut || GroessteAenderung(zurueck, r0) < GroessteAenderung(vor, r0))) {
            r = zurueck;
            h = -h;
            gut = true;
        }
    }
    for (int n = 0; n < kResiduen; ++n) spalte[n * abstand] = gut ? (r[n] - r0[n]) / h : 0.0;
}

// Versatz und Stärkefaktor gehen genau wie die Störungen in den Stoß ein;
// mit demselben Schritt im Stoß sind ihre Ableitungen genau verhältnisgleich,
// und das Schur-Komplement (unten) trennt sie sauber von den Störungen.
double Schrittweite(const Fitzustand& f, int i, int j) {
    const std::size_t u = static_cast<std::size_t>(j);
    if (j == static_cast<int>(Kenngroesse::richtung_versatz)) return kRelativerSchritt * f.sigmaRichtungGrad;
    if (j == static_cast<int>(Kenngroesse::staerke_faktor)) {
        const std::size_t n = static_cast<std::size_t>(i);
        const double v = f.staerke[n] + f.z[n][1] * f.sigmaStaerke;
        if (v > 0.0) return kRelativerSchritt * f.sigmaStaerke * f.k[u] / v;
    }
    return kRelativerSchritt * std::max(std::fabs(f.k[u]), Art(j).typisch);
}

void Ableitungen(const Auswertung& a, int i, Simergebnis& e, Eintrag& t) {
    const Fitzustand& f = a.f;
    const Latente& z0 = f.z[static_cast<std::size_t>(i)];
    for (int j = 0; j < kAnzahlKenngroessen; ++j) {
        const std::size_t u = static_cast<std::size_t>(j);
        if (!a.kenngroessen || !f.frei[u]) {
            for (int n = 0; n < kResiduen; ++n) t.jk[n * kAnzahlKenngroessen + j] = 0.0;
            continue;
        }
        const double h = Schrittweite(f, i, j);
        Spalte(
            t.r, h,
            [&](double schritt, double* r) {
                Kenngroessen k = f.k;
                k[u] = std::clamp(k[u] + schritt, Art(j).untergrenze, Art(j).obergrenze);
                return k[u] != f.k[u] && BeobachtungsResiduen(f, i, k, z0, e, r);
            },
            t.jk + j, kAnzahlKenngroessen);
    }
    for (int j = 0; j < 2; ++j) {
        if (!a.stoerungen) {
            for (int n = 0; n < kResiduen; ++n) t.jz[n * 2 + j] = 0.0;
            continue;
        }
        Spalte(
            t.r, kRelativerSchritt,
            [&](double schritt, double* r) {
                Latente z = z0;
                z[static_cast<std::size_t>(j)] += schritt;
                return BeobachtungsResiduen(f, i, f.k, z, e, r);
            },
            t.jz + j, 2);
    }
    t.jacobiGut = true;
}

void Rechne(Auswertung& a, bool residuen, bool jacobi) {
    for (Eintrag& t : a.eintraege) {
        if (residuen) t.gut = false;
        t.jacobiGut = false;
    }
    FuerAlleAktiven(a.f, [&](int i, Simergebnis& e) {
        Eintrag& t = a.eintraege[static_cast<std::size_t>(i)];
        if (residuen) t.gut = BeobachtungsResiduen(a.f, i, a.f.k, a.f.z[static_cast<std::size_t>(i)], e, t.r);
        if (jacobi && t.gut) Ableitungen(a, i, e, t);
    });
}

// Ceres meldet, bevor es Residuen oder Ableitungen braucht; die Parameter
// stehen dann schon in f.k und f.z.
class Zwischenspeicher final : public ceres::EvaluationCallback {
public:
    explicit Zwischenspeicher(Auswertung& a) : a_(a) {}
    void PrepareForEvaluation(bool jacobi, bool neuerPunkt) override {
        if (neuerPunkt || !residuenDa_) {
            Rechne(a_, true, jacobi);
            residuenDa_ = true;
            jacobiDa_ = jacobi;
        } else if (jacobi && !jacobiDa_) {
            Rechne(a_, false, true);
            jacobiDa_ = true;
        }
    }

private:
    Auswertung& a_;
    bool residuenDa_ = false;
    bool jacobiDa_ = false;
};

class Beobachtungskosten final : public ceres::SizedCostFunction<kResiduen, kAnzahlKenngroessen, 2> {
public:
    Beobachtungskosten(const Auswertung& a, int i) : a_(a), i_(i) {}
    bool Evaluate(double const* const*, double* residuen, double** jacobi) const override {
        const Eintrag& t = a_.eintraege[static_cast<std::size_t>(i_)];
        if (!t.gut) return false;
        std::copy(std::begin(t.r), std::end(t.r), residuen);
        if (!jacobi) return true;
        if (!t.jacobiGut) return false;
        if (jacobi[0]) std::copy(std::begin(t.jk), std::end(t.jk), jacobi[0]);
        if (jacobi[1]) std::copy(std::begin(t.jz), std::end(t.jz), jacobi[1]);
        return true;
    }

private:
    const Auswertung& a_;
    int i_;
};

class Zwischenstand final : public ceres::IterationCallback {
public:
    Zwischenstand(const Fitzustand& f, const std::function<void(int)>& fortschritt)
        : f_(f), fortschritt_(fortschritt) {}
    ceres::CallbackReturnType operator()(const ceres::IterationSummary& s) override {
        if (f_.abbrechen && f_.abbrechen->load()) return ceres::SOLVER_ABORT;
        if (fortschritt_) fortschritt_(s.iteration);
        return ceres::SOLVER_CONTINUE;
    }

private:
    const Fitzustand& f_;
    const std::function<void(int)>& fortschritt_;
};

// Levenberg-Marquardt; die Störungen je Beobachtung eliminiert das
// Schur-Komplement, die Kenngrößen bleiben übrig.
ceres::Solver::Options Loeseroptionen(const Anpassungsauftrag& auftrag, bool kenngroessen,
                                      const std::shared_ptr<ceres::ParameterBlockOrdering>& ordnung) {
    ceres::Solver::Options o;
    o.trust_region_strategy_type = ceres::LEVENBERG_MARQUARDT;
    if (auftrag.stoerungen && kenngroessen) {
        o.linear_solver_type = ceres::DENSE_SCHUR;
        o.linear_solver_ordering = ordnung;
    } else if (auftrag.stoerungen) {
        o.linear_solver_type = ceres::SPARSE_NORMAL_CHOLESKY;  // nur Blöcke je Beobachtung
    } else {
        o.linear_solver_type = ceres::DENSE_QR;
    }
    o.num_threads = 1;  // parallel rechnet der Zwischenspeicher
    o.max_num_iterations = auftrag.iterationen;
    const double rest = std::chrono::duration<double>(auftrag.frist - std::chrono::steady_clock::now()).count();
    o.max_solver_time_in_seconds = std::max(0.0, rest);
    o.function_tolerance = 1e-8;
    o.parameter_tolerance = 1e-10;
    o.gradient_tolerance = 1e-12;
    o.logging_type = ceres::SILENT;
    o.minimizer_progress_to_stdout = false;
    return o;
}

}  // namespace

void PasseAn(Fitzustand& f, const Anpassungsauftrag& auftrag, const std::function<void(int)>& fortschritt,
             Anpassungsbericht& bericht) {
    bericht = {};
    std::vector<int> fest;
    for (int j = 0; j < kAnzahlKenngroessen; ++j)
        if (!f.frei[static_cast<std::size_t>(j)]) fest.push_back(j);
    const bool kenngroessen = auftrag.kenngroessen && fest.size() < kAnzahlKenngroessen;
    if (!kenngroessen && !auftrag.stoerungen) return;

    Auswertung a{f, kenngroessen, auftrag.stoerungen, std::vector<Eintrag>(f.beobachtungen.size())};
    Zwischenspeicher speicher(a);
    ceres::Problem::Options po;
    po.evaluation_callback = &speicher;
    ceres::Problem problem(po);

    problem.AddParameterBlock(f.k.data(), kAnzahlKenngroessen);
    for (int j = 0; j < kAnzahlKenngroessen; ++j) {
        problem.SetParameterLowerBound(f.k.data(), j, Art(j).untergrenze);
        problem.SetParameterUpperBound(f.k.data(), j, Art(j).obergrenze);
    }
    if (!kenngroessen) problem.SetParameterBlockConstant(f.k.data());
    else if (!fest.empty()) problem.SetManifold(f.k.data(), new ceres::SubsetManifold(kAnzahlKenngroessen, fest));

    auto ordnung = std::make_shared<ceres::ParameterBlockOrdering>();
    bool jemand = false;
    for (std::size_t i = 0; i < f.beobachtungen.size(); ++i) {
        if (!f.aktiv[i]) continue;
        jemand = true;
        double* z = f.z[i].data();
        problem.AddParameterBlock(z, 2);
        for (int j = 0; j < 2; ++j) {
            problem.SetParameterLowerBound(z, j, -8.0);
            problem.SetParameterUpperBound(z, j, 8.0);
        }
        problem.AddResidualBlock(new Beobachtungskosten(a, static_cast<int>(i)), nullptr, f.k.data(), z);
        if (auftrag.stoerungen) {
            problem.AddResidualBlock(new ceres::NormalPrior(ceres::Matrix::Identity(2, 2), ceres::Vector::Zero(2)),
                                     nullptr, z);
            ordnung->AddElementToGroup(z, 0);
        } else {
            problem.SetParameterBlockConstant(z);
        }
    }
    if (!jemand) return;
    ordnung->AddElementToGroup(f.k.data(), 1);

    ceres::Solver::Options o = Loeseroptionen(auftrag, kenngroessen, ordnung);
    Zwischenstand stand(f, fortschritt);
    o.callbacks.push_back(&stand);

    ceres::Solver::Summary s;
    ceres::Solve(o, &problem, &s);
    bericht.iterationen = s.num_successful_steps + s.num_unsuccessful_steps;
    bericht.kostenVorher = s.initial_cost;
    bericht.kostenNachher = s.final_cost;
    bericht.abgebrochen = f.abbrechen && f.abbrechen->load();
    bericht.frist = s.termination_type == ceres::NO_CONVERGENCE &&
                    std::chrono::steady_clock::now() >= auftrag.frist;
}

bool Unsicherheiten(const Fitzustand& f, Kenngroessen& sigma) {
    Auswertung a{f, true, true, std::vector<Eintrag>(f.beobachtungen.size())};
    Rechne(a, true, true);
    if (f.abbrechen && f.abbrechen->load()) return false;

    std::vector<int> freie;
    for (int j = 0; j < kAnzahlKenngroessen; ++j)
        if (f.frei[static_cast<std::size_t>(j)]) freie.push_back(j);
    const int p = static_cast<int>(freie.size());
    sigma.fill(0.0);
    if (p == 0) return true;

    // Die Streuung der Daten schätzen die Residuen selbst (der angenommene
    // Lagefehler kann zu groß oder zu klein sein); das Vorwissen über die
    // Störungen hat sein eigenes Maß und bleibt, wie es ist.
    double quadrate = 0.0;
    long residuen = 0, parameter = p;
    for (std::size_t i = 0; i < a.eintraege.size(); ++i) {
        const Eintrag& t = a.eintraege[i];
        if (!f.aktiv[i] || !t.gut || !t.jacobiGut) continue;
        for (int n = 0; n < kResiduen; ++n) {
            bool lebt = t.r[n] != 0.0 || t.jz[n * 2] != 0.0 || t.jz[n * 2 + 1] != 0.0;
            for (int c = 0; c < kAnzahlKenngroessen; ++c) lebt = lebt || t.jk[n * kAnzahlKenngroessen + c] != 0.0;
            quadrate += t.r[n] * t.r[n];
            residuen += lebt;
        }
        parameter += 2;
    }
    const double streuung = quadrate / static_cast<double>(std::max(1L, residuen - parameter));
    const double gewicht = streuung > 0.0 ? 1.0 / streuung : 1.0;

    using Zeilen = Eigen::Matrix<double, kResiduen, Eigen::Dynamic>;
    Eigen::MatrixXd S = Eigen::MatrixXd::Zero(p, p);
    for (std::size_t i = 0; i < a.eintraege.size(); ++i) {
        const Eintrag& t = a.eintraege[i];
        if (!f.aktiv[i] || !t.gut || !t.jacobiGut) continue;
        Zeilen jg(kResiduen, p);
        Eigen::Matrix<double, kResiduen, 2> jz;
        for (int n = 0; n < kResiduen; ++n) {
            for (int c = 0; c < p; ++c) jg(n, c) = t.jk[n * kAnzahlKenngroessen + freie[static_cast<std::size_t>(c)]];
            jz(n, 0) = t.jz[n * 2];
            jz(n, 1) = t.jz[n * 2 + 1];
        }
        const Eigen::Matrix2d hzz = gewicht * (jz.transpose() * jz) + Eigen::Matrix2d::Identity();
        const Eigen::MatrixXd hgz = gewicht * (jg.transpose() * jz);
        S += gewicht * (jg.transpose() * jg) - hgz * hzz.inverse() * hgz.transpose();
    }

    // Über die Eigenwerte, damit eine unbestimmte Richtung nur ihre Kenngrößen trifft.
    const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> zerlegung(S);
    const Eigen::VectorXd& lambda = zerlegung.eigenvalues();
    const Eigen::MatrixXd& v = zerlegung.eigenvectors();
    const double grenze = 1e-12 * std::max(1e-300, lambda.cwiseAbs().maxCoeff());
    Eigen::VectorXd varianz = Eigen::VectorXd::Zero(p);
    std::vector<bool> unbestimmt(static_cast<std::size_t>(p), false);
    for (int e = 0; e < p; ++e) {
        for (int c = 0; c < p; ++c) {
            if (lambda(e) > grenze) varianz(c) += v(c, e) * v(c, e) / lambda(e);
            else if (std::fabs(v(c, e)) > 1e-6) unbestimmt[static_cast<std::size_t>(c)] = true;
        }
    }
    for (int c = 0; c < p; ++c)
        sigma[static_cast<std::size_t>(freie[static_cast<std::size_t>(c)])] =
            unbestimmt[static_cast<std::size_t>(c)] ? std::numeric_limits<double>::infinity()
                                                     : std::sqrt(varianz(c));
    return true;
}
