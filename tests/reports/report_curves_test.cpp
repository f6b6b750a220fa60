// The curves of the printed reports, the tables and the workbook run side by side: the same
// documents and tables for any thread count, the model as after the curves one after the other,
// and nothing changed by a run that is cancelled or fails.
#include "reports/report_curves.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/example_sections.h"
#include "analysis/interaction_curves.h"
#include "mesh/mesh_command.h"
#include "model/errors.h"
#include "model/section_file.h"
#include "reports/export_tables.h"
#include "reports/printed_pages.h"

using namespace qav;

namespace {

SectionModel meshedExample(int threads) {
    return qav::test::meshedExample("rectangular_column", {.npm = 6, .nmm = 8, .threads = threads});
}

// Every call of every page as text: what a printer would be given.
std::string documentText(const RecordedDocument& doc) {
    std::string s;
    for (int p = 0; p < doc.pageCount(); ++p) {
        for (const auto& c : doc.pageAt(p).calls()) {
            s += std::to_string(static_cast<int>(c.kind)) + " " + c.font.name + " " +
                 std::to_string(c.font.size);
            for (const Point& pt : c.points)
                s += " " + std::to_string(pt.x) + "," + std::to_string(pt.y);
            s += " " + c.text + "\n";
        }
        s += "-- page\n";
    }
    return s;
}

std::string tablesText(const std::vector<DataTable>& tables) {
    std::string s;
    for (const DataTable& t : tables) {
        for (const std::string& line : tableCsvLines(t)) s += line + "\n";
        s += "-- table\n";
    }
    return s;
}

// The results a curve run leaves in the model, bit for bit.
struct Results {
    double PMAX, PMIN;
    std::vector<double> P, MX, MY, M, mmX, mmY, fibreEps, fibreStress, pointEps;
    int mode;
    bool operator==(const Results&) const = default;
};

Results resultsOf(const SectionModel& m) {
    Results r{m.results.PMAX,
              m.results.PMIN,
              m.results.PM_P,
              m.results.PM_MX,
              m.results.PM_MY,
              m.results.PM_M,
              m.results.MM_MX,
              m.results.MM_MY,
              {},
              {},
              {},
              m.results.STRAIN_LIMIT_MODE};
    for (const TFIB& f : m.mesh.FIB) {
        r.fibreEps.push_back(f.EPS);
        r.fibreStress.push_back(f.STRESS);
    }
    for (const TCFIB& c : m.mesh.CFIB) r.pointEps.push_back(c.EPS);
    return r;
}

// Cancels once it has been moved or asked `steps` times in all (a run on worker threads may
// be over before the calling thread moves the progress again; it still asks once at the end).
class CancelAfter : public Progress {
public:
    explicit CancelAfter(int steps) : left_(steps) {}
    void setPosition(int) override { --left_; }
    bool cancelled() const override { return --left_ < 0; }

private:
    mutable int left_;
};

const ReportInputs kInputs{{}, [] { return 30.0; }, [] { return 500.0; }};

}  // namespace

TEST(ReportCurves, DocumentsAndTablesAreTheSameOnOneAndFourThreads) {
    struct Out {
        std::string figure, text, tables;
        Results model;
        std::vector<std::string> messages;
    };
    auto produce = [](int threads) {
        Out o;
        SectionModel m = meshedExample(threads);
        MessageLog log;
        NullProgress progress;
        RecordedDocument figure, text;
        printFigureReport(figure, m, kInputs, log, progress);
        printTextReport(text, m, kInputs, log, progress);
        o.figure = documentText(figure);
        o.text = documentText(text);
        o.tables = tablesText(makeAllTables(m, "30", "500", log));
        o.model = resultsOf(m);
        for (const auto& e : log.entries()) o.messages.push_back(e.text);
        return o;
    };
    const Out one = produce(1);
    const Out four = produce(4);
    EXPECT_NE(one.text.find("P-M Angle = 30.0"), std::string::npos);
    EXPECT_NE(one.tables.find("NUM,Moment(My),Moment(Mx),"), std::string::npos);
    EXPECT_EQ(one.figure, four.figure);
    EXPECT_EQ(one.text, four.text);
    EXPECT_EQ(one.tables, four.tables);
    EXPECT_TRUE(one.model == four.model);
    EXPECT_EQ(one.messages, four.messages);
}

TEST(ReportCurves, ModelEndsAsAfterTheCurvesOneAfterTheOther) {
    for (int threads : {1, 4}) {
        SectionModel side = meshedExample(threads);
        SectionModel inTurn = meshedExample(1);
        NullMessages quiet;
        // The text report's four curves, then the workbook's four (last entry first).
        NullProgress progress;
        RecordedDocument doc;
        printTextReport(doc, side, kInputs, quiet, progress);
        inTurn.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(inTurn);
        for (double angle : {0.0, 90.0, 30.0}) RUN_PM_CURVE_ANALYSIS(inTurn, angle, quiet);
        RUN_MM_CURVE_ANALYSIS(inTurn, 500, quiet);
        EXPECT_TRUE(resultsOf(side) == resultsOf(inTurn)) << threads << " threads, text report";

        makeAllTables(side, "30", "500", quiet);
        RUN_MM_CURVE_ANALYSIS(inTurn, 500, quiet);
        for (double angle : {30.0, 90.0, 0.0}) RUN_PM_CURVE_ANALYSIS(inTurn, angle, quiet);
        EXPECT_TRUE(resultsOf(side) == resultsOf(inTurn)) << threads << " threads, workbook";
    }
}

