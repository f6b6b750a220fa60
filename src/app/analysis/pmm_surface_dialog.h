#pragma once
// "Gen PMM Surface": runs the six P-M curves of the surface, lists them, and shows the wire
// model in a 3-D view that the mouse turns, pans and zooms.
//
// The scale fields multiply the view along each axis and "Auto Scale 3 Dimension" applies the
// automatic stretch (every axis drawn as long as the longest); without it the axes keep their
// kN and kNm proportions. "PMM Load Comb" shows the load combinations as points. All three
// take effect at the next "Draw".
#include <QDialog>

#include "app/analysis/analysis_widgets.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace qav {

class AppContext;
class PmmSurfaceView;
struct PmmViewState;

class PmmSurfaceDialog : public QDialog, public ProgressSource {
    Q_OBJECT
public:
    PmmSurfaceDialog(AppContext& ctx, QWidget* parent);

    PmmSurfaceView* view() const { return view_; }

    void run();
    void draw();
    void saveImage();
    void saveText();

protected:
    void wheelEvent(QWheelEvent* e) override;

private:
    void viewButton(void (*operation)(PmmViewState&));
    AppContext& ctx_;
    PmmSurfaceView* view_;
    QLineEdit *Edit1, *Edit2, *Edit3;
    QCheckBox *CheckBox1, *CheckBox2;
    QPlainTextEdit* Memo1;
};

// Creates the dialog; the PMM surface tool button shows it.
void installPmmSurfaceCommands(AppContext& ctx);

}  // namespace qav
