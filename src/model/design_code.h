#pragma once
// The names of the design codes, as the general setting lists them (DESIGN_CODE is the index)
// and as the drawings, charts and printed pages label them.
#include <array>
#include <string>

namespace qav {

inline constexpr std::array<const char*, 2> DESIGN_CODE_NAMES{"HK-COP-2013", "BS-8110"};

// The label of a title: "BS-8110" for code 1, the default "HK-COP-2013" for any other.
inline std::string designCodeName(int DESIGN_CODE) {
    return DESIGN_CODE == 1 ? DESIGN_CODE_NAMES[1] : DESIGN_CODE_NAMES[0];
}

}  // namespace qav
