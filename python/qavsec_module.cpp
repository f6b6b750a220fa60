// The compiled half of the Python module: a section model with its operations, each returning
// plain values and NumPy arrays that qavsec/__init__.py wraps into result classes. Long runs
// release the GIL; Ctrl-C reaches them through the core's cancel.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "analysis/fibre_arrays.h"
#include "analysis/interaction_curves.h"
#include "analysis/key_points.h"
#include "analysis/load_combinations.h"
#include "analysis/moment_curvature.h"
#include "analysis/pmm_surface.h"
#include "analysis/section_solver.h"
#include "analysis/section_state.h"
#include "builders/shape_catalog.h"
#include "interchange/force_csv.h"
#include "mesh/mesh_command.h"
#include "mesh/section_sync.h"
#include "model/code_convert.h"
#include "model/design_code.h"
#include "model/errors.h"
#include "model/feedback.h"
#include "model/materials.h"
#include "model/number_text.h"
#include "model/section_file.h"
#include "model/section_model.h"
#include "model/section_state.h"
#include "model/text_file.h"
#include "model/value_checks.h"
#include "reports/text_reports.h"

namespace py = pybind11;
using namespace qav;

namespace {

using Array = py::array_t<double>;

Array toArray(const std::vector<double>& v) {
    Array a(static_cast<py::ssize_t>(v.size()));
    auto w = a.mutable_unchecked<1>();
    for (std::size_t i = 0; i < v.size(); ++i) w(static_cast<py::ssize_t>(i)) = v[i];
    return a;
}

py::array_t<bool> toBoolArray(const std::vector<bool>& v) {
    py::array_t<bool> a(static_cast<py::ssize_t>(v.size()));
    auto w = a.mutable_unchecked<1>();
    for (std::size_t i = 0; i < v.size(); ++i) w(static_cast<py::ssize_t>(i)) = v[i];
    return a;
}

// Slots first .. last of a result table; not a number where the table stops short (the CLI's
// null).
std::vector<double> slots(const std::vector<double>& t, std::size_t first, std::size_t last) {
    std::vector<double> out;
    for (std::size_t i = first; i <= last; ++i)
        out.push_back(i < t.size() ? t[i] : std::numeric_limits<double>::quiet_NaN());
    return out;
}

std::vector<bool> flags(const std::vector<uint8_t>& f, std::size_t first, std::size_t last) {
    std::vector<bool> out;
    for (std::size_t i = first; i <= last; ++i) out.push_back(pointConverged(f, i));
    return out;
}

// The run's status as the CLI's --json gives it, with the messages of the run.
py::dict statusDict(const RunStats& s, const MessageLog& log) {
    py::list messages;
    for (const auto& e : log.entries()) messages.append(py::make_tuple(e.text, e.count));
    py::dict d;
    d["solves"] = s.solves;
    d["unconverged"] = s.notConverged;
    d["worst_residual"] = s.notConverged > 0 && std::isfinite(s.worstResidual)
                              ? py::object(py::float_(s.worstResidual))
                              : py::object(py::none());
    d["iterations"] = s.iterations;
    d["messages"] = messages;
    d["unconverged_text"] = unconvergedText(s);
    return d;
}

// A progress that the Python thread which started the run polls for Ctrl-C: cancelled()
// briefly takes the GIL and runs the signal handlers. Only the main thread sees signals, so
// runs started elsewhere (a thread pool) never take the GIL from here. The core's worker
// threads only read the flag.
class SignalProgress : public Progress {
public:
    SignalProgress() : owner_(std::this_thread::get_id()) {
        auto threading = py::module_::import("threading");
        polls_ = threading.attr("main_thread")().is(threading.attr("current_thread")());
    }
    void setPosition(int) override {}
    bool cancelled() const override {
        if (stop_) return true;
        if (!polls_ || std::this_thread::get_id() != owner_) return false;
        py::gil_scoped_acquire gil;
        if (PyErr_CheckSignals() != 0) {
            error_ = std::make_shared<py::error_already_set>();
            stop_ = true;
        }
        return stop_;
    }
    // The exception a signal handler raised (KeyboardInterrupt), raised again.
    void rethrow() const {
        if (error_) throw py::error_already_set(*error_);
    }

private:
    std::thread::id owner_;
    bool polls_ = false;
    mutable std::atomic<bool> stop_{false};
    mutable std::shared_ptr<py::error_already_set> error_;
};

// Runs f without the GIL; a run cancelled by Ctrl-C raises the handler's exception.
template <class F>
auto withoutGil(const SignalProgress& p, F&& f) {
    try {
        py::gil_scoped_release nogil;
        return f();
    } catch (const RunCancelled&) {
        p.rethrow();
        throw;
    }
}

py::dict materialDict(const TMAT& t) {
    py::dict d;
    d["name"] = t.NAME;
    d["FCU"] = t.FCU;
    d["EC"] = t.EC;
    d["EPS_0"] = t.EPS_0;
    d["FC"] = t.FC;
    d["EPS_CU"] = t.EPS_CU;
    d["FY1"] = t.FY1;
    d["FY"] = t.FY;
    d["ES"] = t.ES;
    d["RF"] = t.RF;
    return d;
}

py::list gradeTable(const std::vector<TMAT>& table, int count) {
    py::list out;
    for (int i = 1; i <= count && static_cast<std::size_t>(i) < table.size(); ++i)
        out.append(materialDict(table[static_cast<std::size_t>(i)]));
    return out;
}

py::object gradeName(const std::vector<TMAT>& table, int count, int index) {
    const int number = index + 1;
    if (number < 1 || number > count || static_cast<std::size_t>(number) >= table.size())
        return py::none();
    return py::str(table[static_cast<std::size_t>(number)].NAME);
}

// The design tables of a result beside its own (strength reduction only): name -> table, read
// over the same slots; nothing when the run kept none.
void addDesignSlots(
    py::dict& d, std::initializer_list<std::pair<const char*, const std::vector<double>*>> tables,
    std::size_t first, std::size_t last) {
    for (const auto& t : tables)
        if (t.second->empty()) return;
    for (const auto& t : tables) d[t.first] = toArray(slots(*t.second, first, last));
}

// A word of a fixed set, its index; anything else refused naming what was given.
template <std::size_t N>
std::size_t wordIndex(const char* what, const std::array<const char*, N>& words,
                      const std::string& given) {
    for (std::size_t i = 0; i < N; ++i)
        if (given == words[i]) return i;
    std::string list;
    for (std::size_t i = 0; i < N; ++i)
        list += (i ? ", " : "") + std::string("\"") + words[i] + "\"";
    throw InputError(std::string(what) + " is one of " + list + ", not '" + given + "'.");
}

constexpr std::array<const char*, 2> STRAIN_LIMIT_WORDS{"control", "code"};

// A number given to a method, refused by the argument's name unless it is finite (a NaN angle or
// minimum would run an analysis that means nothing and answer on the unsafe side).
double finiteArg(const char* name, double v) {
    if (!std::isfinite(v))
        throw InputError(std::string(name) + " takes a finite number, not " +
                         (std::isnan(v) ? "nan"
                          : v > 0       ? "inf"
                                        : "-inf") +
                         ".");
    return v;
}

// A count given to a method: Python's integers have no bound, the analyses' counts do.
std::optional<int> countArg(const char* name, std::optional<long long> v, int least, int most) {
    if (v && (*v < least || *v > most))
        throw InputError(Format("%s takes a whole number from %D to %D, not ",
                                {std::string(name), least, most}) +
                         std::to_string(*v) + ".");
    return v ? std::optional<int>(static_cast<int>(*v)) : std::nullopt;
}

constexpr int MAX_THREADS = 1024;

py::dict neutralAxisDict(const NeutralAxis& a) {
    py::dict d;
    d["exists"] = a.exists;
    d["angle"] = a.angle;
    d["depth"] = a.depth;
    return d;
}

// One section and its analyses. A Section is used by one thread at a time (the lock); several
// Sections run side by side.
class PySection {
public:
    explicit PySection(SectionModel m) : m_(std::move(m)), defaults_(m_.settings) {}

