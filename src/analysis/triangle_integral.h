#pragma once
// A law of stress on strain integrated exactly over a triangle whose strain varies linearly, so
// that a coarse mesh gives the forces a fine one tends to. Strain and stress are positive in
// compression; lengths in mm, forces in N.
#include <array>
#include <cstddef>
#include <vector>

namespace qav {

// The smooth laws a triangle may follow, each in pieces between its breakpoints.
struct TriangleLaw {
    enum class Kind {
        Concrete,  // fc [1 - (1 - eps/eps0)^n] on (0, eps0), fc above, nothing in tension
        Steel,     // modulus x eps within +-eps0 (the yield strain), +-fc beyond
    };
    Kind kind = Kind::Concrete;
    double fc = 0;    // peak stress (concrete) or yield stress (steel)
    double eps0 = 0;  // strain at the peak (concrete) or at yield (steel)
    double n = 2;     // the concrete's exponent
    double modulus = 0;
};

// Forces (N, N x, N y) and the tangent: the integrals of the law's slope times
// (1, x, y)(1, x, y)^T as (S, SX, SY, SXX, SXY, SYY), the exact derivative of the forces by the
// plane, as the law is continuous.
struct TriangleIntegral {
    double N = 0, MX = 0, MY = 0;
    std::array<double, 6> k{};
};

// The integrals of 1, x, y, x x, x y, y y, x x x, x x y, x y y, y y y over a triangle: what a
// polynomial law of degree 2 needs for its forces and tangent.
using TriangleMoments = std::array<double, 10>;
TriangleMoments triangleMoments(const double c[6]);

// The law over the triangle of corners c (x0, y0, x1, y1, x2, y2, either way round) under the
// strain plane[0] + plane[1] x + plane[2] y. The triangle is cut where the strain passes a
// corner's and the law's breakpoints; on each piece a polynomial law is integrated by a
// Gauss-Legendre rule that is exact for it, and a power of non-integer exponent in closed form.
// The tangent is only computed when withTangent is set.
TriangleIntegral integrateTriangle(const double c[6], const double plane[3], const TriangleLaw& law,
                                   bool withTangent);

// Triangles as the exact integration reads them: one array per corner coordinate (x0, y0, x1,
// y1, x2, y2) and per moment (triangleMoments), so that four triangles are put on the law's
// pieces at once.
struct TriangleArrays {
    std::array<std::vector<double>, 6> corner;
    std::array<std::vector<double>, 10> moment;
    void resize(std::size_t n);
    // Triangle i: its corners and their moments.
    void set(std::size_t i, const double c[6]);
    void cornersOf(std::size_t i, double c[6]) const;
    TriangleMoments momentsOf(std::size_t i) const;
};

// The law over the triangles [begin, end): the sums integrateTriangle gives triangle by
// triangle, but the triangles wholly on one polynomial piece of the law only add their moments,
// the law applied to the sums once.
TriangleIntegral integrateTriangles(const TriangleArrays& t, std::size_t begin, std::size_t end,
                                    const double plane[3], const TriangleLaw& law,
                                    bool withTangent);

}  // namespace qav
