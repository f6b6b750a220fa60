#include "reports/code_comparison.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "analysis/interaction_curves.h"
#include "mesh/section_sync.h"
#include "model/code_convert.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "reports/chart_plot.h"

namespace qav {

namespace {

// Passes each message on with the code it came from in front.
class CodeMessages : public Messages {
public:
    CodeMessages(Messages& to, CodeId code) : to_(to), code_(code) {}
    void message(const std::string& text) override {
        to_.message(std::string(codeName(code_)) + ": " + text);
    }

private:
    Messages& to_;
    CodeId code_;
};

// A progress that maps one run's 0..100 onto its share of the whole comparison.
class ShareProgress : public Progress {
public:
    ShareProgress(Progress* whole, int run, int runs) : whole_(whole), run_(run), runs_(runs) {}
    void setPosition(int percent) override {
        if (whole_) whole_->setPosition((100 * run_ + percent) / runs_);
    }
    bool cancelled() const override { return whole_ && whole_->cancelled(); }

private:
    Progress* whole_;
    int run_, runs_;
};

void addStats(RunStats& all, const RunStats& s) {
    all.solves += s.solves;
    all.notConverged += s.notConverged;
    all.iterations += s.iterations;
    all.fibreEvaluations += s.fibreEvaluations;
    all.singular += s.singular;
    all.fellBack += s.fellBack;
    if (!(s.worstResidual <= all.worstResidual)) all.worstResidual = s.worstResidual;
    all.cancelled = all.cancelled || s.cancelled;
}

// The grades a curve's section takes: its concrete, its bars' grade where it has bars and its
// steel shapes' grade where it has any.
std::string gradeNames(const SectionModel& m) {
    const SectionDocument& d = m.document;
    std::string out;
    auto add = [&](bool used, const std::vector<TMAT>& table, int32_t count, int32_t use) {
        const int32_t slot = use + 1;
        if (!used || slot < 1 || slot > count || static_cast<std::size_t>(slot) >= table.size())
            return;
        if (!out.empty()) out += ", ";
        out += table[static_cast<std::size_t>(slot)].NAME;
    };
    add(d.NCONC_PT > 0, d.CONC_MAT, d.NCONCMAT, d.USE_CONC);
    add(d.NBAR > 0, d.STEEL_MAT, d.NSTEELMAT, d.USE_REBAR);
    add(d.NSTEEL_SEC > 0, d.STEEL_MAT, d.NSTEELMAT, d.USE_STEEL);
    return out;
}

CodeCurve runUnder(const SectionModel& m, CodeId code, double angle, Messages& msgs,
                   Progress* progress, RunStats& stats) {
    SectionModel copy = m;
    CodeCurve c;
    c.code = code;
    const CodeConversion conversion = convertSectionCode(copy, code);
    if (!conversion.ok) {
        c.notCompared = conversion.error;
        msgs.message(std::string(codeName(code)) + " is not compared: " + conversion.error);
        return c;
    }
    c.grades = conversion.messages;
    c.gradeNames = gradeNames(copy);
    SYNC_SECTION_STATE(copy);  // the fibres take the code's grades
    requireFibres(copy);
    copy.settings.STRAIN_LIMIT = StrainLimit::Code;
    copy.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(copy);
    CodeMessages named(msgs, code);
    addStats(stats, RUN_PM_CURVE_ANALYSIS(copy, angle, named, progress));
    SectionResults& r = copy.results;
    c.P = std::move(r.PM_P);
    c.M = std::move(r.PM_M);
    c.converged = std::move(r.PM_CONVERGED);
    c.nominalP = std::move(r.PM_NOM_P);
    c.nominalM = std::move(r.PM_NOM_M);
    return c;
}

int lastPoint(const std::vector<double>& a, const std::vector<double>& b) {
    return static_cast<int>(std::min(a.size(), b.size())) - 1;
}

Color colorOf(CodeId code) {
    switch (code) {
        case CodeId::Ec2:
            return colors::green;
        case CodeId::Aci318:
            return colors::red;
        default:
            return colors::blue;
    }
}

void drawLine(Canvas& c, const Plot& p, const std::vector<double>& ms,
              const std::vector<double>& ps, Pen pen) {
    c.pen = pen;
    drawPolyline(c, p, ms, ps, 1, lastPoint(ms, ps));
}

// One legend row: a short line in the curve's pen, then its name.
void legendRow(Canvas& c, int x, int y, int K, Pen pen, const std::string& text) {
    const int h = c.textHeight(text);
    c.pen = pen;
    c.line(x, y + h / 2, x + 24 * K, y + h / 2);
    c.textOut(x + 30 * K, y, text);
}

}  // namespace

CodeComparison compareCodes(const SectionModel& m, double angle, Messages& msgs,
                            Progress* progress) {
    requireFibres(m);
    CodeComparison r;
    r.angle = angle;
    const int runs = static_cast<int>(std::size(COMPARED_CODES));
    for (int k = 0; k < runs; ++k) {
        ShareProgress share(progress, k, runs);
        r.curves.push_back(
            runUnder(m, COMPARED_CODES[static_cast<std::size_t>(k)], angle, msgs, &share, r.stats));
        if (r.stats.cancelled) break;
    }
    return r;
}

void drawCodeComparison(Canvas& c, const CodeComparison& cmp, const ChartFrame& f) {
    const int K = f.K;
    c.font.name = "Courier New";
    c.font.size = 8;
    c.pen = Pen{};
    c.brush = Brush{colors::white, BrushStyle::Solid};
    Range P, M;
    for (const CodeCurve& k : cmp.curves)
        for (const auto& [ms, ps] : {std::pair{&k.M, &k.P}, {&k.nominalM, &k.nominalP}})
            addToRanges(M, P, *ms, *ps, 1, lastPoint(*ms, *ps));
    Plot p{f};
    setPmScales(p, M, P);
    const std::string title = "P-M Curve by code (code limits)";
    if (!P.any || !M.any || !p.usable()) {
        drawEmptyChart(c, f.X0, f.Y0, f.W, f.H, f.X0 + 10 * K, f.Y0 + 10 * K, title,
                       "No P-M curve to draw: the curves hold no range.");
        return;
    }
    c.rectangle(f.X0, f.Y0, f.X0 + f.W, f.Y0 + f.H);
    const int G = p.G;
    c.brush.style = BrushStyle::Clear;
    c.textOut(f.X0 + 10 * K, f.Y0 + 10 * K, title);
    const std::string xTitle = "Moment[kNm]";
    c.textOut(f.X0 + Round(f.W / 2.0) - half(c.textWidth(xTitle)),
              f.Y0 + (f.H - G) + c.textHeight(xTitle), xTitle);
    const std::string angle = "Moment angle = " + AngleText(cmp.angle);
    c.textOut(f.X0 + (f.W - G) - c.textWidth(angle), f.Y0 + G - c.textHeight(angle) - 5 * K, angle);
    const std::string yTitle = "Axial Force[kN]";
    DRAW_ROTATED_TEXT(c, yTitle, f.X0 + G - c.textHeight(yTitle) - 20 * K,
                      f.Y0 + Round(f.H / 2.0) + half(c.textWidth(yTitle)), 90, 8);
    drawGrid(c, p, pmGridStyle(f, G));

    struct Entry {
        Pen pen;
        std::string text;
    };
    std::vector<Entry> legend;
    for (const CodeCurve& k : cmp.curves) {
        const std::string name = codeName(k.code);
        if (!k.notCompared.empty()) {
            legend.push_back({Pen{colorOf(k.code), 1, PenStyle::Clear},
                              name + ": no grade at or below the section's"});
            continue;
        }
        const Pen solid{colorOf(k.code), 2, PenStyle::Solid};
        const Pen dashed{colorOf(k.code), 1, PenStyle::Dash};
        const bool nominal = lastPoint(k.nominalM, k.nominalP) >= 1;
        if (nominal) drawLine(c, p, k.nominalM, k.nominalP, dashed);
        drawLine(c, p, k.M, k.P, solid);
        const std::string grades = k.gradeNames.empty() ? "" : " (" + k.gradeNames + ")";
        legend.push_back({solid, name + (nominal ? " design" : "") + grades});
        if (nominal) legend.push_back({dashed, name + " nominal"});
    }
    // The legend under the moment axis's title, clear of every curve: its entries side by side,
    // a new row where the next would leave the frame (the grades make the names long).
    const int lineH = c.textHeight("Xg") + 2 * K;
    const int left = f.X0 + G, right = f.X0 + f.W;
    int x = left, y = f.Y0 + (f.H - G) + 2 * c.textHeight(xTitle) + 2 * K;
    c.brush.style = BrushStyle::Clear;
    for (const Entry& e : legend) {
        const int w = c.textWidth(e.text) + 40 * K;
        if (x > left && x + w > right) x = left, y += lineH;
        legendRow(c, x, y, K, e.pen, e.text);
        x += w;
    }
    c.pen = Pen{};
    c.brush.style = BrushStyle::Solid;
}

}  // namespace qav
