package sample;

/**
 * A growable array of integers, small enough to read in one sitting and
 * busy enough to make an interesting flowchart.
 */
public class Array {
    private int[] items = new int[4];
    private int size = 0;

    public void add(int value) {
        if (size == items.length) {
            items = java.util.Arrays.copyOf(items, size * 2);
        }
        items[size++] = value;
    }

    public int indexOfLargestEven() {
        int best = -1;
        for (int i = 0; i < size; i++) {
            if (items[i] % 2 != 0) {
                continue;
            }
            if (best < 0 || items[i] > items[best]) {
                best = i;
            }
        }
        switch (best) {
        case -1:
            System.out.println("no even value");
            break;
        default:
            System.out.println("largest even value at " + best);
        }
        do {
            size--;
        } while (size > 0 && items[size - 1] == 0);
        return best;
    }
}
