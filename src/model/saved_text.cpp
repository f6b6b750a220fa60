#include "model/saved_text.h"

#include "model/section_file.h"

namespace qav {

void SavedText::markSaved(const SectionModel& m) {
    SAVE_QAV_SEC_DATA(m, lines_);
}

bool SavedText::differs(const SectionModel& m) const {
    std::vector<std::string> now;
    SAVE_QAV_SEC_DATA(m, now);
    return now != lines_;
}

}  // namespace qav