    void save(const std::string& path) {
        std::lock_guard lock(mutex_);
        saveSectionFile(m_, path);
    }

    bool steelGrid() {
        std::lock_guard lock(mutex_);
        return m_.settings.STEEL_GRID;
    }

    // The lines save() would write.
    std::vector<std::string> fileLines() {
        std::lock_guard lock(mutex_);
        std::vector<std::string> lines;
        SAVE_QAV_SEC_DATA(m_, lines);
        return lines;
    }

    py::dict mesh(std::optional<std::string> size, bool steelGrid) {
        SignalProgress p;
        MessageLog log;
        std::vector<std::string> warnings;
        MeshSummary s;
        withoutGil(p, [&] {
            std::lock_guard lock(mutex_);
            // A refused mesh leaves the section's mesh options as they were.
            const std::string text = m_.document.MESH_SIZE_TEXT;
            const bool grid = m_.settings.STEEL_GRID;
            try {
                if (size) m_.document.MESH_SIZE_TEXT = *size;
                m_.settings.STEEL_GRID = steelGrid;
                s = meshNow(log, warnings, &p);
            } catch (...) {
                m_.document.MESH_SIZE_TEXT = text;
                m_.settings.STEEL_GRID = grid;
                throw;
            }
            return 0;
        });
        py::dict d;
        d["fibres"] = s.NFIB;
        d["control_points"] = s.NCFIB;
        d["triangles"] = s.NSHELL;
        d["nodes"] = s.NMESH_NODE;
        d["area_warning"] = s.areaWarning;
        d["warnings"] = warnings;
        d["status"] = statusDict({}, log);
        return d;
    }