TEST(ReportCurves, CancelledOrFailedRunLeavesTheModelAsItWas) {
    using Run = std::function<void(SectionModel&, Messages&, Progress&)>;
    struct Case {
        const char* name;
        Run run;
    };
    const Case cases[] = {
        {"figure report",
         [](SectionModel& m, Messages& l, Progress& p) {
             RecordedDocument doc;
             printFigureReport(doc, m, kInputs, l, p);
         }},
        {"text report",
         [](SectionModel& m, Messages& l, Progress& p) {
             RecordedDocument doc;
             printTextReport(doc, m, kInputs, l, p);
         }},
        {"workbook",
         [](SectionModel& m, Messages& l, Progress& p) { makeAllTables(m, "30", "500", l, &p); }},
        {"one table",
         [](SectionModel& m, Messages& l, Progress& p) {
             DataTable grid;
             showTableEntry(m, 15, "30", "500", l, grid, &p);
         }},
    };
    for (int threads : {1, 4}) {
        for (const Case& c : cases) {
            SectionModel m = meshedExample(threads);
            m.settings.NPM = 200;  // long enough for the progress to move many times
            NullMessages quiet;
            // Results of an earlier run, which a stopped run must not touch.
            RUN_PM_CURVE_ANALYSIS(m, 17, quiet);
            RUN_MM_CURVE_ANALYSIS(m, 800, quiet);
            const Results before = resultsOf(m);

            MessageLog log;
            CancelAfter cancel(2);
            EXPECT_THROW(c.run(m, log, cancel), RunCancelled)
                << c.name << ", " << threads << " threads";
            EXPECT_TRUE(resultsOf(m) == before)
                << c.name << ", " << threads << " threads: cancelled";
            EXPECT_TRUE(log.empty()) << c.name << ": a cancelled run says nothing";

            // An axial force beyond what the section carries fails the Myy-Mxx curve.
            m.settings.NMM = 8;
            DataTable grid;
            EXPECT_THROW(makeAllTables(m, "30", "1e9", log), InputError) << threads << " threads";
            EXPECT_THROW(showTableEntry(m, 16, "30", "1e9", log, grid), InputError);
            RecordedDocument doc;
            NullProgress progress;
            EXPECT_THROW(printTextReport(doc, m, {{}, [] { return 30.0; }, [] { return 1e9; }}, log,
                                         progress),
                         InputError);
            EXPECT_TRUE(resultsOf(m) == before) << c.name << ", " << threads << " threads: failed";
        }
    }
}

TEST(ReportCurves, UnconvergedSolvesAreCountedOnceForTheRun) {
    SectionModel m = meshedExample(2);
    // The reference iteration leaves biaxial solves near pure tension unconverged.
    m.settings.SOLVER = SolverKind::Reference;
    MessageLog log;
    NullProgress progress;
    RecordedDocument doc;
    printTextReport(doc, m, kInputs, log, progress);
    const ReportCurves runs(m, {pmCurve(0), pmCurve(90), pmCurve(30), mmCurve(500)}, nullptr);
    const RunStats s = runs.stats();
    ASSERT_GT(s.notConverged, 0) << "the case needs unconverged solves";
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.entries().back().text, unconvergedText(s));
    std::size_t counts = 0;
    for (const auto& e : log.entries())
        if (e.text.find("did not converge") != std::string::npos) ++counts;
    EXPECT_EQ(counts, 1u) << "one count for the four curves";

    // The points of those solves are flagged, no more than the solves, and the tables of the same
    // curves say "no" for each in an added last column.
    long long flagged = 0, no = 0;
    for (int k = 0; k < runs.count(); ++k) {
        const std::vector<uint8_t>& f =
            k < 3 ? runs.result(k).PM_CONVERGED : runs.result(k).MM_CONVERGED;
        flagged += std::count(f.begin(), f.end(), 0);
    }
    for (const DataTable& t : makeAllTables(m, "30", "500", log))
        for (const auto& row : t.rows) no += !row.empty() && row.back().text == "no";
    EXPECT_GT(flagged, 0);
    EXPECT_LE(flagged, s.notConverged);
    EXPECT_EQ(no, flagged);

    // Under the fast solver every solve converges and nothing is said.
    m.settings.SOLVER = SolverKind::Fast;
    MessageLog fast;
    makeAllTables(m, "30", "500", fast);
    EXPECT_TRUE(fast.empty()) << fast.entries().front().text;
}
