#pragma once
// Whether the model holds changes not yet saved. The model has such changes exactly when saving
// it now would write other text than the text of the file last opened or saved (for a section
// not yet saved: than the section as it was when it was started). Comparing the writer's own
// text, rather than flagging commands one by one, means no command that changes what the file
// holds can be missed, and one that changes nothing the file holds (meshing, zooming, an
// analysis) marks nothing.
#include <string>
#include <vector>

#include "model/section_model.h"

namespace qav {

class SavedText {
public:
    // Takes the model's current file text as the text last opened or saved.
    void markSaved(const SectionModel& m);
    // True when saving m now would write something else.
    bool differs(const SectionModel& m) const;

private:
    std::vector<std::string> lines_;
};

}  // namespace qav