    // Meshes the section when it has no current mesh; the mesher's warnings.
    std::vector<std::string> meshedNow() {
        SignalProgress p;
        MessageLog log;
        std::vector<std::string> warnings;
        withoutGil(p, [&] {
            std::lock_guard lock(mutex_);
            ensureMesh(log, warnings, &p);
            return 0;
        });
        return warnings;
    }

    py::dict properties() {
        const std::vector<std::string> warnings = meshedNow();
        const TPOS c = sectionCentre(m_);
        py::dict d;
        d["section_area"] = m_.mesh.SEC_AREA;
        d["rebar_area"] = m_.mesh.REBAR_AREA;
        d["steel_area"] = m_.mesh.STEEL_AREA;
        d["rebar_ratio"] = m_.mesh.REBAR_RATIO;
        d["steel_ratio"] = m_.mesh.STEEL_RATIO;
        d["centroid"] = py::make_tuple(c.X, c.Y);
        d["concrete_centroid"] = py::make_tuple(m_.document.CONC_CX, m_.document.CONC_CY);
        d["steel_centroid"] = py::make_tuple(m_.document.STEEL_CX, m_.document.STEEL_CY);
        d["warnings"] = warnings;
        return d;
    }

    // The meshed fibres (meshing when needed): centres, areas, kinds, grades, bar diameters and
    // each triangle's corners (NaN for a bar), mm, as the section's fibre coordinates.
    py::dict fibres() {
        const std::vector<std::string> warnings = meshedNow();
        std::vector<double> x, y, area, diameter, kind, material, corners;
        for (int j = 1; j <= m_.mesh.NFIB && static_cast<std::size_t>(j) < m_.mesh.FIB.size();
             ++j) {
            const TFIB& f = m_.mesh.FIB[static_cast<std::size_t>(j)];
            x.push_back(f.X);
            y.push_back(f.Y);
            area.push_back(f.AREA);
            diameter.push_back(f.SHAPE == 3 ? 0.0 : f.DB);
            kind.push_back(f.TY);
            material.push_back(f.MAT);
            for (std::size_t c = 0; c < 3; ++c) {
                corners.push_back(f.SHAPE == 3 ? f.POS[c].X : std::nan(""));
                corners.push_back(f.SHAPE == 3 ? f.POS[c].Y : std::nan(""));
            }
        }
        py::dict d;
        d["x"] = toArray(x);
        d["y"] = toArray(y);
        d["area"] = toArray(area);
        d["diameter"] = toArray(diameter);
        d["kind"] = py::array(toArray(kind)).attr("astype")("int32");
        d["material"] = py::array(toArray(material)).attr("astype")("int32");
        d["corners"] = py::array(toArray(corners)).attr("reshape")(x.size(), 3, 2);
        d["warnings"] = warnings;
        return d;
    }

    py::dict materials() const {
        const SectionDocument& d = m_.document;
        py::dict out;
        out["concrete"] = gradeTable(d.CONC_MAT, d.NCONCMAT);
        out["cover"] = gradeTable(d.COVER_MAT, d.NCOVERMAT);
        out["steel"] = gradeTable(d.STEEL_MAT, d.NSTEELMAT);
        py::dict used;
        used["concrete"] = gradeName(d.CONC_MAT, d.NCONCMAT, d.USE_CONC);
        used["cover"] = gradeName(d.COVER_MAT, d.NCOVERMAT, d.USE_COVER);
        used["rebar"] = gradeName(d.STEEL_MAT, d.NSTEELMAT, d.USE_REBAR);
        used["steel"] = gradeName(d.STEEL_MAT, d.NSTEELMAT, d.USE_STEEL);
        out["selected"] = used;
        return out;
    }

    py::dict pm(double angle, std::optional<long long> npmArg, const std::string& solver,
                std::optional<long long> threads) {
        finiteArg("angle", angle);
        const auto npm = countArg("npm", npmArg, 2, MAX_CURVE_STEPS);
        AxialEnds ends;
        return run(
            [&](Messages& log, Progress& p) {
                m_.settings.NPM = npm.value_or(defaults_.NPM);
                applyRunSettings(solver, threads);
                const RunStats s = RUN_PM_CURVE_ANALYSIS(m_, angle, log, &p);
                ends = designAxialEnds(m_);
                return s;
            },
            [&](py::dict& d) {
                const auto last = static_cast<std::size_t>(2 * pmSteps(m_) + 2);
                const SectionResults& r = m_.results;
                d["P"] = toArray(slots(r.PM_P, 1, last));
                d["M"] = toArray(slots(r.PM_M, 1, last));
                d["My"] = toArray(slots(r.PM_MX, 1, last));
                d["Mx"] = toArray(slots(r.PM_MY, 1, last));
                d["converged"] = toBoolArray(flags(r.PM_CONVERGED, 1, last));
                addDesignSlots(d,
                               {{"P_nominal", &r.PM_NOM_P},
                                {"M_nominal", &r.PM_NOM_M},
                                {"My_nominal", &r.PM_NOM_MX},
                                {"Mx_nominal", &r.PM_NOM_MY},
                                {"phi", &r.PM_PHI}},
                               1, last);
                d["angle"] = angle;
                d["PMAX"] = r.PMAX;
                d["PMIN"] = r.PMIN;
                d["P_compression_end"] = ends.compression;
                d["P_tension_end"] = ends.tension;
            });
    }

