#include "cli/shared_options.h"

#include "model/number_text.h"

namespace qav::cli {

Ties tiesValue(const std::string& option, const std::string& v) {
    if (v != TIES_KEYS[0] && v != TIES_KEYS[1]) throw UsageError(option + " takes tied or spiral");
    return v == TIES_KEYS[0] ? Ties::Tied : Ties::Spiral;
}

const std::vector<SharedOption>& sharedOptions() {
    static const std::vector<SharedOption> all{
        {{"--npm", "N", "steps of a P-M curve (the section's NPM)"},
         ANALYSIS_OPTIONS,
         [](SharedOptions& o, const std::string& v) { o.npm = v; }},
        {{"--nmm", "N", "angle steps of a Myy-Mxx curve (the section's NMM)"},
         ANALYSIS_OPTIONS,
         [](SharedOptions& o, const std::string& v) { o.nmm = v; }},
        {{"--solver", "fast|reference",
          "equilibrium solver: Newton's method (fast) or the original fixed-matrix iteration; "
          "fast"},
         ANALYSIS_OPTIONS,
         [](SharedOptions& o, const std::string& v) {
             if (v != "fast" && v != "reference")
                 throw UsageError("--solver takes fast or reference");
             o.solver = v == "fast" ? SolverKind::Fast : SolverKind::Reference;
         }},
        {{"--threads", "N", "threads for independent solves; every core"},
         ANALYSIS_OPTIONS,
         [](SharedOptions& o, const std::string& v) {
             int n = 0;
             try {
                 n = ToInt(v);
             } catch (const std::exception&) {
                 throw UsageError("--threads takes a number from 1 to 1024");
             }
             if (n < 1 || n > 1024) throw UsageError("--threads takes a number from 1 to 1024");
             o.threads = n;
         }},
        {{"--strain-limit", "control|code",
          "ultimate limit: a section corner at 0.005 (control) or the extreme concrete at its "
          "grade's ultimate strain (code); control, code under EN 1992-1-1 and ACI 318-19 (which "
          "refuse control)"},
         ANALYSIS_OPTIONS,
         [](SharedOptions& o, const std::string& v) {
             if (v != "control" && v != "code")
                 throw UsageError("--strain-limit takes control or code");
             o.strainLimit = v == "code" ? StrainLimit::Code : StrainLimit::Control;
         }},
        {{"--integration", "exact|centroid",
          "how a triangle's stress is summed: integrated exactly over it (exact) or at its centre "
          "(centroid); exact under a code's limits, centroid at the control strain"},
         ANALYSIS_OPTIONS,
         [](SharedOptions& o, const std::string& v) {
             if (v != "exact" && v != "centroid")
                 throw UsageError("--integration takes exact or centroid");
             o.integration = v == "exact" ? Integration::Exact : Integration::Centroid;
         }},
        {{"--ties", "tied|spiral",
          "transverse reinforcement of an ACI 318-19 column; the file's (tied unless it says)"},
         ANALYSIS_OPTIONS,
         [](SharedOptions& o, const std::string& v) { o.ties = tiesValue("--ties", v); }},
        {{"--mesh-size", "H", "mesh size in mm (the section's mesh size)"},
         MESH_OPTIONS,
         [](SharedOptions& o, const std::string& v) { o.meshSize = v; }},
        {{"--steel-grid", "",
          "a section without concrete gets mesh nodes inside its steel too (fibres through each "
          "plate); off"},
         MESH_OPTIONS,
         [](SharedOptions& o, const std::string&) { o.steelGrid = true; }},
        {{"--loads", "F.csv", "load combinations from a force CSV file"},
         LOAD_OPTIONS,
         [](SharedOptions& o, const std::string& v) { o.loads = v; },
         {"--csv"}},
        {{"--units", "N,mm|kN,m",
          "units of the force CSV file (those its header names, else N,mm)"},
         LOAD_OPTIONS,
         [](SharedOptions& o, const std::string& v) {
             if (v != "N,mm" && v != "kN,m") throw UsageError("--units takes N,mm or kN,m");
             o.units = v == "N,mm" ? ForceUnits::N_mm : ForceUnits::kN_m;
         }},
        {{"--json", "", "prints the results as one JSON document instead of the listing"},
         JSON_OUTPUT,
         [](SharedOptions& o, const std::string&) { o.json = true; }},
    };
    return all;
}

}  // namespace qav::cli
