#pragma once
// The names of the design codes, as the general setting lists them (DESIGN_CODE is the index)
// and as the drawings, charts and printed pages label them.
#include <array>
#include <cstddef>
#include <string>

namespace qav {

inline constexpr std::array<const char*, 2> DESIGN_CODE_NAMES{"HK-COP-2013", "BS-8110"};

// Every code the program designs to, by its index in the general setting's list: the two first
// keep their indices (DESIGN_CODE 0 and 1) and the program's own grade tables; the others bring
// their own tables, which the section document holds.
enum class CodeId { HkCop2013 = 0, Bs8110 = 1, Ec2 = 2, Aci318 = 3 };
inline constexpr std::array<const char*, 4> CODE_NAMES{"HK-COP-2013", "BS-8110", "EN 1992-1-1",
                                                       "ACI 318-19"};
// The code's key on the command line and in the section file's design block.
inline constexpr std::array<const char*, 4> CODE_KEYS{"hk", "bs", "ec2", "aci318"};
inline constexpr std::array<const char*, 4> CODE_FILE_KEYS{"HK", "BS", "EC2", "ACI318"};
inline const char* codeName(CodeId c) {
    return CODE_NAMES[static_cast<std::size_t>(c)];
}
// What a design code decides besides its grade tables and its laws' numbers: one object per
// code, each in a file of its own under model/codes. Ask the object, not the code's id.
struct DesignCode {
    CodeId id;
    // It brings its own grade tables, which the section document holds (EN 1992-1-1, ACI 318-19).
    bool ownTables;
    // It reduces the nominal strength to a design strength (a strength reduction factor and an
    // axial cap, ACI 318-19): its curves are the design strength, the nominal one beside them.
    bool reducesStrength;
    // Its ultimate limit also pivots a wholly compressed section at the parabola's peak strain
    // (EN 1992-1-1 6.1(5)).
    bool pivot;
    // Under its limits every grade of the program's tables takes BS 8110-1 Figure 2.1's
    // parabola, to one ultimate strain (0.0035).
    bool bsParabola;
    // The smallest eccentricity (mm) a design moment is raised to, for the section's depth h
    // (mm) in the plane of bending.
    double (*minimumEccentricity)(double h);
    // The check's words for that rule.
    const char* minimumEccentricityRule;
    // The concrete law of a moment-curvature run where it is not the ultimate one; "" where it is.
    const char* mphiConcreteNote;
};
const DesignCode& designCode(CodeId c);

inline bool codeHasOwnTables(CodeId c) {
    return designCode(c).ownTables;
}
inline bool codeReducesStrength(CodeId c) {
    return designCode(c).reducesStrength;
}

// The transverse reinforcement of a column (ACI 318-19 strength reduction and axial cap), and
// its word on the command line and in the module.
enum class Ties { Tied, Spiral };
inline constexpr std::array<const char*, 2> TIES_KEYS{"tied", "spiral"};
inline const char* tiesWord(Ties t) {
    return TIES_KEYS[t == Ties::Spiral ? 1 : 0];
}

// What limits the strain plane at the ultimate state: a section corner at the control strain
// 0.005 (the program's rule), or the extreme compressed concrete at the ultimate strain of its
// own grade (the design code's rule; no steel limit).
enum class StrainLimit { Control, Code };
// The limit's word on the command line, in the module and in a JSON document.
inline const char* strainLimitWord(StrainLimit l) {
    return l == StrainLimit::Code ? "code" : "control";
}
// The limit as a title or a listing names it.
inline const char* strainLimitCaption(StrainLimit l) {
    return l == StrainLimit::Code ? "code limits" : "control strain 0.005";
}
// How a concrete or steel triangle's stress is summed: at its centre (the fibre rule), or
// integrated exactly under the triangle's linear strain, so that the answer does not depend on
// the mesh. Auto integrates exactly under a code's limits and under EN 1992-1-1 and ACI 318-19,
// and keeps the fibre rule for the program's control strain.
enum class Integration { Auto, Exact, Centroid };
// Its word on the command line, in the program's settings and in the module, in its order
// ("auto" is what no option says).
inline constexpr std::array<const char*, 3> INTEGRATION_WORDS{"auto", "exact", "centroid"};
inline const char* integrationWord(Integration i) {
    return INTEGRATION_WORDS[static_cast<std::size_t>(i)];
}

// Why a section under EN 1992-1-1 or ACI 318-19 is always held to its code's limits.
inline std::string codeLimitReason(CodeId c) {
    return std::string("a section under ") + CODE_NAMES[static_cast<std::size_t>(c)] +
           " is analysed at its code's limits, the concrete at its grade's ultimate strain: the "
           "control strain is not a limit that code allows";
}

// The label of a title: "BS-8110" for code 1, the default "HK-COP-2013" for any other.
inline std::string designCodeName(int DESIGN_CODE) {
    return DESIGN_CODE == 1 ? DESIGN_CODE_NAMES[1] : DESIGN_CODE_NAMES[0];
}

}  // namespace qav
