#pragma once
// A 2D affine transform
//   x' = a x + b y + c
//   y' = d x + e y + f
// Products compose so that the right-hand factor acts first: (A * B).Apply(p) ==
// A.Apply(B.Apply(p)).

class g3d_XForm {
 public:
  struct Point {
    double x;
    double y;
  };

  // The identity.
  g3d_XForm() = default;
  g3d_XForm(double a, double b, double c, double d, double e, double f)
      : a_(a), b_(b), c_(c), d_(d), e_(e), f_(f) {}

  static g3d_XForm Identity() { return g3d_XForm(); }
  static g3d_XForm Translation(double tx, double ty) { return g3d_XForm(1, 0, tx, 0, 1, ty); }
  static g3d_XForm Scale(double sx, double sy) { return g3d_XForm(sx, 0, 0, 0, sy, 0); }
  // Counter-clockwise by `degrees` about the origin; multiples of 90 degrees are exact.
  static g3d_XForm Rotation(double degrees);

  g3d_XForm operator*(const g3d_XForm& right) const;
  g3d_XForm& operator*=(const g3d_XForm& right) { return *this = *this * right; }
  bool operator==(const g3d_XForm& o) const = default;

  Point Apply(double x, double y) const { return {a_ * x + b_ * y + c_, d_ * x + e_ * y + f_}; }
  Point Apply(Point p) const { return Apply(p.x, p.y); }
  // Applies the linear part only (directions and lengths, without the translation).
  Point ApplyLinear(double x, double y) const { return {a_ * x + b_ * y, d_ * x + e_ * y}; }

  double A() const { return a_; }
  double B() const { return b_; }
  double C() const { return c_; }
  double D() const { return d_; }
  double E() const { return e_; }
  double F() const { return f_; }
  // Determinant of the linear part: the factor by which areas scale (negative when mirrored).
  double Determinant() const { return a_ * e_ - b_ * d_; }
  bool IsFinite() const;

 private:
  double a_ = 1, b_ = 0, c_ = 0;
  double d_ = 0, e_ = 1, f_ = 0;
};
