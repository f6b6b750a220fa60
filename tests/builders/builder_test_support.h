#pragma once
// Small helpers shared by the builder tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/section_model.h"
#include "model/section_properties.h"

namespace qav::test {

inline void expectPoint(const TPOS& p, double x, double y, const std::string& what) {
    EXPECT_NEAR(p.X, x, 1e-9) << what;
    EXPECT_NEAR(p.Y, y, 1e-9) << what;
}

// Signed shoelace area of corners 0..n-1.
inline double area(const std::vector<TPOS>& pt, int n) {
    return polygonMeasure(pt, n).A;
}

}  // namespace qav::test
