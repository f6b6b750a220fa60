#include "cli/analysis_inputs.h"

#include "model/number_text.h"

namespace qav::cli {

double inputNumber(Args& args, const InputOption& in) {
    return numberValue(in.option.name, inputText(args, in));
}

int inputInteger(Args& args, const InputOption& in) {
    return integerValue(in.option.name, inputText(args, in));
}

double inputDefault(const InputOption& in) {
    return ToFloat(in.fallback);
}

MphiInput takeMphiInput(Args& args, const std::string& axisOption, const std::string& axis) {
    if (axis != "x" && axis != "y") throw UsageError(axisOption + " takes x or y");
    MphiInput in;
    in.aboutY = axis == "y";
    in.negative = args.flag("--negative");
    in.axialForce = inputNumber(args, AXIAL_INPUT);
    if (const auto strain = args.take(MAX_STRAIN_INPUT.option.name)) {
        in.maxStrain = numberValue(MAX_STRAIN_INPUT.option.name, *strain);
        if (!(in.maxStrain > 0)) throw UsageError("--max-strain takes a strain above 0");
    }
    in.steps = inputInteger(args, STEPS_INPUT);
    return in;
}

void settleMaxStrain(const SectionModel& m, MphiInput& in) {
    if (in.maxStrain == 0) in.maxStrain = mphiDefaultMaxStrain(m);
}

}  // namespace qav::cli
