#include "app/controls.h"

#include <QKeyEvent>
#include <QSlider>

#include "codepage/codepage.h"

namespace orvanel::app {

void SetControlId(QWidget* widget, int id) {
  widget->setProperty(kControlIdProperty, id);
  widget->setObjectName(QStringLiteral("control%1").arg(id));
}

QWidget* FindControl(const QWidget* root, int id) {
  const auto children = root->findChildren<QWidget*>();
  for (QWidget* child : children) {
    const QVariant value = child->property(kControlIdProperty);
    if (value.isValid() && value.toInt() == id) return child;
  }
  return nullptr;
}

int TrackbarCodeOf(int sliderAction) {
  switch (sliderAction) {
    case QAbstractSlider::SliderSingleStepSub:
      return kLineUp;
    case QAbstractSlider::SliderSingleStepAdd:
      return kLineDown;
    case QAbstractSlider::SliderPageStepSub:
      return kPageUp;
    case QAbstractSlider::SliderPageStepAdd:
      return kPageDown;
    case QAbstractSlider::SliderMove:
      return kThumbTrack;
    case QAbstractSlider::SliderToMinimum:
      return kTop;
    case QAbstractSlider::SliderToMaximum:
      return kBottom;
    default:
      return kNoCode;
  }
}

bool IsActingCode(int code) {
  return code == kLineUp || code == kLineDown || code == kPageUp || code == kPageDown ||
         code == kThumbTrack;
}

namespace {

// A vertical trackbar takes Left like Up (a line towards the top) and Right like Down. Qt's
// inverted controls, which put Up the right way round, turn Left and Right the wrong way, so
// those two keys are given the line steps here.
class TrackbarKeys final : public QObject {
 public:
  explicit TrackbarKeys(QAbstractSlider* slider) : QObject(slider), slider_(slider) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != slider_ || event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    if (key->key() == Qt::Key_Left) {
      slider_->triggerAction(QAbstractSlider::SliderSingleStepSub);
      return true;
    }
    if (key->key() == Qt::Key_Right) {
      slider_->triggerAction(QAbstractSlider::SliderSingleStepAdd);
      return true;
    }
    return false;
  }

 private:
  QAbstractSlider* slider_;
};

}  // namespace

void SetUpTrackbar(QAbstractSlider* slider, int minimum, int maximum, bool tickEveryPosition) {
  slider->setOrientation(Qt::Vertical);
  slider->setInvertedAppearance(true);
  slider->setInvertedControls(true);
  slider->setRange(minimum, maximum);
  slider->setSingleStep(1);
  slider->setPageStep((maximum - minimum) / 5 > 0 ? (maximum - minimum) / 5 : 1);
  slider->setFocusPolicy(Qt::StrongFocus);
  slider->installEventFilter(new TrackbarKeys(slider));
  if (auto* qslider = qobject_cast<QSlider*>(slider)) {
    qslider->setTickPosition(QSlider::TicksLeft);
    qslider->setTickInterval(tickEveryPosition ? 1 : maximum - minimum);
  }
}

std::string ToEngineText(const QString& text) {
  std::string out;
  codepage::DecodeError error;
  if (!codepage::Utf8ToCp1254(text.toStdString(), out, error)) out.clear();
  return out;
}

QString FromEngineText(const std::string& text) {
  return QString::fromStdString(codepage::Cp1254ToUtf8(text));
}

}  // namespace orvanel::app
