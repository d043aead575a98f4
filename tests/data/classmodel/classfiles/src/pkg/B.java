package pkg;

public abstract class B {
    protected String name;

    public abstract double area();
}
