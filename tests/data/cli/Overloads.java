public class Overloads {
    int size(int[] a) {
        return a.length;
    }

    int size(String s) {
        if (s == null) {
            return 0;
        }
        return s.length();
    }

    static class Inner {
        int width() {
            return 1;
        }
    }
}
