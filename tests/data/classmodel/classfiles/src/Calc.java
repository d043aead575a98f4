// A class without a package: a constructor, a static initialiser, primitive and array types,
// members of every visibility.
public class Calc {
    String[][] grid;
    protected static final long serialVersionUID = 1L;
    private double[] values;
    static int instances = Integer.getInteger("calc", 0);

    public Calc() {}

    public int add(int a, int b) {
        return a + b;
    }

    void clear() {}

    private static Calc make(java.util.List<String> names, boolean[][] flags, char c) {
        return null;
    }
}