    py::dict mm(double axial, std::optional<long long> nmmArg, const std::string& solver,
                std::optional<long long> threads) {
        finiteArg("axial", axial);
        const auto nmm = countArg("nmm", nmmArg, 1, MAX_CURVE_STEPS);
        return run(
            [&](Messages& log, Progress& p) {
                m_.settings.NMM = nmm.value_or(defaults_.NMM);
                applyRunSettings(solver, threads);
                return RUN_MM_CURVE_ANALYSIS(m_, axial, log, &p);
            },
            [&](py::dict& d) {
                const auto last = static_cast<std::size_t>(mmSteps(m_));
                d["My"] = toArray(slots(m_.results.MM_MX, 0, last));
                d["Mx"] = toArray(slots(m_.results.MM_MY, 0, last));
                d["converged"] = toBoolArray(flags(m_.results.MM_CONVERGED, 0, last));
                const SectionResults& r = m_.results;
                addDesignSlots(d,
                               {{"My_nominal", &r.MM_NOM_MX},
                                {"Mx_nominal", &r.MM_NOM_MY},
                                {"phi", &r.MM_PHI}},
                               0, last);
                d["axial"] = axial;
            });
    }

    py::dict mphi(const std::string& axis, double axial, bool negative,
                  std::optional<double> maxStrain, long long stepsArg, const std::string& solver,
                  std::optional<long long> threads) {
        if (axis != "x" && axis != "y") throw InputError("The axis is x or y, not '" + axis + "'.");
        finiteArg("axial", axial);
        if (maxStrain) finiteArg("max_strain", *maxStrain);
        const int steps = *countArg("steps", stepsArg, 1, MAX_CURVE_STEPS);
        MphiInput in;
        in.aboutY = axis == "y";
        in.negative = negative;
        in.axialForce = axial;
        in.maxStrain = maxStrain.value_or(0.0);
        in.steps = steps;
        if (maxStrain && !(*maxStrain > 0))
            throw InputError("max_strain is a strain above 0 (None: the section's default).");
        return run(
            [&](Messages& log, Progress& p) {
                applyRunSettings(solver, threads);
                if (!maxStrain) in.maxStrain = mphiDefaultMaxStrain(m_);
                return RUN_MPHI_ANALYSIS(m_, in, log, &p).stats;
            },
            [&](py::dict& d) {
                const SectionResults& r = m_.results;
                std::size_t n = static_cast<std::size_t>(in.steps) + 1;
                n = std::min({n, r.MPHI_M.size(), r.MPHI_PHI.size()});
                std::vector<double> M(r.MPHI_M.begin(),
                                      r.MPHI_M.begin() + static_cast<std::ptrdiff_t>(n));
                std::vector<double> phi(r.MPHI_PHI.begin(),
                                        r.MPHI_PHI.begin() + static_cast<std::ptrdiff_t>(n));
                d["M"] = toArray(M);
                d["curvature"] = toArray(phi);
                d["converged"] =
                    toBoolArray(n ? flags(r.MPHI_CONVERGED, 0, n - 1) : std::vector<bool>{});
                d["axis"] = axis;
                d["negative"] = negative;
                d["axial"] = axial;
                d["max_strain"] = in.maxStrain;
                d["steps"] = steps;
            });
    }

    py::dict pmm(std::optional<long long> npmArg, const std::string& solver,
                 std::optional<long long> threads) {
        const auto npm = countArg("npm", npmArg, 2, MAX_CURVE_STEPS);
        return run(
            [&](Messages& log, Progress& p) {
                m_.settings.NPM = npm.value_or(defaults_.NPM);
                applyRunSettings(solver, threads);
                return RUN_PMM_ANALYSIS(m_, log, &p);
            },
            [&](py::dict& d) {
                const int n = pmmStoredSteps(m_);
                const auto last = static_cast<std::size_t>(2 * std::max(n, 0) + 2);
                const SectionResults& r = m_.results;
                py::list P, MX, MY, conv;
                for (std::size_t c = 0; n >= 0 && c < PMM_CURVES; ++c) {
                    const std::vector<uint8_t> none;
                    P.append(toArray(slots(r.PMM_P[c], 1, last)));
                    MX.append(toArray(slots(r.PMM_MX[c], 1, last)));
                    MY.append(toArray(slots(r.PMM_MY[c], 1, last)));
                    conv.append(toBoolArray(
                        flags(c < r.PMM_CONVERGED.size() ? r.PMM_CONVERGED[c] : none, 1, last)));
                }
                d["P"] = P;
                d["My"] = MX;
                d["Mx"] = MY;
                d["converged"] = conv;
                // The design tables, curve by curve, when every curve has them.
                const auto design = [&](const std::vector<std::vector<double>>& t) {
                    return n >= 0 && t.size() >= PMM_CURVES &&
                           std::all_of(t.begin(), t.begin() + PMM_CURVES,
                                       [](const std::vector<double>& c) { return !c.empty(); });
                };
                if (design(r.PMM_NOM_P) && design(r.PMM_NOM_MX) && design(r.PMM_NOM_MY) &&
                    design(r.PMM_PHI))
                    for (const auto& [key, table] :
                         {std::pair{"P_nominal", &r.PMM_NOM_P},
                          std::pair{"My_nominal", &r.PMM_NOM_MX},
                          std::pair{"Mx_nominal", &r.PMM_NOM_MY}, std::pair{"phi", &r.PMM_PHI}}) {
                        py::list curves;
                        for (std::size_t c = 0; c < PMM_CURVES; ++c)
                            curves.append(toArray(slots((*table)[c], 1, last)));
                        d[key] = curves;
                    }
            });
    }

