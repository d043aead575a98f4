// Compiled for Java 8, so that the inner class reaches the private field through the
// synthetic accessor access$000 and holds its outer instance in the synthetic field this$0.
public class Outer {
    private int secret;

    class Inner {
        int peek() {
            return secret;
        }
    }
}
