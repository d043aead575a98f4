#include <cmath>

namespace geometry {

class Shape {
  public:
    Shape();
    virtual ~Shape();
    virtual double area() const = 0;
};

Shape::Shape() {
}

Shape::~Shape() {
}

class Circle : public Shape {
  public:
    explicit Circle(double r) : radius(r) {}
    double area() const { return 3.14159 * radius * radius; }

  private:
    double radius;
};

}  // namespace geometry

static int count_sides(int kind)
{
    int sides = 0;
    switch (kind) {
        case 1:
            sides = 3;
            break;
        default:
            sides = 4;
    }
    return sides;
}

void print_area(const geometry::Shape& shape) {
    if (shape.area() > 10.0) {
        report(shape.area());
    }
}

double scale(double value, double factor) {
    while (factor > 1.0) {
        value *= 2.0;
        factor -= 1.0;
    }
    return value;
}
