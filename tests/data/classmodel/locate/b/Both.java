package located.b;
public class Both { }
