#include "app/animation_dialog.h"

#include <QPushButton>
#include <QSpinBox>
#include <algorithm>
#include <climits>

#include "picture/board_picture.h"
#include "ui_animation_dialog.h"

namespace vornick {

namespace {

constexpr int kDefaultFrames = 100;

}  // namespace

AnimationDialog::AnimationDialog(std::function<void(const AnimationPlan&)> on_plan, QWidget* parent)
    : QDialog(parent), on_plan_(std::move(on_plan)), ui_(std::make_unique<Ui::AnimationDialog>()) {
    ui_->setupUi(this);
    setWindowModality(Qt::WindowModal);
    ui_->firstStep->setRange(0, INT_MAX);
    ui_->lastStep->setRange(0, INT_MAX);
    ui_->frames->setRange(1, INT_MAX);
    ui_->every->setRange(1, INT_MAX);
    ui_->every->setValue(1);
    ui_->delay->setRange(1, kMaxFrameDelay);
    ui_->delay->setValue(kDefaultFrameDelay);
    ui_->scale->setRange(kMinPictureScale, kMaxPictureScale);
    connect(ui_->buttons, &QDialogButtonBox::accepted, this, &AnimationDialog::accept);
    connect(ui_->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QSpinBox* box :
         {ui_->firstStep, ui_->lastStep, ui_->frames, ui_->every, ui_->delay, ui_->scale}) {
        connect(box, &QSpinBox::valueChanged, this, [this] { update_summary(); });
    }
    connect(ui_->byLastStep, &QRadioButton::toggled, this, [this](bool by_last) {
        ui_->lastStep->setEnabled(by_last);
        ui_->frames->setEnabled(!by_last);
        update_summary();
    });
    ui_->frames->setEnabled(false);
}

AnimationDialog::~AnimationDialog() = default;

void AnimationDialog::open_with(int32_t iters, int32_t max_iters, int zoom) {
    max_iters_ = std::max(max_iters, 0);
    const int32_t first = std::clamp(iters, 0, max_iters_);
    const int32_t frames =
        static_cast<int32_t>(std::min<int64_t>(kDefaultFrames, int64_t{max_iters_} - first + 1));
    ui_->firstStep->setValue(first);
    ui_->frames->setValue(frames);
    ui_->lastStep->setValue(first + frames - 1);
    ui_->byFrames->setChecked(true);
    ui_->scale->setValue(zoom);
    update_summary();
    ui_->firstStep->setFocus();
    ui_->firstStep->selectAll();
    open();
}

AnimationPlan AnimationDialog::plan() const {
    AnimationPlan p;
    p.first = ui_->firstStep->value();
    p.every = ui_->every->value();
    p.scale = ui_->scale->value();
    p.delay = ui_->delay->value();
    p.caption = ui_->caption->isChecked();
    if (ui_->byLastStep->isChecked()) {
        p.last = ui_->lastStep->value();
    } else {
        // Frames past any step a run can have are refused by fault().
        p.last = last_step_of(p.first, p.every, ui_->frames->value()).value_or(INT_MAX);
    }
    return p;
}

QString AnimationDialog::fault() const {
    if (ui_->byFrames->isChecked() &&
        !last_step_of(ui_->firstStep->value(), ui_->every->value(), ui_->frames->value())) {
        return tr("So many frames go past the run's end at step %1.").arg(max_iters_);
    }
    const std::string why = plan_fault(plan(), max_iters_);
    if (why.empty()) return QString();
    QString text = QString::fromStdString(why);
    text[0] = text[0].toUpper();
    return text + QLatin1Char('.');
}

void AnimationDialog::update_summary() {
    const QString why = fault();
    const AnimationPlan p = plan();
    if (why.isEmpty()) {
        const int64_t n = frame_count(p);
        ui_->summary->setText(
            n == 1
                ? tr("1 frame, of step %1.").arg(p.first)
                : tr("%1 frames, of steps %2 to %3.").arg(n).arg(p.first).arg(last_frame_step(p)));
    } else {
        ui_->summary->setText(why);
    }
    ui_->buttons->button(QDialogButtonBox::Ok)->setEnabled(why.isEmpty());
}

void AnimationDialog::accept() {
    if (!fault().isEmpty()) return;
    const AnimationPlan p = plan();
    QDialog::accept();
    if (on_plan_) on_plan_(p);
}

}  // namespace vornick
