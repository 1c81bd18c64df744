// The preferences dialog: a modeless window made once and hidden when closed, showing the
// settings in force at each opening and applying the acceptable edits to the running core.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "prefs/prefs_form.h"
#include "sim/sim.h"

namespace Ui {
class PrefsDialog;
}

namespace vornick {

class PrefsDialog : public QDialog {
  public:
    // `on_help` opens the help window; the dialog reports its closing through `finished`.
    PrefsDialog(Sim& sim, std::function<void()> on_help);
    ~PrefsDialog() override;

    // Fills and shows the dialog. The first opening puts the caret in the run length with its
    // text selected; later ones leave the focus where it was and bring the window to the front.
    void HandlePrefsDialog();

    // Shows the values in force, or the defaults; never changes a setting.
    void SetPrefsDialogVals(bool useDefaults);

    QWidget* control(PrefsControl number) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void control_hit(PrefsControl number);
    PrefsForm shown_form() const;

    Sim& sim_;
    std::function<void()> on_help_;
    std::unique_ptr<Ui::PrefsDialog> ui_;
    std::vector<std::pair<PrefsControl, QWidget*>> controls_;
    bool opened_ = false;
};

}  // namespace vornick