    // lines: a force CSV file's lines (the module writes an array as one), file: its name for
    // the messages. The combinations stay with the section.
    py::dict check(const std::vector<std::string>& lines, const std::string& file,
                   const std::string& units, double kp, double kmx, double kmy, bool minEcc,
                   const std::string& solver, std::optional<long long> threads) {
        finiteArg("kp", kp);
        finiteArg("kmx", kmx);
        finiteArg("kmy", kmy);
        if (units != "N,mm" && units != "kN,m")
            throw InputError("The units are \"N,mm\" or \"kN,m\", not '" + units + "'.");
        const ForceUnits u = units == "N,mm" ? ForceUnits::N_mm : ForceUnits::kN_m;
        CheckResult result;
        SignalProgress first;
        withoutGil(first, [&] {
            // The loads first, as the command line takes them: a wrong file changes nothing.
            std::lock_guard lock(mutex_);
            IMPORT_FORCE_CSV(m_, lines, u, file);
            return 0;
        });
        return run(
            [&](Messages& log, Progress& p) {
                applyRunSettings(solver, threads);
                m_.settings.CODE_MIN_ECC = minEcc;
                // kmx bounds the moment about X, the solver's MY; kmy its MX.
                result = CHECK_MEMBER(m_, kp, kmy, kmx, log, p);
                return result.stats;
            },
            [&](py::dict& out) {
                std::vector<double> P, MX, MY, fraction;
                std::vector<std::string> names;
                for (int i = 1; i <= m_.document.NFORCE &&
                                static_cast<std::size_t>(i) < m_.document.FORCE.size();
                     ++i) {
                    const TFORCE& f = m_.document.FORCE[static_cast<std::size_t>(i)];
                    P.push_back(f.P);
                    MX.push_back(f.MX);
                    MY.push_back(f.MY);
                    fraction.push_back(f.LOAD_FRACTION);
                    names.push_back(f.COMB_NAME);
                }
                out["P"] = toArray(P);
                out["My"] = toArray(MX);
                out["Mx"] = toArray(MY);
                out["fraction"] = toArray(fraction);
                out["names"] = names;
                out["critical"] = result.critical;
                out["not_finite"] = result.notFinite;
                out["unconverged_combinations"] = UNCONVERGED_COMBINATIONS_TEXT(m_, result);
                readDesignCheck(out, result, names.size());
            });
    }

    py::list keyPoints(double angle) {
        finiteArg("angle", angle);
        py::list out;
        std::vector<KeyPoint> points;
        run(
            [&](Messages& log, Progress&) {
                points = PM_KEY_POINTS(m_, angle, log);
                return 0;
            },
            [](py::dict&) {});
        for (const KeyPoint& k : points) {
            py::dict d;
            d["label"] = k.label;
            d["exists"] = k.exists;
            d["missing"] = k.missing;
            d["branch"] = k.branch;
            d["P"] = k.P;
            d["M"] = k.M;
            d["My"] = k.MX;
            d["Mx"] = k.MY;
            d["strain_plane"] = py::make_tuple(k.plane.a1, k.plane.a2, k.plane.a3);
            d["neutral_axis"] = neutralAxisDict(k.axis);
            if (k.design) {
                d["P_nominal"] = k.nomP;
                d["M_nominal"] = k.nomM;
                d["phi"] = k.phi;
            }
            d["strain_limit"] = strainLimitWord(strainLimitInForce(m_));
            out.append(d);
        }
        return out;
    }

