#pragma once
// The load-check benchmarks' input: the 42 sample rows over and over, each combination a little
// different so that no two solves are the same.
#include <string>
#include <vector>

#include "interchange/force_csv.h"
#include "model/section_model.h"

namespace qav::bench {

inline void importSampleCombinations(SectionModel& m, int count) {
    std::vector<std::string> lines{"no.,Load,P,M2,M3"};
    const auto& sample = SAMPLE_FORCE_CSV();
    for (int i = 0; i < count; ++i) lines.push_back(sample[1 + static_cast<std::size_t>(i % 42)]);
    IMPORT_FORCE_CSV(m, lines, ForceUnits::N_mm);
    for (int i = 1; i <= m.document.NFORCE; ++i)
        m.document.FORCE[static_cast<std::size_t>(i)].P *= 1 + i * 1e-5;
}

}  // namespace qav::bench
