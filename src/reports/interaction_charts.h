#pragma once
// The interaction curve charts: the P-M curve at a moment angle and the Myy-Mxx curve at an
// axial load, each with its grid, labelled axes, a title naming the design code and, when asked,
// the load combinations as small circles. Drawn on screen with K = 1 and on the printed figure
// report with K = 7.
#include <string>
#include <vector>

#include "canvas/canvas.h"
#include "model/section_model.h"
#include "reports/chart_frame.h"

namespace qav {

// Labelled points drawn over a P-M chart (moment, axial force; kN, kNm), with one line that
// explains their labels.
struct ChartMarker {
    double m = 0, p = 0;
    std::string label;
};
struct ChartMarkers {
    std::vector<ChartMarker> points;
    std::string legend;
};

// The loads a chart draws as its own: a P-M chart those within PM_LOAD_BAND degrees of its
// moment angle (or the opposite one), a Myy-Mxx chart those within MM_LOAD_BAND of its axial force
// (at least MM_LOAD_BAND_MIN kN); the others are drawn as crosses, with a legend line.
inline constexpr double PM_LOAD_BAND = 5.0;
inline constexpr double MM_LOAD_BAND = 0.05;
inline constexpr double MM_LOAD_BAND_MIN = 10.0;

// The P-M chart of the model's PM_P / PM_M; SANG is the moment angle (degrees) the curve was
// computed with. A curve without a moment or axial range draws the frame, title and a note.
// Markers, when given, are drawn last.
// The results drawn may be the model's own or a run's kept apart (r); the loads, the code and the
// key points come from the model.
void GEN_PM_CURVE_IMAGE(Canvas& canvas, const SectionModel& m, const SectionResults& r,
                        const ChartFrame& frame, double SANG, LoadMarks marks,
                        const ChartMarkers& markers = {});
inline void GEN_PM_CURVE_IMAGE(Canvas& canvas, const SectionModel& m, const ChartFrame& frame,
                               double SANG, LoadMarks marks, const ChartMarkers& markers = {}) {
    GEN_PM_CURVE_IMAGE(canvas, m, m.results, frame, SANG, marks, markers);
}

// The Myy-Mxx chart of the model's MM_MX / MM_MY; axialLoad (kN) is shown in the title line.
// The font face is the canvas's own. printed: the rotated label as on the printed page.
void GEN_MM_CURVE_IMAGE(Canvas& canvas, const SectionModel& m, const SectionResults& r,
                        const ChartFrame& frame, double axialLoad, LoadMarks marks,
                        bool printed = false);
inline void GEN_MM_CURVE_IMAGE(Canvas& canvas, const SectionModel& m, const ChartFrame& frame,
                               double axialLoad, LoadMarks marks, bool printed = false) {
    GEN_MM_CURVE_IMAGE(canvas, m, m.results, frame, axialLoad, marks, printed);
}

// The same charts on a printed page, in the box (SX, SY) WX x WY with K = 7.
void PRINT_PM_CURVE_IMAGE_PDF(Canvas& canvas, const SectionModel& m, const SectionResults& r,
                              int SX, int SY, int WX, int WY, double SANG, LoadMarks marks);
void PRINT_MM_CURVE_IMAGE_PDF(Canvas& canvas, const SectionModel& m, const SectionResults& r,
                              int SX, int SY, int WX, int WY, double axialLoad, LoadMarks marks);

// The P-M chart's title for the design code (the general setting's index).
std::string pmChartTitle(int designCode);
std::string mmChartTitle(int designCode);
// The titles for the code the section is under (sectionCode) and the ultimate limit in force.
std::string pmChartTitle(const SectionModel& m);
std::string mmChartTitle(const SectionModel& m);

}  // namespace qav