    // P, Mx (about X), My (about Y) as in load files (P negative in compression); combination
    // 1 .. NFORCE takes its load instead. The solver's MX is the moment about Y, its MY the one
    // about X, and so are their least magnitudes.
    py::dict state(double P, double Mx, double My, std::optional<long long> combination,
                   bool atLoad, double kp, double kmx, double kmy) {
        finiteArg("P", P);
        finiteArg("Mx", Mx);
        finiteArg("My", My);
        if (combination && *combination < 1)
            throw InputError("Load combinations are numbered from 1: there is no combination " +
                             std::to_string(*combination) + ".");
        double MX = My, MY = Mx;
        SectionState s;
        py::dict d = run(
            [&](Messages& log, Progress&) {
                if (combination) {
                    if (*combination > m_.document.NFORCE)
                        throw InputError("There is no load combination " +
                                         std::to_string(*combination) +
                                         Format(": the section holds %D.", {m_.document.NFORCE}));
                    const int c = static_cast<int>(*combination);
                    // At capacity the load the last check listed (raised where its minimum
                    // governs); at the load the load as given.
                    const TFORCE& f = m_.document.FORCE[static_cast<std::size_t>(c)];
                    const ListedLoad L =
                        atLoad ? ListedLoad{f.P, f.MX, f.MY, false} : listedLoad(m_, c);
                    P = L.P;
                    MX = L.MX;
                    MY = L.MY;
                }
                // Load files count compression negative; the solver counts it positive.
                s = SECTION_STATE(m_, -P, MX, MY, kp, kmy, kmx, log,
                                  atLoad ? StateAt::Load : StateAt::Capacity);
                reportStateUnconverged(s, log);
                RunStats stats;
                stats.add(s.solve, static_cast<int>(s.fibres.size()));
                return stats;
            },
            [](py::dict&) {});
        std::vector<double> x, y, area, strain, stress, force, kind, material;
        for (const FibreStateRow& f : s.fibres) {
            x.push_back(f.X);
            y.push_back(f.Y);
            area.push_back(f.AREA);
            strain.push_back(f.strain);
            stress.push_back(f.stress);
            force.push_back(f.force);
            kind.push_back(f.TY);
            material.push_back(f.MAT);
        }
        d["x"] = toArray(x);
        d["y"] = toArray(y);
        d["area"] = toArray(area);
        d["strain"] = toArray(strain);
        d["stress"] = toArray(stress);
        d["force"] = toArray(force);
        d["kind"] = py::array(toArray(kind)).attr("astype")("int32");
        d["material"] = py::array(toArray(material)).attr("astype")("int32");
        d["at"] = s.at == StateAt::Load ? "load" : "capacity";
        d["P"] = s.P;
        d["My"] = s.MX;
        d["Mx"] = s.MY;
        // The load fraction the check lists: the design one where phi applies.
        d["load_fraction"] = s.phi > 0 ? s.designFraction : s.solve.loadFraction;
        if (s.phi > 0) {
            d["load_fraction_nominal"] = s.solve.loadFraction;
            d["phi"] = s.phi;
        }
        d["converged"] = s.converged();
        d["strain_plane"] = py::make_tuple(s.plane.a1, s.plane.a2, s.plane.a3);
        d["neutral_axis"] = neutralAxisDict(s.axis);
        d["largest_compressive_strain"] = s.largestCompression;
        d["largest_tensile_strain"] = s.largestTension;
        return d;
    }

    int combinations() const { return m_.document.NFORCE; }

    // Puts the section under another design code (grades by name, or the nearest in strength),
    // as resave --code does; the fibres then follow the new grades as after any grade change.
    // Returns the messages saying which grade each kind took. A refusal changes nothing.
    std::vector<std::string> convert(const std::string& key, const GradeNames& names,
                                     std::optional<double> alphaCC,
                                     std::optional<std::string> ties) {
        const auto code = static_cast<CodeId>(wordIndex("The code", CODE_KEYS, key));
        if (alphaCC && code != CodeId::Ec2)
            throw InputError("alpha_cc belongs to EN 1992-1-1 (code \"ec2\").");
        if (alphaCC && !(std::isfinite(*alphaCC) && acceptedAlphaCC(*alphaCC)))
            throw InputError("alpha_cc takes a number from 0.8 to 1.0 (1.0 or 0.85 as a rule).");
        if (ties && code != CodeId::Aci318)
            throw InputError("ties belong to ACI 318-19 (code \"aci318\").");
        std::optional<Ties> tie;
        if (ties) tie = static_cast<Ties>(wordIndex("ties", TIES_KEYS, *ties));
        // Released while waiting: a run of this section polls Ctrl-C under the GIL.
        py::gil_scoped_release nogil;
        std::lock_guard lock(mutex_);
        const double oldAlpha = m_.document.ALPHA_CC;
        const Ties oldTies = m_.document.TIES;
        if (alphaCC) m_.document.ALPHA_CC = *alphaCC;
        if (tie) m_.document.TIES = *tie;
        const CodeConversion r = convertSectionCode(m_, code, names);
        if (!r.ok) {
            m_.document.ALPHA_CC = oldAlpha;
            m_.document.TIES = oldTies;
            throw InputError(r.error);
        }
        SYNC_SECTION_STATE(m_);
        return r.messages;
    }

    std::string code() const { return codeName(sectionCode(m_)); }

