package pkg;

public class A extends B implements Shape, Comparable<A> {
    public double area() {
        return 1.0;
    }

    public int compareTo(A other) {
        return 0;
    }
}
