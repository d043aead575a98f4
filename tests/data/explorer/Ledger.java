package accounts;

import java.io.IOException;
import java.util.ArrayList;
import java.util.List;

public class Ledger {
    private final List<Integer> entries = new ArrayList<>();
    private int total;

    public Ledger() {
        total = 0;
    }

    public Ledger(int opening) {
        total = opening;
        entries.add(opening);
    }

    public void post(int amount) {
        synchronized (entries) {
            entries.add(amount);
        }
        total += amount;
    }

    public int balance() {
        return total;
    }

    int largest() {
        int best = 0;
        for (int value : entries) {
            if (value > best) {
                best = value;
            }
        }
        return best;
    }

    void save(String name) throws IOException {
        try {
            write(name);
        } catch (IOException e) {
            throw e;
        }
    }

    private void write(String name) throws IOException {
    }
}