    // The limit the analyses use (the code's for a section under EN 1992-1-1 or ACI 318-19).
    std::string strainLimit() const { return strainLimitWord(strainLimitInForce(m_)); }
    void setStrainLimit(const std::string& word) {
        const auto i = wordIndex("strain_limit", STRAIN_LIMIT_WORDS, word);
        py::gil_scoped_release nogil;
        std::lock_guard lock(mutex_);
        if (static_cast<StrainLimit>(i) == StrainLimit::Control && m_.document.NCONC_PT > 0 &&
            codeHasOwnTables(sectionCode(m_)))
            throw InputError("strain_limit \"control\" does not apply: " +
                             codeLimitReason(sectionCode(m_)) + ".");
        m_.settings.STRAIN_LIMIT = static_cast<StrainLimit>(i);
    }

    // How triangles' stresses are summed: "auto" (exactly under a code's limits), "exact" or
    // "centroid".
    std::string integration() const { return integrationWord(m_.settings.INTEGRATION); }
    void setIntegration(const std::string& word) {
        const auto i = wordIndex("integration", INTEGRATION_WORDS, word);
        py::gil_scoped_release nogil;
        std::lock_guard lock(mutex_);
        m_.settings.INTEGRATION = static_cast<Integration>(i);
    }

    std::string ties() const { return tiesWord(m_.document.TIES); }
    void setTies(const std::string& word) {
        const auto i = wordIndex("ties", TIES_KEYS, word);
        py::gil_scoped_release nogil;
        std::lock_guard lock(mutex_);
        m_.document.TIES = static_cast<Ties>(i);
    }

private:
    SectionModel m_;
    ProgramSettings defaults_;  // the settings a fresh section has, for options not given
    std::mutex mutex_;

    void applyRunSettings(const std::string& solver, std::optional<long long> threads) {
        if (solver != "fast" && solver != "reference")
            throw InputError("The solver is \"fast\" or \"reference\", not '" + solver + "'.");
        m_.settings.SOLVER = solver == "fast" ? SolverKind::Fast : SolverKind::Reference;
        // None: every core.
        m_.settings.THREADS = countArg("threads", threads, 1, MAX_THREADS).value_or(0);
    }

    // "Fiber Section Mesh" as the command line runs it: the grades' warnings, the mesh, the
    // check that nothing non-finite came in, and the strain limit mode of the section.
    MeshSummary meshNow(MessageLog& log, std::vector<std::string>& warnings, Progress* p) {
        warnings = materialWarnings(m_);
        const MeshSummary s = FIBER_SECTION_MESH(m_, log, p);
        requireFiniteSection(m_);
        m_.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m_);
        return s;
    }

    void ensureMesh(MessageLog& log, std::vector<std::string>& warnings, Progress* p) {
        if (meshState(m_) != MeshState::Current) meshNow(log, warnings, p);
    }

    // One run without the GIL under the Section's lock (the section meshed first, as the command
    // line does, and the strain limit mode of a freshly prepared section), then its results and
    // status read into a dict with the GIL.
    template <class Run, class Read>
    py::dict run(Run&& analysis, Read&& read) {
        SignalProgress p;
        MessageLog log;
        std::vector<std::string> warnings;
        RunStats stats;
        std::unique_lock lock(mutex_, std::defer_lock);
        withoutGil(p, [&] {
            lock.lock();
            ensureMesh(log, warnings, &p);
            m_.results.STRAIN_LIMIT_MODE = sectionStrainLimitMode(m_);
            stats = toStats(analysis(log, p));
            return 0;
        });
        py::dict d;
        read(d);
        d["strain_limit"] = strainLimitWord(strainLimitInForce(m_));
        d["status"] = statusDict(stats, log);
        d["warnings"] = warnings;
        return d;
    }

    // What a check adds to the fractions: the loads a minimum raised (always), and under a
    // strength reduction the nominal fractions, phi, where the cap governs and the cap itself.
    void readDesignCheck(py::dict& out, const CheckResult& r, std::size_t count) const {
        py::list raised;
        for (const RaisedCombination& c : r.raised) {
            py::dict d;
            d["number"] = c.number;
            d["name"] = c.number >= 1 && c.number <= m_.document.NFORCE &&
                                static_cast<std::size_t>(c.number) < m_.document.FORCE.size()
                            ? m_.document.FORCE[static_cast<std::size_t>(c.number)].COMB_NAME
                            : std::string();
            d["P"] = c.P;
            d["My"] = c.MX;
            d["Mx"] = c.MY;
            raised.append(d);
        }
        out["raised"] = raised;
        out["minimum"] = r.codeMinimum ? "code eccentricity" : "fixed magnitudes";
        if (r.phi.empty()) return;
        std::vector<bool> governs;
        for (std::size_t i = 1; i <= count; ++i)
            governs.push_back(std::find(r.capGoverns.begin(), r.capGoverns.end(),
                                        static_cast<int>(i)) != r.capGoverns.end());
        out["fraction_nominal"] = toArray(slots(r.nominalFractions, 1, count));
        out["phi"] = toArray(slots(r.phi, 1, count));
        out["cap_governs"] = toBoolArray(governs);
        out["cap"] = r.cap;
    }

