#include "mesh/fibre_clip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "mesh/geometer.h"

using namespace qav;

namespace {
// The area of polygon p inside triangle t: p cut by t's three half-planes (the cut of a
// non-convex p may run along an edge twice, which adds no area).
double overlap(const ClipTriangle& t, ClipPolygon p) {
    const ClipPoint c[] = {t.a, t.b, t.c};
    const double turn = triangleArea(t) > 0 ? 1 : -1;
    for (int e = 0; e < 3; ++e) {
        auto side = [&](const ClipPoint& v) {
            const ClipPoint &o = c[e], &d = c[(e + 1) % 3];
            return turn * ((d.x - o.x) * (v.y - o.y) - (d.y - o.y) * (v.x - o.x));
        };
        ClipPolygon kept;
        for (std::size_t i = 0; i < p.size(); ++i) {
            const ClipPoint &v = p[i], &w = p[(i + 1) % p.size()];
            if (side(v) >= 0) kept.push_back(v);
            if ((side(v) >= 0) != (side(w) >= 0)) {
                const double f = side(v) / (side(v) - side(w));
                kept.push_back({v.x + (w.x - v.x) * f, v.y + (w.y - v.y) * f});
            }
        }
        p = kept;
    }
    double twice = 0;
    for (std::size_t i = 0; i < p.size(); ++i)
        twice += p[i].x * p[(i + 1) % p.size()].y - p[(i + 1) % p.size()].x * p[i].y;
    return std::fabs(twice) / 2;
}

bool centroidInside(const ClipTriangle& t, const ClipPolygon& p) {
    std::vector<Geometer::TGPointF> corners;
    for (const ClipPoint& c : p) corners.push_back({c.x, c.y});
    const Geometer::TGPointF o{(t.a.x + t.b.x + t.c.x) / 3, (t.a.y + t.b.y + t.c.y) / 3};
    return Geometer::PointInPolygon(corners.data(), static_cast<int>(corners.size()), o) ==
           Geometer::PIP_INSIDE;
}

// A star-shaped polygon (mostly not convex) around (x, y), either way round; no two corners
// more than half a turn apart, so its sides never cross.
ClipPolygon star(std::mt19937& rng, double x, double y) {
    std::uniform_real_distribution<double> unit(0, 1);
    const int n = 3 + static_cast<int>(unit(rng) * 10);
    ClipPolygon p;
    for (int k = 0; k < n; ++k) {
        const double a = 2 * std::numbers::pi * (k + 0.9 * unit(rng)) / n;
        const double r = 10 + 110 * unit(rng);
        p.push_back({x + r * std::cos(a), y + r * std::sin(a)});
    }
    if (unit(rng) < 0.5) std::reverse(p.begin(), p.end());
    return p;
}
}  // namespace

TEST(FibreClip, PiecesMakeUpTheTriangleAndLieWhollyInOrOutOfEveryPolygon) {
    std::mt19937 rng(20261210);
    std::uniform_real_distribution<double> coord(-100, 100);
    int splits = 0;
    for (int trial = 0; trial < 400; ++trial) {
        ClipTriangle t{
            {coord(rng), coord(rng)}, {coord(rng), coord(rng)}, {coord(rng), coord(rng)}};
        std::vector<ClipPolygon> polygons;
        for (int k = 0; k <= trial % 3; ++k) polygons.push_back(star(rng, coord(rng), coord(rng)));
        if (trial % 5 == 0) t.b = polygons[0][0];  // a polygon corner on the triangle's corner
        const double whole = triangleArea(t);
        if (std::fabs(whole) < 1) continue;

        std::vector<ClipTriangle> pieces;
        if (SectionSides(polygons).split(t, pieces))
            ++splits;
        else
            pieces = {t};
        double sum = 0;
        for (const ClipTriangle& f : pieces) sum += std::fabs(triangleArea(f));
        EXPECT_NEAR(sum, std::fabs(whole), 1e-9 * std::fabs(whole)) << "trial " << trial;
        for (const ClipPolygon& p : polygons) {
            double inside = 0;
            for (const ClipTriangle& f : pieces) {
                const double a = std::fabs(triangleArea(f)), in = overlap(f, p);
                const bool centroid = centroidInside(f, p);
                EXPECT_NEAR(in, centroid ? a : 0, 1e-7 * std::fabs(whole))
                    << "trial " << trial << ": a piece is in or out as its centroid is";
                inside += centroid ? a : 0;
            }
            EXPECT_NEAR(inside, overlap(t, p), 1e-9 * std::fabs(whole)) << "trial " << trial;
        }
    }
    EXPECT_GT(splits, 200) << "most trials cut something";
}

TEST(FibreClip, SidesAlongAnEdgeOrThroughACornerLeaveTheTriangleWhole) {
    const ClipTriangle t{{0, 0}, {100, 0}, {0, 100}};
    const std::vector<std::vector<ClipPolygon>> untouched = {
        {{{0, 0}, {100, 0}, {100, -50}, {0, -50}}},     // below, sharing the edge a-b
        {{{-10, 0}, {0, 0}, {0, 100}, {-10, 100}}},     // left, along the edge a-c
        {{{100, 0}, {150, 20}, {150, -20}}},            // a corner on b
        {{{50, 50}, {150, 100}, {100, 150}}},           // a corner on the edge b-c
        {{{0, 0}, {100, 0}, {100, 1e-12}, {0, 1e-12}}}  // a hair above a-b: rounding
    };
    for (std::size_t k = 0; k < untouched.size(); ++k) {
        std::vector<ClipTriangle> pieces;
        EXPECT_FALSE(SectionSides(untouched[k]).split(t, pieces)) << "case " << k;
        EXPECT_TRUE(pieces.empty()) << "case " << k;
    }
}
