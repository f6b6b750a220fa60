#include "model/design_code.h"

namespace qav {

extern const DesignCode HK_COP_2013, BS_8110, EN_1992_1_1, ACI_318_19;

const DesignCode& designCode(CodeId c) {
    switch (c) {
        case CodeId::Bs8110:
            return BS_8110;
        case CodeId::Ec2:
            return EN_1992_1_1;
        case CodeId::Aci318:
            return ACI_318_19;
        case CodeId::HkCop2013:
            break;
    }
    return HK_COP_2013;
}

}  // namespace qav
