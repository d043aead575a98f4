package located.a;
public class Both { }