    static RunStats toStats(const RunStats& s) { return s; }
    static RunStats toStats(int) { return {}; }
};

std::unique_ptr<PySection> buildSection(
    const std::string& kind, const std::string& shape,
    const std::vector<std::pair<std::string, std::string>>& inputs) {
    SectionModel m;
    buildNamedShape(m, kind, shape, inputs);
    return std::make_unique<PySection>(std::move(m));
}

std::unique_ptr<PySection> openLines(std::vector<std::string> lines, const std::string& name) {
    SectionModel m;
    {
        py::gil_scoped_release nogil;
        openSectionLines(m, std::move(lines), name);
    }
    return std::make_unique<PySection>(std::move(m));
}

std::unique_ptr<PySection> openSection(const std::string& path) {
    SectionModel m;
    {
        py::gil_scoped_release nogil;
        openSectionFile(m, path);
    }
    return std::make_unique<PySection>(std::move(m));
}

}  // namespace

PYBIND11_MODULE(_core, mod) {
    mod.doc() = "The compiled core of qavsec; use the qavsec package.";
    mod.attr("__version__") = QAVSEC_VERSION;
    static py::exception<InputError> error(mod, "Error", PyExc_ValueError);
    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p) std::rethrow_exception(p);
        } catch (const FileRefusedError& e) {
            // No window here: the refusal alone.
            PyErr_SetString(error.ptr(), e.reason().c_str());
        } catch (const InputError& e) {
            PyErr_SetString(error.ptr(), e.what());
        } catch (const FileError& e) {
            PyErr_SetString(error.ptr(), e.what());
        } catch (const ConversionError& e) {
            PyErr_SetString(error.ptr(), e.what());
        } catch (const ResultError& e) {
            PyErr_SetString(error.ptr(), e.what());
        } catch (const NumericError& e) {
            PyErr_SetString(error.ptr(), e.what());
        } catch (const RunCancelled& e) {
            PyErr_SetString(PyExc_KeyboardInterrupt, e.what());
        }
    });

    py::class_<PySection>(mod, "Section")
        .def("save", &PySection::save, py::arg("path"))
        .def("file_lines", &PySection::fileLines)
        .def("mesh", &PySection::mesh, py::arg("size"), py::arg("steel_grid"))
        .def("properties", &PySection::properties)
        .def("materials", &PySection::materials)
        .def("pm", &PySection::pm, py::arg("angle"), py::arg("npm"), py::arg("solver"),
             py::arg("threads"))
        .def("mm", &PySection::mm, py::arg("axial"), py::arg("nmm"), py::arg("solver"),
             py::arg("threads"))
        .def("mphi", &PySection::mphi, py::arg("axis"), py::arg("axial"), py::arg("negative"),
             py::arg("max_strain"), py::arg("steps"), py::arg("solver"), py::arg("threads"))
        .def("pmm", &PySection::pmm, py::arg("npm"), py::arg("solver"), py::arg("threads"))
        .def("check", &PySection::check, py::arg("lines"), py::arg("file"), py::arg("units"),
             py::arg("kp"), py::arg("kmx"), py::arg("kmy"), py::arg("min_ecc"), py::arg("solver"),
             py::arg("threads"))
        .def("key_points", &PySection::keyPoints, py::arg("angle"))
        .def("fibres", &PySection::fibres)
        .def("state", &PySection::state, py::arg("P"), py::arg("Mx"), py::arg("My"),
             py::arg("combination"), py::arg("at_load"), py::arg("kp"), py::arg("kmx"),
             py::arg("kmy"))
        .def("combinations", &PySection::combinations)
        .def(
            "convert",
            [](PySection& s, const std::string& code, const std::string& concrete,
               const std::string& cover, const std::string& rebar, const std::string& steel,
               std::optional<double> alphaCC, std::optional<std::string> ties) {
                return s.convert(code, {concrete, cover, rebar, steel}, alphaCC, ties);
            },
            py::arg("code"), py::arg("concrete"), py::arg("cover"), py::arg("rebar"),
            py::arg("steel"), py::arg("alpha_cc"), py::arg("ties"))
        .def_property("strain_limit", &PySection::strainLimit, &PySection::setStrainLimit)
        .def_property_readonly("steel_grid", [](PySection& s) { return s.steelGrid(); })
        .def_property("ties", &PySection::ties, &PySection::setTies)
        .def_property("integration", &PySection::integration, &PySection::setIntegration)
        .def_property_readonly("code", &PySection::code);
    mod.def("open", &openSection, py::arg("path"));
    mod.def("open_lines", &openLines, py::arg("lines"), py::arg("name"));
    mod.def("build", &buildSection, py::arg("kind"), py::arg("shape"), py::arg("inputs"));
    mod.def(
        "read_lines", [](const std::string& path) { return readTextLines(path); }, py::arg("path"));
}
