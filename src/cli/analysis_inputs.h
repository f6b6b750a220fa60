#pragma once
// The analysis dialogs' inputs as options: one name, one default and one help line for every
// command that takes them. The moment angle defaults to the analysis dialog's "Moment Angle" box
// (45 degrees) in every command.
#include <string>

#include "analysis/moment_curvature.h"
#include "cli/cli.h"

namespace qav::cli {

struct InputOption {
    Option option;
    const char* fallback;  // as typed in the dialog's box
};

inline const InputOption ANGLE_INPUT{{"--angle", "DEG", "moment angle in degrees (45)"}, "45"};
inline const InputOption AXIAL_INPUT{
    {"--axial", "KN", "axial force in kN, compression positive (1000)"}, "1000"};
inline const InputOption MAX_STRAIN_INPUT{
    {"--max-strain", "E",
     "largest extreme strain of an M-Phi run (under the code's limits the concrete's least "
     "ultimate strain, else 0.0035)"},
    "0.0035"};
inline const InputOption STEPS_INPUT{{"--steps", "N", "strain steps of an M-Phi run (20)"}, "20"};
// The least magnitudes of the member check: --kmx bends about X (the solver's K_MY), --kmy
// about Y (its K_MX). 0 checks each load as given; a magnitude given can only lower a fraction.
inline const InputOption KP_INPUT{
    {"--kp", "K", "least axial force of the check in kN (0: the load as given)"}, "0"};
inline const InputOption KMX_INPUT{
    {"--kmx", "K", "least moment Mx (about X) of the check in kNm (0: as given)"}, "0"};
inline const InputOption KMY_INPUT{
    {"--kmy", "K", "least moment My (about Y) of the check in kNm (0: as given)"}, "0"};

// An M-Phi run is the section's own response, never reduced by phi.
inline const NotApplied MPHI_TIES{"--ties",
                                  std::string("an M-Phi run is not reduced by phi; ") + TIES_SCOPE};

// The text given, or the default; numbers are checked where they are used.
inline std::string inputText(Args& args, const InputOption& in) {
    return args.take(in.option.name).value_or(in.fallback);
}
double inputNumber(Args& args, const InputOption& in);
int inputInteger(Args& args, const InputOption& in);
double inputDefault(const InputOption& in);

// The M-Phi dialog's inputs: the axis given to option axisOption ("x" or "y"), --negative,
// --axial, --max-strain and --steps. Without --max-strain maxStrain is 0 until
// settleMaxStrain gives it the section's default.
MphiInput takeMphiInput(Args& args, const std::string& axisOption, const std::string& axis);
void settleMaxStrain(const SectionModel& m, MphiInput& in);

}  // namespace qav::cli
