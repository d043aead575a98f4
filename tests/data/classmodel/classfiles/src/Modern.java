// Constants of the later class-file versions: a lambda and a string concatenation call sites
// with bootstrap methods (method handles, invokedynamic). Names outside ASCII take two and
// three bytes of modified UTF-8.
public class Modern {
    int café;
    long price€;
    Runnable task = () -> {};

    String greet(String who) {
        return "hello " + who + café;
    }
}
