#include "analysis/fibre_arrays.h"

#include "analysis/material_laws.h"

namespace qav {

FibreArrays::FibreArrays(const SectionModel& m) {
    const int n = m.NFIB;
    for (int j = 1; j <= n; ++j) {
        const TFIB& f = m.FIB[static_cast<std::size_t>(j)];
        switch (f.TY) {
            case FIB_CORE_CONCRETE:
            case FIB_COVER_CONCRETE:
                concX.push_back(f.X);
                concY.push_back(f.Y);
                concArea.push_back(f.AREA);
                concFc.push_back(f.FC);
                concEps0.push_back(f.EPS_0);
                concFibre.push_back(j);
                break;
            case FIB_STEEL:
            case FIB_REBAR:
                steelX.push_back(f.X);
                steelY.push_back(f.Y);
                steelArea.push_back(f.AREA);
                steelFy.push_back(f.FY1);
                steelFibre.push_back(j);
                break;
            default: {
                const double force = f.STRESS * f.AREA;
                fixedForce[0] += force;
                fixedForce[1] += force * f.X;
                fixedForce[2] += force * f.Y;
                ++otherCount;
            }
        }
    }
    for (int j = 1; j <= m.NCFIB; ++j) {
        cpX.push_back(m.CFIB[static_cast<std::size_t>(j)].X);
        cpY.push_back(m.CFIB[static_cast<std::size_t>(j)].Y);
    }
}

void sumFibreForces(const FibreArrays& f, const double abc[3], double ss[3]) {
    const double a1 = abc[0], a2 = abc[1], a3 = abc[2];
    // Two independent sets of sums let consecutive fibres overlap in the pipeline.
    double n0 = 0, x0 = 0, y0 = 0, n1 = 0, x1 = 0, y1 = 0;
    {
        const double* X = f.concX.data();
        const double* Y = f.concY.data();
        const double* A = f.concArea.data();
        const double* FC = f.concFc.data();
        const double* E0 = f.concEps0.data();
        const std::size_t n = f.concX.size();
        std::size_t j = 0;
        for (; j + 1 < n; j += 2) {
            double s0, s1;
            CONCRETE01(FC[j], E0[j], a1 + a2 * X[j] + a3 * Y[j], s0);
            CONCRETE01(FC[j + 1], E0[j + 1], a1 + a2 * X[j + 1] + a3 * Y[j + 1], s1);
            const double f0 = s0 * A[j], f1 = s1 * A[j + 1];
            n0 += f0;
            x0 += f0 * X[j];
            y0 += f0 * Y[j];
            n1 += f1;
            x1 += f1 * X[j + 1];
            y1 += f1 * Y[j + 1];
        }
        if (j < n) {
            double s0;
            CONCRETE01(FC[j], E0[j], a1 + a2 * X[j] + a3 * Y[j], s0);
            const double f0 = s0 * A[j];
            n0 += f0;
            x0 += f0 * X[j];
            y0 += f0 * Y[j];
        }
    }
    {
        const double* X = f.steelX.data();
        const double* Y = f.steelY.data();
        const double* A = f.steelArea.data();
        const double* FY = f.steelFy.data();
        const std::size_t n = f.steelX.size();
        for (std::size_t j = 0; j < n; ++j) {
            double s;
            STEEL01(STEEL_LAW_MODULUS, FY[j], a1 + a2 * X[j] + a3 * Y[j], s);
            const double force = s * A[j];
            n1 += force;
            x1 += force * X[j];
            y1 += force * Y[j];
        }
    }
    ss[0] = n0 + n1 + f.fixedForce[0];
    ss[1] = x0 + x1 + f.fixedForce[1];
    ss[2] = y0 + y1 + f.fixedForce[2];
}

void storeFibreState(const FibreArrays& f, const double abc[3], SectionModel& m) {
    for (std::size_t j = 0; j < f.concX.size(); ++j) {
        TFIB& fib = m.FIB[static_cast<std::size_t>(f.concFibre[j])];
        fib.EPS = abc[0] + abc[1] * f.concX[j] + abc[2] * f.concY[j];
        CONCRETE01(f.concFc[j], f.concEps0[j], fib.EPS, fib.STRESS);
    }
    for (std::size_t j = 0; j < f.steelX.size(); ++j) {
        TFIB& fib = m.FIB[static_cast<std::size_t>(f.steelFibre[j])];
        fib.EPS = abc[0] + abc[1] * f.steelX[j] + abc[2] * f.steelY[j];
        STEEL01(STEEL_LAW_MODULUS, f.steelFy[j], fib.EPS, fib.STRESS);
    }
    // Fibres of other kinds: the strain is stored, the stress stays.
    if (f.otherCount == 0) return;
    for (int j = 1; j <= m.NFIB; ++j) {
        TFIB& fib = m.FIB[static_cast<std::size_t>(j)];
        if (fib.TY < 1 || fib.TY > 4) fib.EPS = abc[0] + abc[1] * fib.X + abc[2] * fib.Y;
    }
}

}  // namespace qav
