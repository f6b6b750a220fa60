#pragma once
// Controls the analysis dialogs share: a radio group with an item index, the read-only listing
// memo, the chart picture in its lowered panel, and the progress shown during long runs.
#include <QElapsedTimer>
#include <QGroupBox>
#include <QImage>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "canvas/canvas.h"
#include "model/feedback.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QProgressDialog;
class QRadioButton;

namespace qav {

class UserPrompts;

// "Export CSV" of an analysis dialog: the lines of the result last run into a file the user
// chooses; with none yet, nothingYet is said instead. The path written, empty when none.
QString exportCsvLines(UserPrompts& prompts, const std::vector<std::string>& lines,
                       const QString& nothingYet);

// A group box of radio buttons with one item selected, like a radio group of the dialogs.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    RadioGroup(const QString& name, const QString& caption, const QStringList& items,
               QWidget* parent);
    int itemIndex() const;
    void setItemIndex(int index);
    QRadioButton* item(int index) const;

private:
    QButtonGroup* group_;
};

// A row of a group box: the label at the left, its edit box at editX.
QLineEdit* labelledEdit(QWidget* parent, const char* labelName, const char* caption,
                        const char* editName, const QString& text, int y, int editX, int editWidth);

// The read-only listing: Courier New 8 pt, both scroll bars, no wrapping.
QPlainTextEdit* listingMemo(const QString& name, QWidget* parent);
void setMemoLines(QPlainTextEdit* memo, const std::vector<std::string>& lines);
// The memo's lines as they stand (none when it is empty).
std::vector<std::string> memoLines(const QPlainTextEdit* memo);

// Image1: a picture in a lowered panel at (13, 24), 536 x 441. The picture keeps its canvas
// font between drawings, as a picture's own canvas does.
class ChartPicture {
public:
    ChartPicture(const QString& name, QWidget* parent);
    void draw(const std::function<void(Canvas&)>& paint);
    // Back to the blank picture the dialog opens with.
    void clear();
    const QImage& image() const { return image_; }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }

private:
    QLabel* label_;
    QImage image_;
    Font font_;
};

// A wait cursor for as long as it lives.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Progress of a run: a wait cursor, and a dialog with "Cancel" that appears once the run looks
// like taking more than half a second. The windows keep painting meanwhile; user input waits
// until the run ends (no analysis may be entered twice), except on the progress dialog itself,
// which is modal. A cancelled run throws RunCancelled out of the core, having computed into
// fresh storage: the previous results stay as they were.
class RunProgress : public Progress {
public:
    RunProgress(QWidget* parent, const QString& label);
    ~RunProgress() override;
    void setPosition(int percent) override;
    bool cancelled() const override;

private:
    BusyCursor busy_;
    QProgressDialog* dialog_;
};

// Where a dialog's runs report progress: a RunProgress unless another maker is set (tests
// record the positions this way).
class ProgressSource {
public:
    using Maker = std::function<std::unique_ptr<Progress>(QWidget* parent, const QString& label)>;
    void setProgressMaker(Maker maker) { maker_ = std::move(maker); }

protected:
    std::unique_ptr<Progress> makeProgress(QWidget* parent, const QString& label) const;

private:
    Maker maker_;
};

// Progress on a progress bar of the dialog itself.
class BarProgress : public Progress {
public:
    explicit BarProgress(QProgressBar* bar) : bar_(bar) {}
    void setPosition(int percent) override;

private:
    QProgressBar* bar_;
};

// A dialog's own bar and the run's progress (with its "Cancel") moving together; cancelled
// when the run's progress is. Passes a position on only when it moves.
class BarAndRunProgress : public Progress {
public:
    BarAndRunProgress(QProgressBar* bar, Progress& run) : bar_(bar), run_(run) {}
    void setPosition(int percent) override;
    bool cancelled() const override { return run_.cancelled(); }

private:
    BarProgress bar_;
    Progress& run_;
    int last_ = -1;
};

}  // namespace qav
