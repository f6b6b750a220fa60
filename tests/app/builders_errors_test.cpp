#include <gtest/gtest.h>

#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>
#include <functional>
#include <new>
#include <stdexcept>

#include "app/builders/builder_dialog.h"
#include "model/errors.h"

using namespace qav;

namespace {

// A builder whose "Gen Section" runs whatever the test gives it.
class ThrowingBuilder : public BuilderDialog {
public:
    explicit ThrowingBuilder(SectionModel& m)
        : BuilderDialog(m, "TFormTest", "Test Builder", nullptr) {
        auto* column = new QVBoxLayout(this);
        addButtons(column, {{"Button1", "Gen Section"}}, {[this] { attempt(build); }});
    }
    std::function<void()> build;
};

}  // namespace

TEST(BuilderDialog, EveryErrorOfABuildIsReportedAndTheDialogStaysOpen) {
    struct Case {
        const char* name;
        std::function<void()> build;
        QString expected;
    };
    const Case cases[] = {
        {"numeric", [] { throw NumericError("inf cannot be converted to an integer"); },
         "inf cannot be converted to an integer"},
        {"file", [] { throw FileError("cannot write"); }, "cannot write"},
        {"memory", [] { throw std::bad_alloc(); }, "Out of memory: the command was stopped."},
        {"other", [] { throw std::length_error("vector too long"); }, "vector too long"},
    };
    for (const Case& c : cases) {
        SectionModel model;
        ThrowingBuilder d(model);
        d.build = c.build;
        int changed = 0;
        QStringList errors;
        QObject::connect(&d, &BuilderDialog::sectionChanged, [&] { ++changed; });
        QObject::connect(&d, &BuilderDialog::errorOccurred, [&](const QString& m) { errors << m; });
        d.show();
        EXPECT_NO_THROW(d.findChild<QPushButton*>("Button1")->click()) << c.name;
        ASSERT_EQ(errors.size(), 1) << c.name;
        EXPECT_EQ(errors.at(0), c.expected) << c.name;
        EXPECT_EQ(changed, 1) << c.name << ": the view shows what the stopped build left";
        EXPECT_TRUE(d.isVisible()) << c.name;
    }
}
