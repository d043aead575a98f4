package located.b.sub;
public class Deep { }
