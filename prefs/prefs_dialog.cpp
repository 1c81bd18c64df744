#include "prefs/prefs_dialog.h"

#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

#include "prefs/field_selection.h"
#include "ui_prefs_dialog.h"

namespace vornick {

namespace {

QLineEdit* as_field(QWidget* w) {
    return qobject_cast<QLineEdit*>(w);
}

QCheckBox* as_box(QWidget* w) {
    return qobject_cast<QCheckBox*>(w);
}

TextSelection selection_of(const QLineEdit& field) {
    if (!field.hasSelectedText()) return {field.cursorPosition(), field.cursorPosition()};
    return {field.selectionStart(), field.selectionEnd()};
}

void select(QLineEdit& field, TextSelection s) {
    if (s.start == s.end) {
        field.setCursorPosition(s.start);
    } else {
        field.setSelection(s.start, s.end - s.start);
    }
}

}  // namespace

PrefsDialog::PrefsDialog(Sim& sim, std::function<void()> on_help)
    : sim_(sim), on_help_(std::move(on_help)), ui_(std::make_unique<Ui::PrefsDialog>()) {
    ui_->setupUi(this);
    controls_ = {
        {kMaxItersField, ui_->maxItersField},   {kStopPtBox, ui_->stopPtBox},
        {kStopPtArea, ui_->stopPtArea},         {kStopItersField, ui_->stopItersField},
        {kSlowField, ui_->slowField},           {kFastField, ui_->fastField},
        {kTurboField, ui_->turboField},         {kNumOrgsField, ui_->numOrgsField},
        {kRandNumOrgsBox, ui_->randNumOrgsBox}, {kRerunSavedBox, ui_->rerunSavedBox},
        {kRandomizeBox, ui_->randomizeBox},     {kHelpButton, ui_->helpButton},
        {kDefaultsButton, ui_->defaultsButton}, {kRevertButton, ui_->revertButton},
        {kApplyButton, ui_->applyButton},       {kOkButton, ui_->okButton},
    };
    for (const auto& [number, widget] : controls_) {
        auto* button = qobject_cast<QAbstractButton*>(widget);
        if (!button) continue;
        const PrefsControl n = number;
        connect(button, &QAbstractButton::clicked, this, [this, n] { control_hit(n); });
        if (qobject_cast<QPushButton*>(button)) button->installEventFilter(this);
    }
}

PrefsDialog::~PrefsDialog() = default;

QWidget* PrefsDialog::control(PrefsControl number) const {
    for (const auto& [n, widget] : controls_) {
        if (n == number) return widget;
    }
    return nullptr;
}

void PrefsDialog::HandlePrefsDialog() {
    SetPrefsDialogVals(false);
    show();
    raise();
    // Without a window manager nothing else gives a newly shown window the keyboard.
    activateWindow();
    if (!opened_) {
        opened_ = true;
        QLineEdit* first = as_field(control(kMaxItersField));
        first->setFocus(Qt::OtherFocusReason);
        first->selectAll();
    }
}

void PrefsDialog::SetPrefsDialogVals(bool useDefaults) {
    // focusWidget, not the application's focus: the dialog may be hidden or behind another window.
    QLineEdit* focused = as_field(focusWidget());
    const int old_length = focused ? static_cast<int>(focused->text().size()) : 0;
    const TextSelection old = focused ? selection_of(*focused) : TextSelection{0, 0};

    const PrefsForm form = fill_prefs_form(sim_.prefs, useDefaults);
    for (const FillStep& step : kFillOrder) {
        QWidget* w = control(step.control);
        if (step.text) {
            as_field(w)->setText(QString::fromStdString(form.*step.text));
        } else if (step.mark) {
            as_box(w)->setChecked(form.*step.mark);
        } else {
            w->setEnabled(form.setStopPt);
        }
    }

    if (focused) {
        select(*focused,
               refill_selection(old_length, old, static_cast<int>(focused->text().size())));
    }
}

void PrefsDialog::control_hit(PrefsControl number) {
    switch (number) {
        case kStopPtBox:
            control(kStopPtArea)->setEnabled(as_box(control(kStopPtBox))->isChecked());
            break;
        case kHelpButton:
            if (on_help_) on_help_();
            break;
        case kDefaultsButton:
            SetPrefsDialogVals(true);
            break;
        case kRevertButton:
            SetPrefsDialogVals(false);
            break;
        default:
            break;
    }
    if (number == kApplyButton || number == kOkButton) apply_prefs_form(shown_form(), sim_);
    if (number == kOkButton) accept();
}

PrefsForm PrefsDialog::shown_form() const {
    PrefsForm form;
    for (const FillStep& step : kFillOrder) {
        QWidget* w = control(step.control);
        if (step.text) form.*step.text = as_field(w)->text().toStdString();
        if (step.mark) form.*step.mark = as_box(w)->isChecked();
    }
    return form;
}

// A mnemonic presses its button without taking the caret out of the field being edited, so a
// refill can keep the field's selection.
bool PrefsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Shortcut) {
        static_cast<QAbstractButton*>(watched)->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace vornick
