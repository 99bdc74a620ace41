// Dialog units, help file naming, trackbar codes, priority rows and the code-page edge.
#include <QApplication>
#include <QSlider>
#include <QtTest>

#include "app/controls.h"
#include "app/dialog_units.h"
#include "app/help_controller.h"
#include "app/priority_dialog.h"

using namespace orvanel::app;

class PiecesTest : public QObject {
  Q_OBJECT
 private slots:
  void mulDivRoundsHalvesAwayFromZero() {
    QCOMPARE(MulDiv(301, 7, 4), 527);   // 526.75
    QCOMPARE(MulDiv(178, 13, 8), 289);  // 289.25
    QCOMPARE(MulDiv(2, 3, 4), 2);       // 1.5
    QCOMPARE(MulDiv(1, 1, 4), 0);       // 0.25
    QCOMPARE(MulDiv(-2, 3, 4), -2);     // -1.5
    QCOMPARE(MulDiv(5, 5, 0), 0);
  }

  void dialogUnitsConvertEachValueOnItsOwn() {
    const DialogUnits du(7, 13);
    QCOMPARE(du.ToPixels(7, 20, 217, 151), QRect(12, 33, 380, 245));
    QCOMPARE(du.ToPixelsX(301), 527);
    QCOMPARE(du.ToPixelsY(178), 289);
  }

  void dialogUnitsFollowTheFont() {
    QFont small = DialogFont();
    QFont large = DialogFont();
    large.setPointSize(16);
    const DialogUnits a = DialogUnits::FromFont(small);
    const DialogUnits b = DialogUnits::FromFont(large);
    QVERIFY(a.BaseX() > 0);
    QVERIFY(a.BaseY() > 0);
    QVERIFY(b.BaseX() > a.BaseX());
    QVERIFY(b.BaseY() > a.BaseY());
    const QFontMetrics metrics(small);
    QCOMPARE(a.BaseY(), metrics.height());
    const int advance = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    QCOMPARE(a.BaseX(), (advance / 26 + 1) / 2);
  }

  void helpFileReplacesTheExtension() {
    QCOMPARE(HelpFilePathFor(QStringLiteral("/usr/bin/orvanel")),
             QStringLiteral("/usr/bin/orvanel.HLP"));
    QCOMPARE(HelpFilePathFor(QStringLiteral("/opt/x/Orvanel.EXE")),
             QStringLiteral("/opt/x/Orvanel.HLP"));
    QCOMPARE(HelpFilePathFor(QStringLiteral("/opt/x/orvanel.bin.old")),
             QStringLiteral("/opt/x/orvanel.bin.HLP"));
    // A full stop in a folder name is not an extension.
    QCOMPARE(HelpFilePathFor(QStringLiteral("/opt/orvanel-2.3/bin/orvanel")),
             QStringLiteral("/opt/orvanel-2.3/bin/orvanel.HLP"));
    QCOMPARE(HelpFilePathFor(QStringLiteral("orvanel")), QStringLiteral("orvanel.HLP"));
  }

  void programNameDropsFolderAndExtension() {
    QCOMPARE(ProgramNameFor(QStringLiteral("/usr/bin/orvanel")), QStringLiteral("orvanel"));
    QCOMPARE(ProgramNameFor(QStringLiteral("/opt/x/Orvanel.EXE")), QStringLiteral("Orvanel"));
    QCOMPARE(ProgramNameFor(QStringLiteral("/opt/v2.3/orvanel")), QStringLiteral("orvanel"));
  }

  void sliderActionsMapToTrackbarCodes() {
    QCOMPARE(TrackbarCodeOf(QAbstractSlider::SliderSingleStepSub), 0);
    QCOMPARE(TrackbarCodeOf(QAbstractSlider::SliderSingleStepAdd), 1);
    QCOMPARE(TrackbarCodeOf(QAbstractSlider::SliderPageStepSub), 2);
    QCOMPARE(TrackbarCodeOf(QAbstractSlider::SliderPageStepAdd), 3);
    QCOMPARE(TrackbarCodeOf(QAbstractSlider::SliderMove), 5);
    QCOMPARE(TrackbarCodeOf(QAbstractSlider::SliderToMinimum), 6);
    QCOMPARE(TrackbarCodeOf(QAbstractSlider::SliderToMaximum), 7);
    QCOMPARE(TrackbarCodeOf(QAbstractSlider::SliderNoAction), -1);
    for (int code : {0, 1, 2, 3, 5}) QVERIFY(IsActingCode(code));
    for (int code : {-1, 4, 6, 7, 8}) QVERIFY(!IsActingCode(code));
  }

  void trackbarDefaults() {
    QSlider wide;
    SetUpTrackbar(&wide, 0, 99, false);
    QCOMPARE(wide.singleStep(), 1);
    QCOMPARE(wide.pageStep(), 19);
    QCOMPARE(wide.tickPosition(), QSlider::TicksLeft);
    QCOMPARE(wide.tickInterval(), 99);
    QVERIFY(wide.invertedAppearance());
    QVERIFY(wide.invertedControls());
    QSlider narrow;
    SetUpTrackbar(&narrow, 0, 5, true);
    QCOMPARE(narrow.pageStep(), 1);
    QCOMPARE(narrow.tickInterval(), 1);
  }

  void upKeyMovesTheThumbTowardsTheTop() {
    QSlider slider;
    SetUpTrackbar(&slider, 0, 99, false);
    slider.setValue(50);
    QList<int> actions;
    connect(&slider, &QSlider::actionTriggered, this, [&](int a) { actions << a; });
    QTest::keyClick(&slider, Qt::Key_Up);
    QCOMPARE(slider.value(), 49);
    QTest::keyClick(&slider, Qt::Key_PageDown);
    QCOMPARE(slider.value(), 68);
    QTest::keyClick(&slider, Qt::Key_Home);
    QCOMPARE(slider.value(), 0);
    QTest::keyClick(&slider, Qt::Key_End);
    QCOMPARE(slider.value(), 99);
    QCOMPARE(actions,
             (QList<int>{QAbstractSlider::SliderSingleStepSub, QAbstractSlider::SliderPageStepAdd,
                         QAbstractSlider::SliderToMinimum, QAbstractSlider::SliderToMaximum}));
  }

  void levelIndexOfFallsBackToLowest() {
    QCOMPARE(LevelIndexOf(-2), 0);
    QCOMPARE(LevelIndexOf(0), 2);
    QCOMPARE(LevelIndexOf(2), 4);
    QCOMPARE(LevelIndexOf(15), 5);
    QCOMPARE(LevelIndexOf(3), 0);
    QCOMPARE(LevelIndexOf(-15), 0);
  }

  void engineTextCrossesTheEdge() {
    // ğ ı ş İ in Windows-1254, and a line break as carriage return + line feed.
    const std::string engineText = ToEngineText(QString::fromUtf8("ağı\nşİ"));
    QCOMPARE(QByteArray::fromStdString(engineText), QByteArray("a\xF0\xFD\r\n\xFE\xDD"));
    QCOMPARE(FromEngineText(engineText), QString::fromUtf8("ağı\nşİ"));
  }
};

QTEST_MAIN(PiecesTest)
#include "pieces_test.moc"
