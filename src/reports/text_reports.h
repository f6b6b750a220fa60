#pragma once
// The fixed-width text reports: curve listings, the section data block, the section summary
// and the two result tables. Each clears its list and fills it; the caller owns the list.
#include <string>
#include <vector>

#include "model/section_model.h"

namespace qav {

// The steps n of the stored curves, as the listings count them (-1 when there is no curve):
// P-M points 1 .. 2 n + 2 of PM_P and PM_M, Myy-Mxx points 0 .. n of MM_MX and MM_MY.
int pmSteps(const SectionResults& r);
int mmSteps(const SectionResults& r);
inline int pmSteps(const SectionModel& m) {
    return pmSteps(m.results);
}
inline int mmSteps(const SectionModel& m) {
    return mmSteps(m.results);
}

// "Axial_Force,   Moment_M," then one line per point 1 .. 2 NPM + 2.
void GEN_PM_CURVE_TEXT(const SectionModel& m, std::vector<std::string>& DATA);
// "  Moment_Myy  Moment_Mxx" then one line per point 0 .. NMM.
void GEN_MM_CURVE_TEXT(const SectionModel& m, std::vector<std::string>& DATA);
// The M-Phi listing of points 0 .. NSTEP.
void GEN_M_fai_CURVE_TEXT(const SectionModel& m, int NSTEP, std::vector<std::string>& DATA);
// The M-Phi curve the model holds as CSV a spreadsheet reads: a header naming each column with
// its unit, then one row per step (moment, curvature).
std::vector<std::string> mphiCsvLines(const SectionModel& m);
// "PMM_CURVE_DATA": two heading lines, then 2 NPM + 2 lines per curve of the PMM surface.
void GEN_PMM_CURVE_TEXT(const SectionModel& m, std::vector<std::string>& DATA);
// Materials, section properties and, after a load check, the critical combination.
void GEN_SECTION_DATA_TEXT(const SectionModel& m, std::vector<std::string>& DATA);
// Materials and mesh size, outline, cover line, bars, steel polygons and openings.
void GEN_SECTION_SUMMARY(const SectionModel& m, std::vector<std::string>& DATA);
// The P-M points in two halves side by side, under the heading angle ANG.
void GEN_PM_analysis_result(const SectionResults& r, std::vector<std::string>& data, double ANG);
inline void GEN_PM_analysis_result(const SectionModel& m, std::vector<std::string>& data,
                                   double ANG) {
    GEN_PM_analysis_result(m.results, data, ANG);
}
// The Myy-Mxx points under the heading axial force AXIAL.
void GEN_MM_analysis_result(const SectionResults& r, std::vector<std::string>& data, double AXIAL);
inline void GEN_MM_analysis_result(const SectionModel& m, std::vector<std::string>& data,
                                   double AXIAL) {
    GEN_MM_analysis_result(m.results, data, AXIAL);
}

}  // namespace qav
