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
    in.maxStrain = inputNumber(args, MAX_STRAIN_INPUT);
    in.steps = inputInteger(args, STEPS_INPUT);
    return in;
}

}  // namespace qav::cli
