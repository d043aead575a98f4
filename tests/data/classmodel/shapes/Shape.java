package geometry;

/** A closed figure. */
public abstract class Shape {
    /** The area enclosed. */
    public abstract double area();
}
