// Control identities, trackbar notification codes and the other small pieces the dialogs share.
#pragma once

#include <QAbstractSlider>
#include <QString>
#include <QWidget>
#include <string>

namespace orvanel::app {

// Command identities shared by buttons and menu items.
inline constexpr int kIdOk = 1;  // Speak/Stop in the main window, OK elsewhere
inline constexpr int kIdCancel = 2;
inline constexpr int kIdAbout = 16;
inline constexpr int kIdText = 1000;
inline constexpr int kIdClearText = 1001;
inline constexpr int kIdPreprocess = 1002;
inline constexpr int kIdExamples = 1003;
inline constexpr int kIdLevelSlider = 1004;
inline constexpr int kIdLevelLabel = 1005;
inline constexpr int kIdSpeedSlider = 1006;
inline constexpr int kIdPitchSlider = 1007;
inline constexpr int kIdThreadPriority = 32771;
inline constexpr int kIdHighPriority = 32779;
inline constexpr int kIdDefaultParameters = 32780;
inline constexpr int kIdHelp = 57670;

// Help contexts: 131072 plus the dialog's template number.
inline constexpr int kHelpContextBase = 131072;
inline constexpr int kMainTemplate = 102;
inline constexpr int kPriorityTemplate = 130;
inline constexpr int kAboutTemplate = 100;

inline constexpr char kControlIdProperty[] = "controlId";
inline constexpr char kCommandIdProperty[] = "commandId";
inline constexpr char kHelpContextProperty[] = "helpContext";

// Tags a widget with its control identity (also its object name, "control<ID>").
void SetControlId(QWidget* widget, int id);
// The child of root with the given control identity, or nullptr.
QWidget* FindControl(const QWidget* root, int id);

// Trackbar notification codes.
enum TrackbarCode : int {
  kLineUp = 0,
  kLineDown = 1,
  kPageUp = 2,
  kPageDown = 3,
  kThumbPosition = 4,
  kThumbTrack = 5,
  kTop = 6,
  kBottom = 7,
  kEndTrack = 8,
  kNoCode = -1,
};
// The notification code of a slider action on a slider whose 0 is at the top.
int TrackbarCodeOf(int sliderAction);
// Line, page and drag steps act; position reports, top, bottom and end of scroll do not.
bool IsActingCode(int code);
// Applies a vertical trackbar's look and defaults: 0 at the top, ticks on the left, line step 1,
// page step a fifth of the range. tickInterval 0 puts ticks at the two ends only.
void SetUpTrackbar(QAbstractSlider* slider, int minimum, int maximum, bool tickEveryPosition);

// Windows-1254 text of the engine from and to the toolkit's text.
std::string ToEngineText(const QString& text);
QString FromEngineText(const std::string& text);

}  // namespace orvanel::app
