// Dialog units: the font-relative measure in which every dialog's layout is given.
#pragma once

#include <QFont>
#include <QRect>

namespace orvanel::app {

// The dialogs' font: an 8-point sans serif, the size the layouts were drawn for.
QFont DialogFont();

// Horizontal units are a quarter of the font's average character width, vertical units an eighth
// of its character height, so a dialog keeps its proportions at any font size and resolution.
class DialogUnits {
 public:
  DialogUnits(int baseX, int baseY) : baseX_(baseX), baseY_(baseY) {}
  // Average width of "A".."Z" and "a".."z", rounded, and the line height of the font.
  static DialogUnits FromFont(const QFont& font);

  int BaseX() const { return baseX_; }
  int BaseY() const { return baseY_; }
  int ToPixelsX(int units) const;
  int ToPixelsY(int units) const;
  // (x, y, width, height) in dialog units to pixels; each value is converted on its own.
  QRect ToPixels(int x, int y, int width, int height) const;

 private:
  int baseX_;
  int baseY_;
};

// a * b / c rounded to the nearest integer, halves away from zero; 0 when c is 0.
int MulDiv(int a, int b, int c);

}  // namespace orvanel::app
