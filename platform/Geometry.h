// Points, sizes and rectangles in points, as the platform's geometry types hold them
// (CGPoint, CGSize, CGRect: four 64-bit floats).
#pragma once

namespace vantor::platform {

struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    double width = 0;
    double height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    Point origin;
    Size size;
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace vantor::platform
